#include "session/Session.h"

#include "engine/DisplayDump.h"
#include "engine/ExtendedChars.h"
#include "engine/ProgramFolder.h"
#include "engine/Resets.h"

namespace kalvor {

Session::Session(Clock& clock, TraceSink* trace)
    : clock_(clock),
      commLog_(clock, errors_, static_cast<logging::SideFileEvents&>(*this)),
      trace_(trace != nullptr ? trace : &commLog_),
      conn_(&none_),
      term_(static_cast<TerminalHooks&>(*this)),
      tx_(term_.State, *conn_, clock, trace_),
      receive_(term_, tx_, *conn_, clock, static_cast<ReceiveHooks&>(*this), trace_),
      handshake_(static_cast<HandshakeEvents&>(*this)),
      formatMode_(term_.State, static_cast<FormatModeEvents&>(*this)),
      blocks_(term_, handshake_, static_cast<BlockTransmissionEvents&>(*this)),
      keyboard_(term_, tx_, receive_, funcKeys_, controls_, static_cast<KeyboardEvents&>(*this)),
      funcKeys_(term_, keyboard_, tx_, handshake_, static_cast<FunctionKeyEvents&>(*this)),
      controls_(tx_, *conn_, clock, trace_, static_cast<ControlCharacterEvents&>(*this)),
      printerLog_(errors_, static_cast<logging::SideFileEvents&>(*this)),
      records_(errors_, static_cast<logging::SideFileEvents&>(*this)),
      script_(receive_, tx_, clock, trace_, static_cast<script::ScriptEvents&>(*this))
{
    InitExtendChar(term_.State);
    blocks_.NetworkConnection = conn_->Network();
    errors_.SetDisplay(static_cast<logging::ErrorDisplay*>(this));
    errors_.SetDebugLog(&commLog_);
}

void Session::SetObserver(SessionObserver* observer) { observer_ = observer != nullptr ? observer : &unobserved_; }

// What a request sends, built when it goes out (at once or on the DC1).
bool Session::FillRequest(HostRequest request, std::string& buffer) { return blocks_.FillRequest(request, buffer); }

void Session::HostRequested(HostRequest request) { handshake_.AnswerHost(request, term_.State); }

bool Session::MoreDataWaiting() { return !receive_.CommBuffer().Empty(); }

void Session::StateChanged()
{
    funcKeys_.RefreshModeLabels();
    if (term_.State.FormatMode != formatModeShown_) {
        formatModeShown_ = term_.State.FormatMode;
        formatMode_.FormUpdateStatus();
    }
    observer_->StateChanged();
}

void Session::SoftReset()
{
    Bell();
    keyboard_.TurnOffExtendCharMode();
    const bool recording = term_.State.RecordMode != 0;
    ResetSoft(term_);
    if (recording)
        (void)records_.TurnOffRecordMode(); // the print and record files end with record mode
    if (funcKeys_.MessagePanelShown())
        funcKeys_.CloseMessagePanel();
    handshake_.Reset();
    receive_.ResetEscapeState();
    if (tx_.HostPaused) {
        tx_.HostPaused = false;
        tx_.XmitString("\x11", false);
    }
    StateChanged();
}

void Session::HardReset(bool functionKeys)
{
    // The terminal starts again from its configuration: the configured screen
    // size and host character set stay, everything else returns to its
    // initial state and display memory is emptied.
    TerminalState& st = term_.State;
    const int cols = st.Mem.ColsInTerm;
    const int rows = st.Mem.RowsInTerm;
    const bool roman8 = st.HostRoman8;
    const bool remote = st.RemoteMode;
    ResetHard(term_);
    st.Mem.SetWidth(cols);
    st.Mem.RowsInTerm = rows;
    st.HostRoman8 = roman8;
    st.RemoteMode = remote;
    InitExtendChar(st);
    handshake_.Reset();
    blocks_.ResetBlockStart();
    receive_.ResetEscapeState();
    keyboard_.TurnOffExtendCharMode();
    if (functionKeys) {
        funcKeys_.InitFunctionKeys();
        funcKeys_.ApplyFunctionKeyConfig();
    }
    if (config_ != nullptr)
        config_->ReapplyAfterHardReset();
    StateChanged();
}

void Session::DefineFunctionKey(std::string_view seq) { funcKeys_.DefineUserKey(seq); }

KeyControlResult Session::FunctionKeyControl(std::string_view seq) { return funcKeys_.EscFuncKeyCntl(seq); }

void Session::ApplyFunctionKeyConfig() { funcKeys_.ApplyFunctionKeyConfig(); }

void Session::TelnetVariant(int variant) { observer_->TelnetVariant(variant); }

void Session::SetConnection(Connection& connection)
{
    conn_ = &connection;
    tx_.SetConnection(connection);
    blocks_.NetworkConnection = connection.Network();
    receive_.SetConnection(connection);
    controls_.SetConnection(connection);
}

void Session::Tick()
{
    receive_.PollingCommBuffer();
    controls_.Tick();
    tx_.Pump();
}

bool Session::Busy() const
{
    const bool dataWaiting = !receive_.CommBuffer().Empty() || !receive_.NetInBuffer().empty();
    const bool scriptPause = conn_->Connected() && conn_->TransportOpen() && script_.ClockWait();
    return (dataWaiting && receive_.DisplayRunning) || receive_.Holding() || !tx_.Idle() || controls_.Busy() ||
           scriptPause;
}

void Session::Transmit(std::string_view text, bool lineFeedRequest) { tx_.XmitString(text, lineFeedRequest); }

void Session::Bell()
{
    ++bells_;
    observer_->Bell();
}

void Session::HostDc1() { blocks_.OnHostDc1(); }

void Session::HoldInterpretation(int milliseconds) { receive_.HoldInterpretation(milliseconds); }

void Session::Repaint() { observer_->Repaint(); }

} // namespace kalvor

namespace kalvor {

bool Session::DefineEnterKey(std::string_view seq) { return keyboard_.EscDefineEnterKey(seq); }

void Session::EscapeLog(std::string_view text) { escapeLog_.Append(text); }

// Strap N: the escape log is opened when it is set; clearing it closes the
// log and prints it.
void Session::EscapeLogging(bool on)
{
    if (on) {
        if (!escapeLog_.Open(ProgramFolder()))
            term_.State.EscapeLogging = false;
        return;
    }
    if (!escapeLog_.IsOpen())
        return;
    escapeLog_.Close();
    PrintFile(escapeLog_.Path());
}

void Session::DumpDisplay(int startRow, int endRow)
{
    if (DisplayTextBuffers(term_.State.Mem, startRow, endRow, ProgramFolder()))
        OpenDocument(ProgramFolder() / "temp" / "TxtBufs.txt");
}

} // namespace kalvor

namespace kalvor {

// The communications log, printer logging and record mode: the soft keys
// switch them, the text writer feeds them, the window prints and shows them.
void Session::PrintFile(const std::filesystem::path& file) { observer_->PrintFile(file); }

void Session::OpenDocument(const std::filesystem::path& file) { observer_->OpenDocument(file); }

std::optional<std::filesystem::path> Session::AskFileName(std::string_view title)
{
    return observer_->AskFileName(title);
}

bool Session::AskYesNo(std::string_view title, std::string_view text) { return observer_->AskYesNo(title, text); }

void Session::ShowWindow(const logging::ErrorWindow& error) { observer_->ShowError(error); }

void Session::TurnOnLogging(int logType) { (void)printerLog_.TurnOnLogging(logType); }

void Session::SwitchLogType(int logType) { printerLog_.SwitchLogType(logType); }

void Session::TurnOffLogging(int logType) { (void)printerLog_.TurnOffLogging(logType, term_.State.Mem); }

void Session::TurnOnRecordMode()
{
    (void)records_.TurnOnRecordMode(term_.State.OutputRouting & (FunctionKeys::kToPrinter | FunctionKeys::kToFile));
}

// The record files are finished, then the host is told with "S" CR (shown
// locally too on a Telnet connection).
void Session::TurnOffRecordMode()
{
    (void)records_.TurnOffRecordMode();
    tx_.XmitString("S\r", false);
    const bool telnet = conn_->Network() &&
                        (conn_->Kind() == NetworkKind::TelnetStandard || conn_->Kind() == NetworkKind::TelnetAdvanced);
    if (telnet)
        receive_.AppendLocal("S\r");
}

// Host text copied by the output routing: with the display bit set the same
// text reaches the record files through RecordText (in record mode), so only
// text kept off the display is written here.
void Session::LogText(std::string_view text)
{
    if ((term_.State.OutputRouting & FunctionKeys::kToDisplay) == 0)
        records_.Write(text);
}

void Session::RecordText(std::string_view text) { records_.Write(text); }

} // namespace kalvor

namespace kalvor {

// DBUG switches the communications log.
void Session::TraceSwitch(bool on)
{
    if (on)
        (void)commLog_.TurnOn();
    else
        (void)commLog_.TurnOff();
}

// XMIT echoes what it sends where the Telnet server leaves echoing to us.
bool Session::TelnetLocalEcho()
{
    const bool telnet = conn_->Network() &&
                        (conn_->Kind() == NetworkKind::TelnetStandard || conn_->Kind() == NetworkKind::TelnetAdvanced);
    return telnet && conn_->TransportOpen() && tx_.LocalEchoRequested && !tx_.EchoSuppressionOffered;
}

// While a connection is still being made the script waits, so that an
// answer it sends is not lost before the transport is open.
bool Session::ScriptRunning() { return script_.Running() && conn_->Connected() && conn_->TransportOpen(); }

} // namespace kalvor

namespace kalvor {

// Printer logging: bottom logging writes the row a line feed completes on
// the bottom screen row, top logging the row that scrolls off the top.
void Session::BottomLineFeed(std::string_view completed, std::string_view leaving)
{
    if (!printerLog_.On())
        return;
    printerLog_.LogDisplayLine(logging::PrinterLog::kBottom, completed);
    printerLog_.LogDisplayLine(logging::PrinterLog::kTop, leaving);
}

void Session::PrintScreen() { observer_->PrintScreen(); }

// ESC & p: device 9 starts record mode in its recording state (2), with the
// record files of the destinations the output routing names.
void Session::DeviceControl(std::string_view seq)
{
    std::size_t i = 3; // after ESC & p
    int device = 0;
    bool digits = false;
    while (i < seq.size() && seq[i] >= '0' && seq[i] <= '9' && device < 1000) {
        device = device * 10 + (seq[i++] - '0');
        digits = true;
    }
    if (!digits || device != 9 || term_.State.RecordMode == 2)
        return;
    if (term_.State.RecordMode == 0)
        (void)records_.TurnOnRecordMode(term_.State.OutputRouting & (FunctionKeys::kToPrinter | FunctionKeys::kToFile));
    term_.State.RecordMode = 2;
    StateChanged();
}

// ESC % k: exit protection (n U) and the end of the program (E) are the
// terminal's; the rest belongs to the forms mode.
void Session::FormsEscape(std::string_view seq)
{
    if (seq.size() < 4 || seq[1] != '%' || (seq[2] != 'k' && seq[2] != 'K'))
        return;
    const char command = seq.back();
    const std::string_view parameter = seq.substr(3, seq.size() - 4);
    if (command == 'U') {
        if (parameter == "1")
            term_.State.ExitProtection = true;
        else if (parameter == "0")
            term_.State.ExitProtection = false;
    } else if (command == 'E') {
        term_.State.ExitProtection = false;
        observer_->ExitRequested();
    }
}

} // namespace kalvor

namespace kalvor {

// ---------------------------------------------------------------------------
// The keyboard side's requests: to its siblings, to the configuration, to the
// window.

void Session::ExecEnterKey() { blocks_.ExecEnterKey(); }
bool Session::FormsShowObjects() { return observer_->FormsShowObjects(); }
void Session::FormsEnter() { observer_->FormsEnter(); }
void Session::TabPanel(bool shown) { observer_->TabPanel(shown); }
void Session::DestinationsChanged() { observer_->DestinationsChanged(); }
void Session::ExitTerminal() { observer_->ExitTerminal(); }
void Session::FocusDisplay() { observer_->FocusDisplay(); }

void Session::SaveTermConfig(bool save)
{
    if (config_ != nullptr)
        config_->SaveTermConfig(save);
}

void Session::UserKeyDefined(int key)
{
    if (config_ != nullptr)
        config_->UserKeyDefined(key);
}

void Session::ApplyConfiguration()
{
    if (config_ != nullptr)
        config_->ApplyUserKeys();
}

void Session::SaveEnterKeySettings()
{
    if (config_ != nullptr)
        config_->SaveEnterKeySettings();
}

bool Session::SelectionActive() { return observer_->SelectionActive(); }
void Session::ClipCut() { observer_->ClipCut(); }
void Session::InitSelect() { observer_->ClearSelection(); }
bool Session::FormsHoldKeyboard() { return observer_->FormsHoldKeyboard(); }
void Session::FormsTab(int shift) { observer_->FormsTab(shift); }
void Session::FormsNavigate(FieldDirection direction) { observer_->FormsNavigate(direction); }
void Session::ModifyModeReturn() { blocks_.ModifyModeReturn(); }

bool Session::LocalEcho() { return keyboard_.LocalEcho; }
void Session::ShowLocal(std::string_view text) { keyboard_.ShowLocal(keyboard_.LocalText(text)); }
bool Session::SendCursorAddress() { return funcKeys_.SendCursorAddress; }
void Session::EchoPendingUserKey() { funcKeys_.EchoPendingUserKey(); }
void Session::EndExtendCharEntry() { keyboard_.TurnOffExtendCharMode(); }
void Session::ControlCharactersChanged() { observer_->ControlCharactersChanged(); }
void Session::ResetBlockStart() { blocks_.ResetBlockStart(); }

void Session::Caption(const std::string& caption) { observer_->ScriptCaption(caption); }
void Session::StartupStatus(const std::string& text) { observer_->StartupStatus(text); }
void Session::StopStartupTimer() { observer_->StopStartupTimer(); }
void Session::DisplayTerminal() { observer_->DisplayTerminal(); }
bool Session::FormsModeReady() { return observer_->FormsModeReady(); }

} // namespace kalvor
