#include "session/Session.h"

#include "base/ProgramFolder.h"
#include "engine/DisplayDump.h"
#include "engine/ExtendedChars.h"
#include "engine/Resets.h"

namespace kalvor {

Session::Session(Clock& clock, TraceSink* trace)
    : clock_(clock),
      commLog_(clock, errors_),
      trace_(trace != nullptr ? trace : &commLog_),
      conn_(&none_),
      term_(static_cast<TerminalHooks&>(*this)),
      tx_(term_.State, *conn_, clock, trace_),
      receive_(term_, tx_, *conn_, clock, static_cast<ReceiveHooks&>(*this), trace_),
      handshake_([this](std::string_view text, bool lf) { tx_.XmitString(text, lf); }),
      formatMode_(term_.State),
      blocks_(term_, handshake_, [this](std::string_view text, bool lf) { tx_.XmitString(text, lf); }),
      keyboard_(term_, tx_, receive_, funcKeys_, controls_),
      funcKeys_(term_, keyboard_, tx_, handshake_),
      controls_(tx_, *conn_, clock, trace_),
      printerLog_(errors_),
      records_(errors_),
      script_(receive_, tx_, clock, trace_)
{
    handshake_.SetFiller([this](int request, std::string& buffer) { return FillRequest(request, buffer); });
    InitExtendChar(term_.State);
    controls_.LocalEchoInForce = [this] { return keyboard_.LocalEcho; };
    controls_.EndExtendCharEntry = [this] { keyboard_.TurnOffExtendCharMode(); };

    // Format mode and block transmission.
    formatMode_.ResetBlockStart = [this] { blocks_.ResetBlockStart(); };
    blocks_.NetworkConnection = conn_->Network();
    blocks_.LocalEcho = [this] { return keyboard_.LocalEcho; };
    blocks_.ShowLocal = [this](std::string_view text) { keyboard_.ShowLocal(keyboard_.LocalText(text)); };
    blocks_.SendCursorAddress = [this] { return funcKeys_.SendCursorAddress; };
    blocks_.EchoPendingUserKey = [this] { funcKeys_.EchoPendingUserKey(); };
    funcKeys_.ExecEnterKey = [this] { blocks_.ExecEnterKey(); };
    keyboard_.ModifyModeReturn = [this] { blocks_.ModifyModeReturn(); };
    WireSideFiles();
    WireScript();
}

// What a request sends, built when it goes out (at once or on the DC1).
bool Session::FillRequest(int requestType, std::string& buffer) { return blocks_.FillRequest(requestType, buffer); }

void Session::HostRequest(int requestType)
{
    // Host requests are data of kind 2 under the handshake.
    handshake_.HostRequest(requestType, 2, term_.State);
}

bool Session::MoreDataWaiting() { return !receive_.CommBuffer().Empty(); }

void Session::StateChanged()
{
    funcKeys_.RefreshModeLabels();
    if (term_.State.FormatMode != formatModeShown_) {
        formatModeShown_ = term_.State.FormatMode;
        formatMode_.FormUpdateStatus();
    }
    if (OnStateChanged)
        OnStateChanged();
}

void Session::SoftReset()
{
    Bell();
    keyboard_.TurnOffExtendCharMode();
    const bool recording = term_.State.RecordMode != 0;
    ResetSoft(term_);
    if (recording)
        records_.TurnOffRecordMode(); // the print and record files end with record mode
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
    if (OnHardReset)
        OnHardReset();
    StateChanged();
}

void Session::DefineFunctionKey(std::string_view seq) { funcKeys_.DefineUserKey(seq); }

int Session::FunctionKeyControl(std::string_view seq) { return funcKeys_.EscFuncKeyCntl(seq); }

void Session::ApplyFunctionKeyConfig() { funcKeys_.ApplyFunctionKeyConfig(); }

void Session::TelnetVariant(int variant)
{
    if (OnTelnetVariant)
        OnTelnetVariant(variant);
}

void Session::SavePreferences()
{
    if (OnSavePreferences)
        OnSavePreferences();
}

void Session::EightBitDataChanged()
{
    if (OnEightBitDataChanged)
        OnEightBitDataChanged();
}

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
    if (OnBell)
        OnBell();
}

void Session::HostDc1()
{
    // The DC1 that completes a waiting request unlocks the keyboard.
    const bool locked = term_.State.KeyboardLocked;
    blocks_.OnHostDc1();
    if (locked)
        keyboard_.RunDeferredFunctionKey();
}

void Session::HoldInterpretation(int milliseconds) { receive_.HoldInterpretation(milliseconds); }

void Session::Repaint()
{
    if (OnRepaint)
        OnRepaint();
}

} // namespace kalvor

namespace kalvor {

int Session::DefineEnterKey(std::string_view seq) { return keyboard_.EscDefineEnterKey(seq); }

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
    if (OnPrintFile)
        OnPrintFile(escapeLog_.Path());
}

void Session::DumpDisplay(int startRow, int endRow)
{
    if (DisplayTextBuffers(term_.State.Mem, startRow, endRow, ProgramFolder()) && OnOpenDocument)
        OnOpenDocument(ProgramFolder() / "temp" / "TxtBufs.txt");
}

} // namespace kalvor

namespace kalvor {

// The communications log, printer logging and record mode: the soft keys
// switch them, the text writer feeds them, the window prints and shows them.
void Session::WireSideFiles()
{
    errors_.SetDebugLog(&commLog_);
    commLog_.OpenInEditor = [this](const std::filesystem::path& p) {
        if (OnOpenDocument)
            OnOpenDocument(p);
    };
    const auto print = [this](const std::filesystem::path& p) {
        if (OnPrintFile)
            OnPrintFile(p);
    };
    printerLog_.PrintFile = print;
    records_.PrintFile = print;
    funcKeys_.TurnOnLogging = [this](int logType) { printerLog_.TurnOnLogging(logType); };
    funcKeys_.SwitchLogType = [this](int logType) { printerLog_.SwitchLogType(logType); };
    funcKeys_.TurnOffLogging = [this](int logType) { printerLog_.TurnOffLogging(logType, term_.State.Mem); };
    funcKeys_.TurnOnRecordMode = [this] {
        records_.TurnOnRecordMode(term_.State.OutputRouting & (FunctionKeys::kToPrinter | FunctionKeys::kToFile));
    };
    funcKeys_.TurnOffRecordMode = [this] { EndRecordMode(); };
}

// TurnOffRecordMode: the record files are finished, then the host is told
// with "S" CR (shown locally too on a Telnet connection).
void Session::EndRecordMode()
{
    records_.TurnOffRecordMode();
    tx_.XmitString("S\r", false);
    if (conn_->IsTelnet())
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

// The script runs while connected; DBUG switches the communications log, and
// XMIT echoes what it sends where the Telnet server leaves echoing to us.
void Session::WireScript()
{
    script_.Events.TraceSwitch = [this](bool on) {
        if (on)
            commLog_.TurnOn();
        else
            commLog_.TurnOff();
    };
    script_.Events.TelnetLocalEcho = [this] {
        return conn_->IsTelnet() && conn_->TransportOpen() && tx_.LocalEchoRequested && !tx_.EchoSuppressionOffered;
    };
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

void Session::PrintScreen()
{
    if (OnPrintScreen)
        OnPrintScreen();
}

// ESC & p: device 9 starts record mode in its recording state (2), with the
// record files of the destinations the output routing names.
void Session::DeviceControl(std::optional<int> device)
{
    if (device != 9 || term_.State.RecordMode == 2)
        return;
    if (term_.State.RecordMode == 0)
        records_.TurnOnRecordMode(term_.State.OutputRouting & (FunctionKeys::kToPrinter | FunctionKeys::kToFile));
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
        if (OnExitRequested)
            OnExitRequested();
    }
}

} // namespace kalvor
