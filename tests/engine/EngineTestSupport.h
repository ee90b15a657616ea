// Helpers shared by the engine tests: run strings (Runs.h) and a
// TerminalHooks fake that records the text logs.
#pragma once

#include "Runs.h"

#include "engine/TerminalHooks.h"

#include <string>
#include <string_view>

namespace kalvor::test {

class RecordingHooks : public TerminalHooks {
public:
    std::string Logged;
    std::string EscapeLogged;

    void LogText(std::string_view text) override { Logged.append(text); }
    void EscapeLog(std::string_view text) override { EscapeLogged.append(text); }
};

} // namespace kalvor::test
