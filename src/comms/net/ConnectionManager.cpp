#include "comms/net/ConnectionManager.h"

#include "base/ProgramFolder.h"
#include "comms/ConnectionRules.h"
#include "comms/net/SerialPorts.h"
#include "session/Session.h"

namespace kalvor::net {
namespace {
constexpr std::string_view kTelnetDisconnected = "<TELNET has been disconnected>";
} // namespace

ConnectionManager::ConnectionManager(Session& session, ConnectionObserver& observer, TraceSink* trace)
    : session_(session),
      observer_(observer),
      echo_(session.TelnetSwitches()),
      trace_(trace),
      telnet_(std::make_unique<TelnetConnection>(session.Input(), echo_, trace, static_cast<TelnetEvents&>(*this))),
      serial_(std::make_unique<SerialConnection>(static_cast<SerialEvents&>(*this))),
      ssh_(std::make_unique<SshConnection>(session.Input(), static_cast<SshEvents&>(*this))),
      local_(std::make_unique<LocalProgramConnection>(session.Input(), static_cast<LocalProgramEvents&>(*this)))
{
    modemWait_.setSingleShot(true);
    QObject::connect(&modemWait_, &QTimer::timeout, &modemWait_, [this] {
        if (auto next = std::move(afterModemWait_)) {
            afterModemWait_ = nullptr;
            next();
        }
    });
    housekeeping_.setInterval(kHousekeepingMs);
    QObject::connect(&housekeeping_, &QTimer::timeout, &housekeeping_, [this] { Housekeeping(); });
    housekeeping_.start();
}

// ---------------------------------------------------------------------------
// The connections' events

void ConnectionManager::TelnetConnected(int status, const std::string& description)
{
    if (status != 0) {
        SetMenu(true, false);
        SetConnectedSwitch(false);
        const std::string text = "<TELNET Connect Error: " + description + ">";
        Show(text + "\r\n");
        Trace("Telnet:", text);
        return;
    }
    SetMenu(false, true);
    const std::string text = "<" + telnetEntry_ + " contacted>";
    Show(text + "\r\n\n");
    Trace("Telnet:", text);
    RefreshLocalEcho();
}

void ConnectionManager::TelnetDisconnected()
{
    *echo_.EchoSuppressionOffered = false;
    Trace("Telnet:", kTelnetDisconnected);
    HostClosed("\r\n" + std::string(kTelnetDisconnected) + "\r\n");
}

void ConnectionManager::TelnetVariantChanged(NetworkKind kind)
{
    SetStatus(KindName(kind));
    RefreshLocalEcho();
}

void ConnectionManager::CarrierChanged(bool carrier)
{
    if (carrier || modemWait_.isActive() || !serial_->IsOpen()) {
        SetMenu(!connectEnabled_, !disconnectEnabled_);
        return;
    }
    // The carrier dropped: the far end hung up.
    std::string last;
    serial_->ReadInput(last);
    CloseSerial();
    HostClosed("\r\n<" + settings_.PortName + " has been disconnected>\r\n", last);
}

void ConnectionManager::PortLost(const std::string&, const std::string& lastInput)
{
    HostClosed("\r\n<" + settings_.PortName + " has been disconnected>\r\n", lastInput);
}

void ConnectionManager::SshError(int code, const std::string& text)
{
    FlushStagedInput(); // what arrived before the error comes first
    Queue("\r\nSSH Error: " + text);
    Disconnect_Click();
    if (code == SshConnection::kHostKeyChanged)
        observer_.MessageBox(kHostKeyChangedTitle, text);
}

void ConnectionManager::SshClosed()
{
    sshSession_ = false;
    HostClosed("\r\n<SSH connection closed>");
}

void ConnectionManager::SshFailed(const std::string& text)
{
    Queue(text);
    sshSession_ = false;
    SetConnectedSwitch(false);
    SetMenu(true, false);
}

void ConnectionManager::SshKeyboardPrompt(const KeyboardPrompt& prompt, KeyboardAnswer answer)
{
    observer_.KeyboardInteractive(prompt, std::move(answer));
}

void ConnectionManager::SshUnknownHostKey(const HostKeyQuestion& question, HostKeyAnswer answer)
{
    observer_.UnknownHostKey(question, std::move(answer));
}

// After the program's last output, which may still wait in the buffers.
void ConnectionManager::ProgramExited(const std::string& how)
{
    HostClosed("\r\n<" + local_->Program() + " ended: " + how + ">\r\n");
}

namespace {
// The connection the session is left with once the manager has gone.
NoConnection& Unconnected()
{
    static NoConnection none;
    return none;
}
} // namespace

ConnectionManager::~ConnectionManager() { session_.SetConnection(Unconnected()); }

std::filesystem::path ConnectionManager::KnownHostsFile() const
{
    return knownHosts_.empty() ? ProgramFolder() / "config" / "known_hosts" : knownHosts_;
}

std::string ConnectionManager::KindName(NetworkKind kind)
{
    switch (kind) {
    case NetworkKind::TelnetStandard: return "Telnet (standard)";
    case NetworkKind::TelnetAdvanced: return "Telnet (advanced)";
    case NetworkKind::Ssh1: return "SSH 1";
    case NetworkKind::Ssh2: return "SSH 2";
    case NetworkKind::LocalProgram: return "Local program";
    }
    return std::string();
}

NetworkKind ConnectionManager::Kind() const
{
    switch (active_) {
    case Active::Telnet: return telnet_->Kind();
    case Active::Ssh: return ssh_->Kind();
    case Active::Local: return NetworkKind::LocalProgram;
    default: break;
    }
    return settings_.Kind;
}

bool ConnectionManager::ConnectedSwitch() const
{
    switch (active_) {
    case Active::Serial: return serial_->Connected();
    case Active::Telnet: return telnet_->Connected();
    case Active::Ssh: return ssh_->Connected();
    case Active::Local: return local_->Connected();
    case Active::None: break;
    }
    return false;
}

// ---------------------------------------------------------------------------

void ConnectionManager::Use(Active which)
{
    if (active_ == which)
        return;
    const bool on = ConnectedSwitch();
    SetConnectedSwitch(false);
    active_ = which;
    switch (which) {
    case Active::Serial: session_.SetConnection(*serial_); break;
    case Active::Telnet: session_.SetConnection(*telnet_); break;
    case Active::Ssh: session_.SetConnection(*ssh_); break;
    case Active::Local: session_.SetConnection(*local_); break;
    case Active::None: session_.SetConnection(Unconnected()); break;
    }
    SetConnectedSwitch(on);
}

void ConnectionManager::SetConnectedSwitch(bool on)
{
    switch (active_) {
    case Active::Serial: serial_->SetConnectedSwitch(on); break;
    case Active::Telnet: telnet_->SetConnectedSwitch(on); break;
    case Active::Ssh: ssh_->SetConnectedSwitch(on); break;
    case Active::Local: local_->SetConnectedSwitch(on); break;
    case Active::None: break;
    }
}

void ConnectionManager::SetStatus(const std::string& text)
{
    status_ = text;
    observer_.StatusPanel(text);
}

void ConnectionManager::SetCaption(const std::string& text)
{
    caption_ = text;
    observer_.Caption(text);
}

void ConnectionManager::SetMenu(bool connectEnabled, bool disconnectEnabled)
{
    connectEnabled_ = connectEnabled;
    disconnectEnabled_ = disconnectEnabled;
    observer_.MenuState(connectEnabled, disconnectEnabled);
    observer_.Changed();
}

void ConnectionManager::ClearEchoButton()
{
    echoButton_ = false;
    observer_.EchoButton(false);
    RefreshLocalEcho();
}

void ConnectionManager::SetEchoButton(bool on)
{
    echoButton_ = on;
    RefreshLocalEcho();
}

// Local echo is in force when the echo button is on, or on a Telnet
// connection whose program echoes itself: the advanced variant refuses the
// server's echo at its first transmission, unless the server offered to
// suppress local echo.
void ConnectionManager::RefreshLocalEcho()
{
    bool echo = echoButton_;
    if (active_ == Active::Telnet && telnet_->Connected())
        echo = echo || (telnet_->Kind() == NetworkKind::TelnetAdvanced && !*echo_.EchoSuppressionOffered);
    session_.SetLocalEcho(echo);
}

void ConnectionManager::Show(const std::string& text) { session_.WriteHostText(text); }

void ConnectionManager::Queue(const std::string& text) { session_.AppendLocal(text); }

void ConnectionManager::Trace(std::string_view label, std::string_view data)
{
    if (trace_ != nullptr && trace_->Tracing())
        trace_->LogTrace(label, data);
}

// Data that arrived just before a connection ended is still interpreted:
// the receive pass reads the staging buffer only while connected.
void ConnectionManager::FlushStagedInput()
{
    std::string& staged = session_.Input().NetInBuffer();
    if (staged.empty())
        return;
    Trace("Received:", staged);
    session_.AppendLocal(staged);
    staged.clear();
}

void ConnectionManager::HostClosed(const std::string& message, const std::string& lastInput)
{
    if (!lastInput.empty()) {
        Trace("Received:", lastInput);
        session_.AppendLocal(lastInput);
    }
    FlushStagedInput();
    // Through the receive buffer, so that it follows every byte before it
    // whatever the interpreter still has to do (a reset, a held display).
    Queue(message);
    SetConnectedSwitch(false);
    SetMenu(true, false);
    SetCaption(kProgramName);
    SetStatus(settings_.Network() ? std::string(kNotConnectedStatus) : StatusPortName(settings_.PortName));
    RefreshLocalEcho();
}

void ConnectionManager::ScreenSizeChanged()
{
    const int cols = session_.Memory().ColsInTerm;
    const int rows = session_.Memory().RowsInTerm;
    if (active_ == Active::Ssh)
        ssh_->Resize(cols, rows);
    if (active_ == Active::Local)
        local_->Resize(cols, rows);
}

void ConnectionManager::Housekeeping()
{
    ScreenSizeChanged();
    RefreshLocalEcho();
}

void ConnectionManager::TelnetVariant(int variant)
{
    const NetworkKind kind = variant == 0 ? NetworkKind::TelnetStandard : NetworkKind::TelnetAdvanced;
    const bool telnetSettings = IsTelnetKind(settings_.Kind);
    if (telnetSettings)
        settings_.Kind = kind;
    if (active_ == Active::Telnet) {
        telnet_->SetKind(kind); // the variant event updates the status panel
    } else if (telnetSettings) {
        SetStatus(KindName(kind));
    }
    RefreshLocalEcho();
}

// ---------------------------------------------------------------------------

void ConnectionManager::CloseSerial()
{
    modemWait_.stop();
    afterModemWait_ = nullptr;
    serial_->Close();
}

void ConnectionManager::CloseTelnet(bool restoreCaption)
{
    if (!telnet_->ComponentBusy())
        return;
    telnet_->DisconnectTransport();
    if (restoreCaption)
        SetCaption(kProgramName);
}

void ConnectionManager::CloseSsh()
{
    if (!sshSession_)
        return;
    ssh_->Close();
    sshSession_ = false;
}

void ConnectionManager::CloseLocal()
{
    if (local_->Running())
        local_->Stop();
}

void ConnectionManager::Connect_Click()
{
    if (!ConnectedSwitch())
        session_.SetRemoteMode(true);
    SetMenu(false, true);

    bool network = settings_.Network();
    if (!Trim(settings_.DirectTarget).empty())
        network = Trim(settings_.DirectEntryType) == "ADDR";

    if (!network) {
        ConnectSerial();
        return;
    }
    const NetworkKind kind = settings_.Kind;
    if (IsSshKind(kind))
        ConnectSsh(kind);
    else if (kind == NetworkKind::LocalProgram)
        ConnectLocal();
    else
        ConnectTelnetKind(kind);
}

void ConnectionManager::ConnectSerial()
{
    if (telnet_->ComponentBusy()) {
        telnet_->DisconnectTransport();
        SetCaption(kProgramName);
    }
    CloseSsh();
    CloseLocal();
    ClearEchoButton();
    CloseSerial();
    Use(Active::Serial);
    SetConnectedSwitch(true);

    const int portNumber = PortNumber(settings_.PortName);
    const int code = HandshakingCode(settings_.Handshaking);
    const std::string settingsText = SerialSettingsText(settings_);
    const std::string baud = Trim(settings_.BaudRate);
    // With Xon/Xoff the program paces the host itself.
    const int portHandshaking = code == 1 ? 0 : code;
    SerialOpenError result = SerialOpenError::InvalidPort;
    if (const auto device = SerialDeviceFor(settings_.PortName))
        result = serial_->Open(*device, settingsText, portHandshaking, code);

    serial_->Write(kModemInit);
    afterModemWait_ = [this, result, portNumber, baud] { SerialAfterModemWait(result, portNumber, baud); };
    modemWait_.start(kModemWaitMs);
}

void ConnectionManager::EightBitDataChanged()
{
    ApplyEightBitData(settings_, session_.State().EightBitData);
    if (!serial_->IsOpen())
        return;
    // The open line is opened again with the new data bits and parity; a
    // line that refuses them ends the connection as a failed open does.
    const int code = HandshakingCode(settings_.Handshaking);
    SerialOpenError result = SerialOpenError::InvalidPort;
    if (const auto device = SerialDeviceFor(settings_.PortName))
        result = serial_->Open(*device, SerialSettingsText(settings_), code == 1 ? 0 : code, code);
    if (result != SerialOpenError::None) {
        Show(OpenFailureMessage(result, PortNumber(settings_.PortName), Trim(settings_.BaudRate)));
        serial_->Close();
        SetConnectedSwitch(false);
        SetMenu(true, false);
    }
}

void ConnectionManager::SerialAfterModemWait(SerialOpenError result, int portNumber, std::string baud)
{
    if (result != SerialOpenError::None) {
        Show(OpenFailureMessage(result, portNumber, baud));
        SetStatus(StatusPortName(settings_.PortName));
        SetMenu(true, false);
        serial_->Close();
        SetConnectedSwitch(false);
        return;
    }
    SetStatus(BaudStatusText(baud, settings_.PortName));
    if (StatusPortName(settings_.PortName) != lastSerialPort_)
        serial_->ResetCounts();
    lastSerialPort_ = StatusPortName(settings_.PortName);
    if (const auto dial = DialCommand(settings_))
        serial_->Write(*dial);
}

void ConnectionManager::ConnectTelnetKind(NetworkKind kind)
{
    CloseSerial();
    CloseSsh();
    CloseLocal();

    const std::string entry = HostEntryText(settings_);
    const NetworkTarget target = ConnectTelnet(settings_);
    if (target.Host.empty()) {
        SetConnectedSwitch(false);
        SetMenu(true, false);
        return;
    }
    const std::string terminalType = Trim(settings_.TerminalType);
    const bool changed = target.Host != lastHost_ || target.Port != lastPort_ || terminalType != lastTerminalType_;
    if (changed)
        CloseTelnet(false);
    lastHost_ = target.Host;
    lastPort_ = target.Port;
    lastTerminalType_ = terminalType;

    Use(Active::Telnet);
    SetConnectedSwitch(true);
    ClearEchoButton();
    SetStatus(KindName(kind));
    if (kind == NetworkKind::TelnetStandard) {
        *echo_.LocalEchoRequested = false;
        *echo_.EchoSuppressionOffered = false;
        if (telnet_->ComponentConnected()) {
            telnet_->SendTelnetOption(TelnetVerb::Do, telnet::kOptEcho);
            Trace("CLIENT   Do:", "1");
        }
    }
    telnetEntry_ = entry;
    session_.ResumeNetworkFlow();
    telnet_->ConnectTo(target.Host, target.Port, kind, terminalType);
    if (changed)
        Show("\r\n<using: " + terminalType + ">\r\n<attempting connection to " + entry + ">\r\n");
    SetCaption(entry + " - " + kProgramName);
    RefreshLocalEcho();
}

void ConnectionManager::ConnectSsh(NetworkKind kind)
{
    CloseSerial();
    if (telnet_->ComponentBusy()) {
        telnet_->DisconnectTransport();
        *echo_.EchoSuppressionOffered = false;
    }
    CloseLocal();
    CloseSsh();

    Use(Active::Ssh);
    SetStatus(KindName(kind));
    ClearEchoButton();
    const NetworkTarget target = ConnectTelnet(settings_);
    if (target.Host.empty()) {
        SetConnectedSwitch(false);
        SetMenu(true, false);
        return;
    }
    SetConnectedSwitch(true);
    SshParams params;
    params.Host = target.Host;
    params.Port = target.Port;
    params.User = settings_.SshUser;
    params.Password = settings_.SshPassword;
    params.TerminalType = Trim(settings_.TerminalType);
    params.Cols = session_.Memory().ColsInTerm;
    params.Rows = session_.Memory().RowsInTerm;
    params.Protocol = kind == NetworkKind::Ssh1 ? 1 : 2;
    params.KnownHosts = KnownHostsFile();
    session_.ResumeNetworkFlow();
    sshSession_ = true;
    ssh_->Open(params);
    SetCaption(target.Host + " - " + kProgramName);
}

void ConnectionManager::ConnectLocal()
{
    CloseSerial();
    if (telnet_->ComponentBusy()) {
        telnet_->DisconnectTransport();
        *echo_.EchoSuppressionOffered = false;
    }
    CloseSsh();
    CloseLocal();

    Use(Active::Local);
    SetStatus(KindName(NetworkKind::LocalProgram));
    ClearEchoButton();
    session_.ResumeNetworkFlow();
    const std::string command = HostEntryText(settings_);
    local_->Environment =
        ChooseEnvironment(ParentEnvironment(), !session_.State().HostRoman8, ProgramFolder() / "temp");
    const std::string error = local_->Start(command, session_.Memory().ColsInTerm, session_.Memory().RowsInTerm);
    if (!error.empty()) {
        Show("\r\n<local program error: " + error + ">\r\n");
        SetConnectedSwitch(false);
        SetMenu(true, false);
        return;
    }
    SetConnectedSwitch(true);
    SetCaption(local_->Program() + " - " + kProgramName);
}

void ConnectionManager::Disconnect_Click()
{
    if (serial_->IsOpen() || modemWait_.isActive()) {
        CloseSerial();
        Show("\r\n<" + settings_.PortName + " has been disconnected>\r\n");
        SetStatus(StatusPortName(settings_.PortName));
    } else if (telnet_->ComponentBusy()) {
        telnet_->DisconnectTransport();
        FlushStagedInput();
        *echo_.EchoSuppressionOffered = false;
        const std::string text(kTelnetDisconnected);
        Show("\r\n" + text + "\r\n");
        Trace("Telnet:", text);
        SetCaption(kProgramName);
        SetStatus(kNotConnectedStatus);
    } else if (sshSession_) {
        ssh_->Close();
        sshSession_ = false;
        FlushStagedInput();
        Queue("\r\n<The secure shell tunnel has been disconnected>\r\n");
        SetStatus(kNotConnectedStatus);
    } else if (local_->Running()) {
        local_->Stop();
        FlushStagedInput();
        Show("\r\n<" + local_->Program() + " has been disconnected>\r\n");
        SetCaption(kProgramName);
        SetStatus(kNotConnectedStatus);
    }
    SetConnectedSwitch(false);
    SetMenu(true, false);
    RefreshLocalEcho();
    observer_.FocusTerminal();
}

} // namespace kalvor::net
