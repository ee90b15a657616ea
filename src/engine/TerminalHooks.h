// Everything the terminal engine does outside display memory goes through this
// one interface: bytes to the host, the bell, side files, and the hand-offs to
// the subsystems around the engine (block transmission, status replies,
// function keys, printing, forms mode, the window). Tests replace it with a
// recording fake; the session wires it to the real subsystems. Every method
// has a harmless default.
#pragma once

#include "engine/HostRequest.h"

#include <optional>
#include <string_view>

namespace kalvor {

class FormatModeHandler;

// What the function keys made of an ESC & j: carried out, waiting for more of
// its message, or refused (a bad message length or command letter).
enum class KeyControlResult { Done, NeedMore, Invalid };

class TerminalHooks {
public:
    virtual ~TerminalHooks() = default;

    // XmitString: send `text` to the host; `lineFeedRequest` asks for NUL LF
    // after each CR when automatic line feed is on.
    virtual void Transmit(std::string_view text, bool lineFeedRequest) { (void)text, (void)lineFeedRequest; }
    // ZKBell: one system beep.
    virtual void Bell() {}
    // The host's DC1 arrived: complete a pending block or status request and
    // set the DC1-received flag.
    virtual void HostDc1() {}
    // The host asks for data under the DC1/DC2 handshake: a block (ESC d),
    // the cursor address, a status reply.
    virtual void HostRequested(HostRequest request) { (void)request; }
    // Output routing copies text to the print/file log.
    virtual void LogText(std::string_view text) { (void)text; }
    // A line feed on the bottom screen row is about to scroll the screen:
    // `completed` is the cursor's row, `leaving` the row that goes off the
    // top (printer logging, bottom and top).
    virtual void BottomLineFeed(std::string_view completed, std::string_view leaving)
    {
        (void)completed, (void)leaving;
    }
    // Record mode collects host text for the record file.
    virtual void RecordText(std::string_view text) { (void)text; }
    // Escape logging (strap N) is on: append to the escape log.
    virtual void EscapeLog(std::string_view text) { (void)text; }
    // Strap N changed: open the escape log, or close and print it.
    virtual void EscapeLogging(bool on) { (void)on; }
    // Hold interpretation of received data for `milliseconds` (ESC @).
    virtual void HoldInterpretation(int milliseconds) { (void)milliseconds; }
    // The display should be repainted now (throttling is the caller's).
    virtual void Repaint() {}
    // True when more received data waits to be interpreted.
    virtual bool MoreDataWaiting() { return false; }
    // Indicators, soft-key marks, colours, cursor form or tab ruler changed.
    virtual void StateChanged() {}
    // The screen width changed (ESC & w): the window adjusts its font.
    virtual void WidthChanged() {}
    // An active selection is removed (ESC J clearing all of memory).
    virtual void ClearSelection() {}

    // Hand-offs of escape sequences whose work lives outside the engine.
    virtual void PrintScreen() {}                                       // ESC 0
    virtual void DefineFunctionKey(std::string_view seq) { (void)seq; } // ESC & f, complete with label and string
    virtual KeyControlResult FunctionKeyControl(std::string_view seq)
    {
        (void)seq;
        return KeyControlResult::Done;
    } // ESC & j
    // ESC & f with P, R, S, m: false when the sequence is rejected.
    [[nodiscard]] virtual bool DefineEnterKey(std::string_view seq)
    {
        (void)seq;
        return true;
    }
    virtual void ApplyFunctionKeyConfig() {} // ESC k, and after ESC E
    // ESC & p without "^": the device number, none when the sequence gives none.
    virtual void DeviceControl(std::optional<int> device) { (void)device; }
    virtual void FormsEscape(std::string_view seq) { (void)seq; }                        // ESC % f, ESC % k, ESC % a
    virtual void TelnetVariant(int variant) { (void)variant; }                           // ESC % c
    virtual void DumpDisplay(int startRow, int endRow) { (void)startRow, (void)endRow; } // ESC % d
    virtual void SavePreferences() {}     // colour scheme chosen by the host
    virtual void EightBitDataChanged() {} // ESC & k I: re-open a serial line
    virtual void CapsLockChanged() {}     // ESC & k P drives the keyboard's caps lock
    // Hard reset (ESC E and the menu): the session re-runs the terminal's
    // initialisation; `functionKeys` also re-initialises the function keys.
    virtual void HardReset(bool functionKeys) { (void)functionKeys; }
    // Soft reset (ESC g and the menu).
    virtual void SoftReset() {}
    // The forms mode shows a form (memory lock and some scrolling differ).
    virtual bool FormsShown() { return false; }
    // The field rules of format mode; none: format mode acts on whole rows.
    virtual FormatModeHandler* FormatFields() { return nullptr; }
};

} // namespace kalvor
