#include "edit/PasteQueue.h"

namespace kalvor::edit {

void PasteQueue::Add(std::vector<std::string> lines, std::uint64_t hostDc1Count)
{
    for (std::string& l : lines)
        lines_.push_back(std::move(l));
    Pump(hostDc1Count);
}

void PasteQueue::Pump(std::uint64_t hostDc1Count)
{
    while (!lines_.empty()) {
        const bool dc1 = hostDc1Count != dc1AtSend_;
        if (!hostReady_ && !dc1 && clock_.NowMs() - sentAtMs_ < kLineWaitMs)
            return;
        const std::string line = std::move(lines_.front());
        lines_.pop_front();
        // A line ending in CR waits for the host's answer; a last piece
        // without one leaves the host ready for what follows.
        hostReady_ = line.empty() || line.back() != '\r';
        dc1AtSend_ = hostDc1Count;
        sentAtMs_ = clock_.NowMs();
        send_(line);
    }
}

} // namespace kalvor::edit
