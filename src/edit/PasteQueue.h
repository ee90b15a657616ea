// Pasted lines on their way to the host, one at a time: a line goes when the
// host's DC1 has come since the previous line, or one second after it. The
// queue never waits in a loop: the receive timer calls Pump, and the user can
// see what is left and cancel it.
#pragma once

#include "base/Clock.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kalvor::edit {

class PasteQueue {
public:
    static constexpr std::int64_t kLineWaitMs = 1000;
    // Sends one line to the host (XmitString with the line-feed request, and
    // its local echo).
    using Sender = std::function<void(const std::string& line)>;

    PasteQueue(const Clock& clock, Sender send) : clock_(clock), send_(std::move(send)) {}

    // Lines queued behind what is left; the first goes at once when the host
    // is ready.
    void Add(std::vector<std::string> lines, std::uint64_t hostDc1Count);
    // Sends what may go now; `hostDc1Count` counts the host's DC1s so far.
    void Pump(std::uint64_t hostDc1Count);
    void Cancel() { lines_.clear(); }
    bool Empty() const { return lines_.empty(); }
    std::size_t Waiting() const { return lines_.size(); }

private:
    const Clock& clock_;
    Sender send_;
    std::deque<std::string> lines_;
    // The host is taken as ready: at first, and after a last piece without CR.
    bool hostReady_ = true;
    std::uint64_t dc1AtSend_ = 0;
    std::int64_t sentAtMs_ = 0;
};

} // namespace kalvor::edit
