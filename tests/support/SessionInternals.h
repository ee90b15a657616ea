// The one way into a session's subsystems, for tests only: the session
// declares SessionInternals its friend, and its public members never hand
// the subsystems out.
//
//   Internals(session).Receive().AppendLocal("text");
//   TerminalState& st = Internals(session).State();
#pragma once

#include "session/Session.h"

namespace kalvor {

class SessionInternals {
public:
    explicit SessionInternals(Session& session) : s_(session) {}

    Terminal& Term() const { return s_.term_; }
    TerminalState& State() const { return s_.term_.State; }
    DisplayMemory& Memory() const { return s_.term_.State.Mem; }
    ReceivePass& Receive() const { return s_.receive_; }
    Transmitter& Transmit() const { return s_.tx_; }
    Handshake& Handshaking() const { return s_.handshake_; }
    FormatMode& Fields() const { return s_.formatMode_; }
    BlockTransmission& Blocks() const { return s_.blocks_; }
    Keyboard& Keys() const { return s_.keyboard_; }
    FunctionKeys& FuncKeys() const { return s_.funcKeys_; }
    ControlCharacters& Controls() const { return s_.controls_; }
    logging::ErrorReport& Errors() const { return s_.errors_; }
    logging::CommunicationsLog& CommLog() const { return s_.commLog_; }
    logging::PrinterLog& PrinterLogging() const { return s_.printerLog_; }
    logging::RecordFiles& Records() const { return s_.records_; }
    script::ScriptInterpreter& Script() const { return s_.script_; }

private:
    Session& s_;
};

// Found by argument-dependent lookup from every test namespace.
inline SessionInternals Internals(Session& session) { return SessionInternals(session); }

} // namespace kalvor
