// Three small services of the keyboard side: whether Ctrl+letter keys act as
// local menu shortcuts or reach the terminal as control characters; the
// "quiet" transmission that keeps a Telnet host from echoing what is sent;
// and the break signal.
//
// The quiet transmission over Telnet with echo negotiation is a small state
// machine driven by the receive tick: DONT ECHO, a 50 ms wait, the text,
// another 50 ms wait, DO ECHO. The event loop keeps running meanwhile;
// further quiet transmissions queue behind the running one.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/Connection.h"
#include "comms/Transmitter.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace kalvor {

// What the control-character services ask of the program around them: the
// keyboard's local echo and extended-character entry, and the window. The
// session implements it.
class ControlCharacterEvents {
public:
    virtual bool LocalEcho() = 0;                // local echo is in force
    virtual void EndExtendCharEntry() = 0;       // TurnOffExtendCharMode
    virtual void ControlCharactersChanged() = 0; // the window's menu and status follow the switch
    virtual void FocusDisplay() = 0;             // the focus returns to the display

protected:
    ~ControlCharacterEvents() = default;
};

class ControlCharacters {
public:
    static constexpr std::int64_t kEchoWaitMs = 50;
    static constexpr int kSerialBreakMs = 300;
    static constexpr int kTelnetBreak = 243;
    static constexpr int kTelnetEchoOption = 1;

    ControlCharacters(Transmitter& transmitter, Connection& connection, Clock& clock, TraceSink* trace,
                      ControlCharacterEvents& events)
        : tx_(transmitter), conn_(&connection), clock_(clock), trace_(trace), events_(events)
    {}
    ControlCharacters(const ControlCharacters&) = delete;
    ControlCharacters& operator=(const ControlCharacters&) = delete;

    void SetConnection(Connection& connection);

    // The transmit-control-characters flag: true when Ctrl+letter keys reach
    // the terminal as the control characters 1..26 (no Ctrl shortcut bound).
    bool TransmitControlCharacters() const { return transmit_; }
    // Menu: control characters are processed locally (Ctrl shortcuts bound).
    void ProcessCntlChar_Click();
    // Menu: control characters are transmitted.
    void XmitCntlChar_Click();
    // The character a Ctrl+letter key produces: 1..26 for the letters A..Z
    // (key codes 65..90) while control characters are transmitted; 0 when the
    // key is a menu shortcut or not a letter.
    int CtrlLetterCharacter(int keyCode) const;

    // Transmits `text` without the host echoing it.
    void QuietXmitChar(std::string_view text);
    // Sends a break: Telnet BREAK on a Telnet connection, otherwise the
    // serial break held 0.3 s.
    void SendBreak_Click();

    // The receive tick: moves a waiting quiet transmission on.
    void Tick();
    // A quiet transmission is under way or queued.
    bool Busy() const { return step_ != Step::Idle || !queue_.empty(); }

    // The Telnet echo negotiation option of the connection settings: quiet
    // transmissions negotiate the host's echo off and on again around the text.
    bool EchoNegotiation = false;

private:
    enum class Step { Idle, WaitBeforeText, WaitAfterText };

    bool OverTelnet() const;
    void StartNext();
    void Trace(std::string_view label, std::string_view data);

    Transmitter& tx_;
    Connection* conn_;
    Clock& clock_;
    TraceSink* trace_;
    ControlCharacterEvents& events_;
    bool transmit_ = false;
    std::deque<std::string> queue_;
    Step step_ = Step::Idle;
    std::int64_t due_ = 0;
};

} // namespace kalvor
