// The program-wide state of a log-on script: whether it runs, the command it
// is working on (kept across receive passes until it completes), the target
// of the automatic connect named by its first line, and what it asked of the
// forms mode when it ended.
#pragma once

#include <string>

namespace kalvor::script {

enum class TargetKind {
    None,
    Addr, // a network address: host, and a port after ":"
    Dial, // a phone number, and a serial port after a space
};

enum class FormsRequest { None, Requested, Done };

struct ScriptState {
    bool Running = false;     // script-running switch
    bool AutoConnect = false; // connect to the target at start-up
    bool Pending = false;     // Command and Argument are still to complete
    std::string Command;
    std::string Argument;
    TargetKind Target = TargetKind::None;
    std::string TargetText;
    std::string PortText;
    FormsRequest Forms = FormsRequest::None;

    // "ADDR" or "DIAL": the entry type the connection settings take.
    std::string TargetType() const
    {
        return Target == TargetKind::Addr ? "ADDR" : Target == TargetKind::Dial ? "DIAL" : "";
    }
};

} // namespace kalvor::script
