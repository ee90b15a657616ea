// Collects the error windows an error report is asked to show, instead of
// showing them.
#pragma once

#include "logging/ErrorReport.h"

#include <vector>

namespace kalvor::test {

struct ShownErrors {
    std::vector<logging::ErrorWindow> Windows;

    void Attach(logging::ErrorReport& report)
    {
        report.ShowWindow = [this](const logging::ErrorWindow& w) { Windows.push_back(w); };
    }
};

} // namespace kalvor::test
