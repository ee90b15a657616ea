// Opening and closing the terminal's connection: Connect_Click,
// ConnectTelnet and Disconnect_Click over the serial line (with a modem),
// Telnet in its standard and advanced variants, SSH, and a local program in a
// pseudo-terminal. The window owns one manager for its Session and hands it
// the connection settings; the manager tells the window, through its
// ConnectionObserver, what its status panel, caption and Connect/Disconnect
// menu items show, and asks it the SSH questions. Messages for the user go
// into the terminal itself, through the host-text writer or the receive
// buffer. The connections' own events come to the manager.
//
//   kalvor::net::ConnectionManager connections(session, window, trace);
//   connections.Settings() = settingsFromTheConfigurationFile;
//   connections.Connect_Click();
//
// Everything runs on the window's thread; waits (the modem's second, the
// 50 ms before DONT ECHO, the 0.3 s break) are timers.
#pragma once

#include "base/TraceSink.h"
#include "comms/ConnectionSettings.h"
#include "comms/net/LocalProgramConnection.h"
#include "comms/net/SerialConnection.h"
#include "comms/net/SshConnection.h"
#include "comms/net/TelnetConnection.h"

#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace kalvor {
class Session;
}

namespace kalvor::net {

// What the manager tells the window and asks of it.
class ConnectionObserver {
public:
    // The connection status panel ("Telnet (advanced)", "9600 baud at com1", ...).
    virtual void StatusPanel(const std::string& text) = 0;
    // The whole window caption ("myhost - Kalvor", or "Kalvor").
    virtual void Caption(const std::string& text) = 0;
    // Which of the menu items "Connect" and "Disconnect" are enabled.
    virtual void MenuState(bool connectEnabled, bool disconnectEnabled) = 0;
    // The echo button (local echo setting) is cleared by a connect.
    virtual void EchoButton(bool on) = 0;
    // A message box (title, text), e.g. a changed SSH host key.
    virtual void MessageBox(const std::string& title, const std::string& text) = 0;
    // SSH keyboard-interactive prompts: ask them in an input box titled
    // "Keyboard authentication" and call the answer function once, now or
    // later, with the answers or nothing (cancel).
    virtual void KeyboardInteractive(const KeyboardPrompt& prompt, KeyboardAnswer answer) = 0;
    // An SSH host key not yet known: show its fingerprint and ask whether to
    // trust it (the answer is recorded in the known-hosts file).
    virtual void UnknownHostKey(const HostKeyQuestion& question, HostKeyAnswer answer) = 0;
    // The keyboard focus goes back to the terminal display.
    virtual void FocusTerminal() = 0;
    // Something the window shows of the connection changed (for a repaint).
    virtual void Changed() = 0;

protected:
    ~ConnectionObserver() = default;
};

class ConnectionManager final : private TelnetEvents,
                                private SerialEvents,
                                private SshEvents,
                                private LocalProgramEvents {
public:
    static constexpr int kModemWaitMs = 1000;
    static constexpr int kHousekeepingMs = 100;
    static constexpr const char* kProgramName = "Kalvor";
    // The status panel of a network connection that has ended, as at start-up.
    static constexpr const char* kNotConnectedStatus = "Local";
    // The title of the message box that refuses a changed SSH host key.
    static constexpr const char* kHostKeyChangedTitle = "Host key changed";

    ConnectionManager(Session& session, ConnectionObserver& observer, TraceSink* trace = nullptr);
    ~ConnectionManager();
    ConnectionManager(const ConnectionManager&) = delete;
    ConnectionManager& operator=(const ConnectionManager&) = delete;

    ConnectionSettings& Settings() { return settings_; }
    const ConnectionSettings& Settings() const { return settings_; }
    void SetSettings(const ConnectionSettings& settings) { settings_ = settings; }
    // The known-hosts file of the SSH client (default: config/known_hosts in
    // the program folder).
    std::filesystem::path KnownHostsFile() const;
    void SetKnownHostsFile(std::filesystem::path path) { knownHosts_ = std::move(path); }

    // Menu commands.
    void Connect_Click();
    void Disconnect_Click();

    // The echo button as the user set it: typed text is also shown locally.
    void SetEchoButton(bool on);
    bool EchoButton() const { return echoButton_; }
    // The terminal's screen size changed (it is also watched on a timer).
    void ScreenSizeChanged();
    // ESC % c: 0 "Telnet (standard)", 1 "Telnet (advanced)" (the window's
    // session observer hands it on).
    void TelnetVariant(int variant);
    // ESC & k I: the serial line's data bits and parity follow the terminal
    // (the window's session observer hands it on).
    void EightBitDataChanged();

    // What the window shows.
    bool ConnectedSwitch() const;
    bool ConnectEnabled() const { return connectEnabled_; }
    bool DisconnectEnabled() const { return disconnectEnabled_; }
    const std::string& StatusText() const { return status_; }
    const std::string& CaptionText() const { return caption_; }
    // The kind now in use ("Telnet (standard)" after a server refused option 45, ...).
    NetworkKind Kind() const;
    static std::string KindName(NetworkKind kind);

    // The components (for tests and diagnostics).
    TelnetConnection& Telnet() { return *telnet_; }
    SerialConnection& Serial() { return *serial_; }
    SshConnection& Ssh() { return *ssh_; }
    LocalProgramConnection& Local() { return *local_; }
    bool ModemWaitPending() const { return modemWait_.isActive(); }
    // SSH-session switch.
    bool SshSession() const { return sshSession_; }

private:
    enum class Active { None, Serial, Telnet, Ssh, Local };

    // TelnetEvents
    void TelnetConnected(int status, const std::string& description) override;
    void TelnetDisconnected() override;
    void TelnetVariantChanged(NetworkKind kind) override;
    // SerialEvents
    void CarrierChanged(bool carrier) override;
    void PortLost(const std::string& reason, const std::string& lastInput) override;
    // SshEvents: their texts go through the receive buffer.
    void SshText(const std::string& text) override { Queue(text); }
    void SshError(int code, const std::string& text) override;
    void SshClosed() override;
    void SshFailed(const std::string& text) override;
    void SshKeyboardPrompt(const KeyboardPrompt& prompt, KeyboardAnswer answer) override;
    void SshUnknownHostKey(const HostKeyQuestion& question, HostKeyAnswer answer) override;
    // LocalProgramEvents
    void ProgramExited(const std::string& how) override;

    void Use(Active which);
    void SetConnectedSwitch(bool on);
    void SetStatus(const std::string& text);
    void SetCaption(const std::string& text);
    void SetMenu(bool connectEnabled, bool disconnectEnabled);
    void ClearEchoButton();
    void Show(const std::string& text);  // WriteHostText at once
    void Queue(const std::string& text); // into the receive buffer
    void Trace(std::string_view label, std::string_view data);
    void RefreshLocalEcho();
    void FlushStagedInput();
    // The host ended the connection: `lastInput` and everything staged is
    // interpreted first, then `message`; the menus, caption and status panel
    // return to their disconnected state.
    void HostClosed(const std::string& message, const std::string& lastInput = {});
    void Housekeeping();

    void CloseSerial();
    void CloseTelnet(bool restoreCaption);
    void CloseSsh();
    void CloseLocal();

    void ConnectSerial();
    void SerialAfterModemWait(SerialOpenError result, int portNumber, std::string baud);
    void ConnectTelnetKind(NetworkKind kind); // standard or advanced
    void ConnectSsh(NetworkKind kind);        // SSH 1 or SSH 2
    void ConnectLocal();

    Session& session_;
    ConnectionObserver& observer_;
    telnet::EchoSwitches echo_; // the session's Telnet echo bookkeeping
    TraceSink* trace_;
    ConnectionSettings settings_;
    std::filesystem::path knownHosts_;
    std::unique_ptr<TelnetConnection> telnet_;
    std::unique_ptr<SerialConnection> serial_;
    std::unique_ptr<SshConnection> ssh_;
    std::unique_ptr<LocalProgramConnection> local_;
    Active active_ = Active::None;
    QTimer modemWait_;
    std::function<void()> afterModemWait_;
    QTimer housekeeping_;

    bool echoButton_ = false;
    bool connectEnabled_ = true;
    bool disconnectEnabled_ = false;
    bool sshSession_ = false;
    std::string status_;
    std::string caption_ = kProgramName;
    std::string telnetEntry_; // the host entry of the Telnet connection, for its messages
    std::string lastHost_;    // the last Telnet connection's host, port and terminal type
    int lastPort_ = -1;
    std::string lastTerminalType_;
    std::string lastSerialPort_;
};

} // namespace kalvor::net
