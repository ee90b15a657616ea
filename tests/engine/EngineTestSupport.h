// Helpers shared by the engine tests: run strings written as lists of codes
// and attribute letters, a readable form for failure messages, and a
// TerminalHooks fake that records every call.
#pragma once

#include "engine/TerminalHooks.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::test {

// Runs({10, ' ', 10, 'B', 0}) is the run string header 10, (" ", 10), ("B", 0).
inline std::string Runs(std::initializer_list<int> codes)
{
    std::string s;
    for (int c : codes)
        s.push_back(static_cast<char>(c));
    return s;
}

// "10 ' ' 10 'B' 0": lengths as numbers, attribute letters quoted. Used so
// that a failing comparison prints something readable.
inline std::string Show(std::string_view runs)
{
    if (runs.empty())
        return "<empty>";
    std::string out = std::to_string(static_cast<std::uint8_t>(runs[0]));
    for (std::size_t i = 1; i < runs.size(); ++i) {
        out += ' ';
        if (i % 2 == 1) {
            out += '\'';
            out += runs[i];
            out += '\'';
        } else {
            out += std::to_string(static_cast<std::uint8_t>(runs[i]));
        }
    }
    return out;
}

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
