// Collects the error windows an error report is asked to show, instead of
// showing them.
#pragma once

#include "logging/ErrorReport.h"

#include <vector>

namespace kalvor::test {

struct ShownErrors final : logging::ErrorDisplay {
    std::vector<logging::ErrorWindow> Windows;

    void Attach(logging::ErrorReport& report) { report.SetDisplay(this); }
    void ShowWindow(const logging::ErrorWindow& w) override { Windows.push_back(w); }
};

} // namespace kalvor::test
