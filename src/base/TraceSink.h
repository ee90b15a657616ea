// The communications trace as the receive pass and the transmit path see it.
#pragma once

#include <string_view>

namespace kalvor {

class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual bool Tracing() const = 0;
    // One trace line: a label such as "Received:" and the data.
    virtual void LogTrace(std::string_view label, std::string_view data) = 0;
};

} // namespace kalvor
