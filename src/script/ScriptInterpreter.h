// The log-on script interpreter. Preparation (at start-up) turns the script
// file into the working script and takes the connect target from its first
// line, which must be ADDR or DIAL. The script step runs at the start of every
// receive pass while connected and running, and executes commands until one
// has to wait:
//
//   DBUG ON|OFF   switch the communications log on or off
//   WAIT text     wait until the text is in the receive buffer
//   IDLE seconds  pause (0 < seconds < 1000)
//   HEAD text     window caption "text  | Kalvor"
//   LOCL text     shown as if the host had sent it
//   XMIT text     sent with CR once received data has been interpreted
//   EXIT [CANV]   the script ends: the terminal is shown, or the forms mode
//                 is requested
//
// Nothing blocks: a pause is a time on the terminal's clock that later steps
// compare with, and meanwhile the receive pass goes on interpreting host data
// and the window handles its events. A WAIT sees only the data of the current
// receive pass, before it is interpreted: text split across two passes is
// missed and the script keeps waiting. There is no time-out.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/ReceivePass.h"
#include "comms/Transmitter.h"
#include "script/ScriptReader.h"
#include "script/ScriptState.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kalvor::script {

// What the script asks of the program around it. The session implements it.
class ScriptEvents {
public:
    // DBUG: the communications log switch.
    virtual void TraceSwitch(bool on) = 0;
    // HEAD: the main window's caption.
    virtual void Caption(const std::string& caption) = 0;
    // XMIT: the start-up window's status label ("Connecting to " and the target).
    virtual void StartupStatus(const std::string& text) = 0;
    // EXIT: the start-up window's timer (and its animation) stops.
    virtual void StopStartupTimer() = 0;
    // EXIT without "CANV", and the forms-mode hand-off: show the terminal window.
    virtual void DisplayTerminal() = 0;
    // The forms mode is ready for the hand-off.
    virtual bool FormsModeReady() = 0;
    // The Telnet connection is open, the program asked the server DONT ECHO
    // and the server offered no echo suppression: XMIT echoes what it sends.
    virtual bool TelnetLocalEcho() = 0;

protected:
    ~ScriptEvents() = default;
};

class ScriptInterpreter {
public:
    static constexpr std::int64_t kTypingPauseMs = 100; // before LOCL and XMIT
    static constexpr double kIdleLimitSeconds = 1000;

    ScriptInterpreter(ReceivePass& receive, Transmitter& transmitter, const Clock& clock, TraceSink* trace,
                      ScriptEvents& events);

    // Start-up: builds the working script from `source` and reads its first
    // line. True when that line is ADDR or DIAL: the target is set and the
    // script runs. Any other first line abandons the script; a missing
    // source file leaves no script at all.
    [[nodiscard]] bool Prepare(const std::filesystem::path& source);
    // The same in two steps, for a program whose session comes after the
    // preparation: PrepareWorkingScript writes the working script and says
    // whether its first line is ADDR or DIAL; Load then opens it, takes the
    // target and sets the script running.
    [[nodiscard]] static bool PrepareWorkingScript(const std::filesystem::path& source,
                                                   const std::filesystem::path& working);
    [[nodiscard]] bool Load();
    // Where the working script lives (default: "temp/zkscript.txt" under the
    // program folder, taken when Prepare first runs).
    void SetWorkingScript(std::filesystem::path path) { working_ = std::move(path); }
    const std::filesystem::path& WorkingScript() const { return working_; }

    // The script step of the receive pass.
    void Step();
    // The receive pass found its buffer empty: the forms-mode hand-off after
    // a script that ended with "EXIT CANV".
    void IdleStep();

    const ScriptState& State() const { return state_; }
    bool Running() const { return state_.Running; }
    // A pause on the clock is under way (IDLE, or the pause before LOCL or XMIT).
    bool ClockWait() const { return state_.Running && state_.Pending && waitUntil_ >= 0; }

private:
    bool Execute(); // true when the pending command completed
    bool Wait();
    bool Idle();
    bool Local();
    bool Xmit();
    bool Exit();
    bool PauseOver(std::int64_t ms);
    void Trace(std::string_view label, std::string_view data);
    void SetTarget(const ScriptLine& first);

    ReceivePass& rx_;
    Transmitter& tx_;
    const Clock& clock_;
    TraceSink* trace_;
    ScriptEvents& events_;
    std::filesystem::path working_;
    ScriptReader reader_;
    ScriptState state_;
    std::int64_t waitUntil_ = -1; // end of the pause of the pending command
    // WAIT: the receive buffer as last searched in vain.
    std::uint64_t searchedAppended_ = 0;
    std::uint64_t searchedRewrites_ = 0;
    bool searched_ = false;
};

} // namespace kalvor::script
