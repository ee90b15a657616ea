// A communications trace that records its lines.
#pragma once

#include "base/TraceSink.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvor::test {

class FakeTrace final : public TraceSink {
public:
    bool On = true;
    std::vector<std::pair<std::string, std::string>> Lines;

    bool Tracing() const override { return On; }
    void LogTrace(std::string_view label, std::string_view data) override { Lines.emplace_back(label, data); }
};

} // namespace kalvor::test
