#include "session/Session.h"

#include "base/ProgramInstance.h"
#include "engine/ColorSchemes.h"
#include "engine/DisplayDump.h"
#include "engine/ExtendedChars.h"
#include "engine/Resets.h"

#include <algorithm>

namespace kalvor {

// ---------------------------------------------------------------------------
// Construction: every subsystem gets the session as its events interface.

Session::Session(Clock& clock, TraceSink* trace)
    : commLog_(clock, errors_, static_cast<logging::SideFileEvents&>(*this)),
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
      script_(receive_, tx_, clock, trace_, static_cast<script::ScriptEvents&>(*this)),
      forms_(tx_, handshake_, clock)
{
    InitExtendChar(term_.State);
    blocks_.NetworkConnection = conn_->Network();
    errors_.SetDisplay(static_cast<logging::ErrorDisplay*>(this));
    errors_.SetDebugLog(&commLog_);
}

void Session::SetObserver(SessionObserver* observer) { observer_ = observer != nullptr ? observer : &unobserved_; }

void Session::SetConnection(Connection& connection)
{
    conn_ = &connection;
    tx_.SetConnection(connection);
    blocks_.NetworkConnection = connection.Network();
    receive_.SetConnection(connection);
    controls_.SetConnection(connection);
}

telnet::EchoSwitches Session::TelnetSwitches()
{
    return telnet::EchoSwitches{&tx_.LocalEchoRequested, &tx_.EchoSuppressionOffered, &receive_.NetworkXoff};
}

void Session::SwitchCommunicationsLog(bool on, bool openInEditor)
{
    if (on)
        (void)commLog_.TurnOn();
    else
        (void)commLog_.TurnOff(openInEditor);
}

// ---------------------------------------------------------------------------
// The tick

void Session::Tick()
{
    if (forms_.Download.CheckTimeout())
        forms_.Flags.ReceivingForm = false;
    receive_.PollingCommBuffer();
    controls_.Tick();
    tx_.Pump();
}

void Session::ArrivalPass()
{
    if (!script_.Running())
        receive_.PollingCommBuffer();
}

bool Session::Busy() const
{
    const bool dataWaiting = !receive_.CommBuffer().Empty() || !receive_.NetInBuffer().empty();
    const bool scriptPause = conn_->Connected() && conn_->TransportOpen() && script_.ClockWait();
    return (dataWaiting && receive_.DisplayRunning) || receive_.Holding() || !tx_.Idle() || controls_.Busy() ||
           scriptPause;
}

// ---------------------------------------------------------------------------
// The window's commands and settings

void Session::SelectLineDrawing(bool on)
{
    keyboard_.TurnOffExtendCharMode();
    keyboard_.KeyPress(on ? 14 : 15); // SO, SI
}

void Session::SetTransmitControlCharacters(bool transmit)
{
    if (transmit)
        controls_.XmitCntlChar_Click();
    else
        controls_.ProcessCntlChar_Click();
}

void Session::ClearDisplay()
{
    observer_->ClearSelection();
    term_.State.Mem.InitDisplayBuf();
}

void Session::TransmitPastedLine(std::string_view line)
{
    tx_.XmitString(line, true);
    if (keyboard_.LocalEcho)
        keyboard_.ShowLocal(keyboard_.LocalText(line));
}

void Session::PlaceCursor(int top, int ring, int col)
{
    DisplayMemory& m = term_.State.Mem;
    m.TopRow = m.Wrap(top);
    m.CurRow = std::clamp(m.Age(ring) - m.Age(m.TopRow), 0, m.RowsInTerm - 1);
    m.CurCol = std::clamp(col, 0, m.ColsInTerm - 1);
    m.SyncCursorRow();
    m.MarkAllChanged();
    observer_->Repaint();
}

void Session::RestoreMemory(const DisplayMemory& saved)
{
    observer_->ClearSelection();
    term_.State.Mem.RestoreContents(saved);
    observer_->Repaint();
}

void Session::SetScreenRows(int rows)
{
    DisplayMemory& m = term_.State.Mem;
    if (rows == m.RowsInTerm)
        return;
    const int old = m.RowsInTerm;
    m.RowsInTerm = rows;
    m.SetRelCurRow(old);
    m.MarkAllChanged();
}

void Session::ApplyColorScheme(int scheme, bool inverse, bool fullPalette)
{
    term_.State.ColorScheme = scheme;
    term_.State.InverseScreen = inverse;
    UpdateColorScheme(term_.State, fullPalette);
}

void Session::SetHostCharacterSet(bool roman8)
{
    term_.State.HostRoman8 = roman8;
    InitExtendChar(term_.State);
}

void Session::SetRemoteMode(bool on)
{
    term_.State.RemoteMode = on;
    funcKeys_.RefreshModeLabels();
}

void Session::ToggleTabStop(int col)
{
    if (col < 0 || col >= static_cast<int>(term_.State.TabStops.size()))
        return;
    auto& stop = term_.State.TabStops[static_cast<std::size_t>(col)];
    stop = !stop;
}

void Session::SetTerminalSettings(const TerminalSettings& settings)
{
    static_cast<TerminalSettings&>(term_.State) = settings;
}

// ---------------------------------------------------------------------------
// The terminal hooks: what the engine hands on

void Session::Transmit(std::string_view text, bool lineFeedRequest) { tx_.XmitString(text, lineFeedRequest); }

void Session::Bell()
{
    ++bells_;
    observer_->Bell();
}

void Session::HostDc1()
{
    ++hostDc1s_;
    // The DC1 that completes a waiting request unlocks the keyboard.
    const bool locked = term_.State.KeyboardLocked;
    blocks_.OnHostDc1();
    forms_.HostDc1();
    if (locked)
        keyboard_.RunDeferredFunctionKey();
}

void Session::HostRequested(HostRequest request) { handshake_.AnswerHost(request, term_.State); }

void Session::HoldInterpretation(int milliseconds) { receive_.HoldInterpretation(milliseconds); }

void Session::Repaint() { observer_->Repaint(); }

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
    forms_.Flags.ExitProtection = false;
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

bool Session::DefineEnterKey(std::string_view seq) { return keyboard_.EscDefineEnterKey(seq); }

void Session::TelnetVariant(int variant) { observer_->TelnetVariant(variant); }

// ESC % x: the colour scheme the host chose is kept in the configuration.
void Session::SavePreferences()
{
    if (config_ != nullptr)
        config_->SavePreferences();
}

// ESC & k I: the serial line's data bits and parity follow.
void Session::EightBitDataChanged() { observer_->EightBitDataChanged(); }

void Session::PrintScreen() { observer_->PrintScreen(); }

// ESC & p: device 9 starts record mode in its recording state (2), with the
// record files of the destinations the output routing names.
void Session::DeviceControl(std::optional<int> device)
{
    if (device != 9 || term_.State.RecordMode == 2)
        return;
    if (term_.State.RecordMode == 0)
        (void)records_.TurnOnRecordMode(term_.State.OutputRouting & (FunctionKeys::kToPrinter | FunctionKeys::kToFile));
    term_.State.RecordMode = 2;
    StateChanged();
}

// ESC % k on the terminal side: a form download starts (n F; a form file
// that cannot be created is reported and nothing is received), the form
// file is shown again (X), exit protection (n U), the end of the program
// (E). C outside a download, R, D and Z do nothing here.
void Session::FormsEscape(std::string_view seq)
{
    if (seq.size() < 4 || seq[1] != '%' || (seq[2] != 'k' && seq[2] != 'K'))
        return;
    const char command = seq.back();
    const std::string_view parameter = seq.substr(3, seq.size() - 4);
    forms::FormsFlags& flags = forms_.Flags;
    switch (command) {
    case 'F': { // ESC % k n F
        int n = 0;
        for (const char c : parameter) {
            if (c < '0' || c > '9' || n > 9)
                return;
            n = n * 10 + (c - '0');
        }
        if (n != 0 && n != 1)
            break;
        const std::error_code ec = forms_.Download.Start(receive_.CommBuffer());
        flags.ReceivingForm = !ec;
        if (ec)
            errors_.Report("PollingCommBuffer(ExecCanvo)", ec, forms_.Download.Files().Form.string());
        break;
    }
    case 'X': // ESC % k X
        forms_.Download.StopKeepingFile();
        flags.ReceivingForm = false;
        flags.FormsActive = true;
        observer_->FormsShow();
        break;
    case 'U': // ESC % k n U
        if (parameter == "1")
            flags.ExitProtection = true;
        else if (parameter == "0")
            flags.ExitProtection = false;
        break;
    case 'E': // ESC % k E
        flags.ExitProtection = false;
        observer_->ExitRequested();
        break;
    default: break;
    }
}

// Step 6 of the receive pass while a form download runs.
void Session::DivertFormData(ByteQueue& buffer)
{
    using Outcome = forms::TerminalFormDownload::Outcome;
    const Outcome outcome = forms_.Download.Divert(buffer);
    if (outcome == Outcome::Waiting)
        return;
    forms_.Flags.ReceivingForm = false;
    if (outcome == Outcome::Complete) {
        forms_.Flags.FormsActive = true;
        observer_->FormsShow();
    }
}

void Session::EscapeLog(std::string_view text) { escapeLog_.Append(text); }

// Strap N: the escape log is opened when it is set; clearing it closes the
// log and prints it.
void Session::EscapeLogging(bool on)
{
    if (on) {
        if (escapeLog_.Open() != 0)
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
    if (DisplayTextBuffers(term_.State.Mem, startRow, endRow, TempFolder()))
        OpenDocument(TempFolder() / "TxtBufs.txt");
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

// Printer logging: bottom logging writes the row a line feed completes on
// the bottom screen row, top logging the row that scrolls off the top.
void Session::BottomLineFeed(std::string_view completed, std::string_view leaving)
{
    if (!printerLog_.On())
        return;
    printerLog_.LogDisplayLine(logging::PrinterLog::kBottom, completed);
    printerLog_.LogDisplayLine(logging::PrinterLog::kTop, leaving);
}

// While a connection is still being made the script waits, so that an
// answer it sends is not lost before the transport is open.
bool Session::ScriptRunning() { return script_.Running() && conn_->Connected() && conn_->TransportOpen(); }

// ---------------------------------------------------------------------------
// The keyboard side's events: to its siblings, to the configuration, to the
// window

// What a request sends, built when it goes out (at once or on the DC1).
bool Session::FillRequest(HostRequest request, std::string& buffer) { return blocks_.FillRequest(request, buffer); }

void Session::ResetBlockStart() { blocks_.ResetBlockStart(); }

bool Session::LocalEcho() { return keyboard_.LocalEcho; }

void Session::ShowLocal(std::string_view text) { keyboard_.ShowLocal(keyboard_.LocalText(text)); }

bool Session::SendCursorAddress() { return funcKeys_.SendCursorAddress; }

void Session::EchoPendingUserKey() { funcKeys_.EchoPendingUserKey(); }

UserKeyTable Session::UserKeys()
{
    UserKeyTable keys;
    for (int i = 0; i < FunctionKeys::kUserKeys; ++i) {
        const KeyLabel& label = funcKeys_.Label(FunctionKeys::kUserSet, i);
        keys[static_cast<std::size_t>(i)] = {label.Line1, label.Line2, funcKeys_.UserKeyAttribute(i),
                                             funcKeys_.UserKeyString(i)};
    }
    return keys;
}

bool Session::SelectionActive() { return observer_->SelectionActive(); }

void Session::ClipCut() { observer_->ClipCut(); }

void Session::InitSelect() { observer_->ClearSelection(); }

bool Session::FormsHoldKeyboard() { return observer_->FormsHoldKeyboard(); }

void Session::FormsTab(int shift) { observer_->FormsTab(shift); }

void Session::FormsNavigate(FieldDirection direction) { observer_->FormsNavigate(direction); }

void Session::ModifyModeReturn() { blocks_.ModifyModeReturn(); }

void Session::SaveEnterKeySettings()
{
    if (config_ != nullptr)
        config_->SaveEnterKeySettings();
}

void Session::ExecEnterKey() { blocks_.ExecEnterKey(); }

bool Session::FormsShowObjects() { return observer_->FormsShowObjects(); }

void Session::FormsEnter() { observer_->FormsEnter(); }

void Session::TabPanel(bool shown) { observer_->ShowTabPanel(shown); }

void Session::DestinationsChanged() { observer_->DestinationsChanged(); }

void Session::ExitTerminal() { observer_->ExitTerminal(); }

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

void Session::FocusDisplay() { observer_->FocusDisplay(); }

void Session::EndExtendCharEntry() { keyboard_.TurnOffExtendCharMode(); }

void Session::ControlCharactersChanged() { observer_->ControlCharactersChanged(); }

// ---------------------------------------------------------------------------
// The side files: the record-set soft keys switch them, the text writer
// feeds them, the window prints and shows them

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
    if (conn_->IsTelnet())
        receive_.AppendLocal("S\r");
}

void Session::PrintFile(const std::filesystem::path& file) { observer_->PrintFile(file); }

void Session::OpenDocument(const std::filesystem::path& file) { observer_->OpenDocument(file); }

std::optional<std::filesystem::path> Session::AskFileName(std::string_view title)
{
    return observer_->AskFileName(title);
}

bool Session::AskYesNo(std::string_view title, std::string_view text) { return observer_->AskYesNo(title, text); }

void Session::ShowWindow(const logging::ErrorWindow& error) { observer_->ShowError(error); }

// ---------------------------------------------------------------------------
// The log-on script

// DBUG switches the communications log.
void Session::TraceSwitch(bool on) { SwitchCommunicationsLog(on); }

void Session::Caption(const std::string& caption) { observer_->ScriptCaption(caption); }

void Session::StartupStatus(const std::string& text) { observer_->StartupStatus(text); }

void Session::StopStartupTimer() { observer_->StopStartupTimer(); }

void Session::DisplayTerminal() { observer_->DisplayTerminal(); }

bool Session::FormsModeReady() { return observer_->FormsModeReady(); }

// XMIT echoes what it sends where the Telnet server leaves echoing to us.
bool Session::TelnetLocalEcho()
{
    return conn_->IsTelnet() && conn_->TransportOpen() && tx_.LocalEchoRequested && !tx_.EchoSuppressionOffered;
}

} // namespace kalvor
