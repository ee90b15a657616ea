// Helpers shared by the engine tests: run strings (Runs.h) and a
// TerminalHooks fake that records every call.
#pragma once

#include "Runs.h"

#include "engine/TerminalHooks.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalvor::test {

class RecordingHooks : public TerminalHooks {
public:
    struct Sent {
        std::string Text;
        bool LineFeedRequest;
    };

    std::vector<Sent> Transmitted;
    int Bells = 0;
    int Dc1s = 0;
    std::string Logged;
    std::string Recorded;
    std::string EscapeLogged;
    int Repaints = 0;

    void Transmit(std::string_view text, bool lineFeedRequest) override
    {
        Transmitted.push_back({std::string(text), lineFeedRequest});
    }
    void Bell() override { ++Bells; }
    void HostDc1() override { ++Dc1s; }
    void LogText(std::string_view text) override { Logged.append(text); }
    void RecordText(std::string_view text) override { Recorded.append(text); }
    void EscapeLog(std::string_view text) override { EscapeLogged.append(text); }
    void Repaint() override { ++Repaints; }
};

} // namespace kalvor::test
