// Everything the terminal engine does outside display memory goes through this
// one interface: bytes to the host, the bell, side files, and the hand-offs to
// the keyboard-side subsystems. Tests replace it with a recording fake; the
// session wires it to the real subsystems. Every method has a harmless default.
#pragma once

#include <string_view>

namespace kalvor {

class TerminalHooks {
public:
    virtual ~TerminalHooks() = default;

    // XmitString: send `text` to the host; `lineFeedRequest` asks for NUL LF
    // after each CR when automatic line feed is on.
    virtual void Transmit(std::string_view text, bool lineFeedRequest) { (void)text, (void)lineFeedRequest; }
    // ZKBell: one system beep.
    virtual void Bell() {}
    // The host's DC1 arrived: complete a pending block or status request
    // (DC1 completion of block transmission) and set the DC1-received flag.
    virtual void HostDc1() {}
    // Output routing copies text to the print/file log.
    virtual void LogText(std::string_view text) { (void)text; }
    // Record mode collects host text for the record file.
    virtual void RecordText(std::string_view text) { (void)text; }
    // Escape logging (strap N) is on: append to the escape log.
    virtual void EscapeLog(std::string_view text) { (void)text; }
    // Hold interpretation of received data for `milliseconds` (ESC @).
    virtual void HoldInterpretation(int milliseconds) { (void)milliseconds; }
    // The display should be repainted now (throttling is the caller's).
    virtual void Repaint() {}
};

} // namespace kalvor
