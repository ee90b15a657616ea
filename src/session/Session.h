// One terminal session: the engine, the receive pass, the transmit path and
// the keyboard-side subsystems of one terminal window, wired together. The
// desktop program and the headless terminal both drive a Session: they feed
// host data and keys, run a receive tick every 25 ms, read display memory
// and the terminal state, and hear from it through their SessionObserver.
// The subsystems themselves stay inside; tests reach them through
// SessionInternals (tests/support).
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/Connection.h"
#include "comms/ReceivePass.h"
#include "comms/TelnetProtocol.h"
#include "comms/Transmitter.h"
#include "engine/Terminal.h"
#include "keyboard/BlockTransmission.h"
#include "keyboard/ControlCharacters.h"
#include "keyboard/FormatMode.h"
#include "keyboard/FunctionKeys.h"
#include "keyboard/Handshake.h"
#include "keyboard/Keyboard.h"
#include "logging/CommunicationsLog.h"
#include "logging/ErrorReport.h"
#include "logging/EscapeLog.h"
#include "logging/PrinterLog.h"
#include "logging/RecordFiles.h"
#include "script/ScriptInterpreter.h"
#include "session/FormsLink.h"
#include "session/ConfigurationHooks.h"
#include "session/SessionObserver.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace kalvor {

class Session;

namespace config {
struct Settings;
void ApplySettings(const Settings& settings, Session& session);
void CollectSettings(const Session& session, Settings& settings);
} // namespace config

class Session final : private TerminalHooks,
                      private ReceiveHooks,
                      private HandshakeEvents,
                      private FormatModeEvents,
                      private BlockTransmissionEvents,
                      private KeyboardEvents,
                      private FunctionKeyEvents,
                      private ControlCharacterEvents,
                      private script::ScriptEvents,
                      private logging::SideFileEvents,
                      private logging::ErrorDisplay {
public:
    static constexpr int kTickMs = 25;

    // Without a trace of its own choosing the session traces into its
    // communications log ("temp/zkdebug.txt", off until switched on).
    explicit Session(Clock& clock, TraceSink* trace = nullptr);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The window or the headless terminal; null: none (the defaults of
    // SessionObserver, errors on the standard error stream).
    void SetObserver(SessionObserver* observer);
    // The configuration that records the host's changes; null: none.
    void SetConfiguration(ConfigurationHooks* configuration) { config_ = configuration; }

    // --- the receive timer

    // One tick: a receive pass, then queued serial output.
    void Tick();
    // A receive pass run as soon as data arrived, between ticks (after
    // SessionObserver::DataArrived). It interprets what has arrived in the
    // order of arrival, like the tick's pass; while a log-on script runs it
    // does nothing, so that the script's waits see the data a tick gathers.
    void ArrivalPass();
    // True while something waits on the clock or in the buffers.
    bool Busy() const;
    // No received data waits to be interpreted.
    bool ReceiveBufferEmpty() const { return receive_.CommBuffer().Empty(); }

    // --- the connection

    void SetConnection(Connection& connection);
    const Connection& CurrentConnection() const { return *conn_; }
    // What the connections deliver into and the switches the Telnet
    // negotiation keeps (echo, echo suppression, remote flow control).
    ReceiveInput& Input() { return receive_; }
    telnet::EchoSwitches TelnetSwitches();
    // A new connection: remote flow control starts off.
    void ResumeNetworkFlow() { receive_.NetworkXoff = false; }
    // The trace the session and its connections write (the communications
    // log unless another was given).
    TraceSink& Trace() { return *trace_; }
    // The communications log switched on or off (off: the file is handed to
    // the text editor when `openInEditor`).
    void SwitchCommunicationsLog(bool on, bool openInEditor = true);
    bool CommunicationsLogOn() const { return commLog_.Tracing(); }

    // --- host data in

    // Text interpreted exactly like host output, on the next receive pass
    // (local mode, a replay, the connections' messages).
    void AppendLocal(std::string_view text) { receive_.AppendLocal(text); }
    // A network data event.
    void DeliverNetworkData(std::string_view bytes) { receive_.DeliverNetworkData(bytes); }
    // Host text written into display memory at once (WriteHostText).
    void WriteHostText(std::string_view text) { term_.Writer.Write(text); }
    std::size_t ReceiveBacklog() const { return receive_.CommBuffer().Size(); }

    // --- keys in

    // Form_KeyDown, Form_KeyPress, Form_KeyUp of the keyboard dispatcher.
    bool KeyDown(int keyCode, int shift, bool numericPad = false)
    {
        return keyboard_.KeyDown(keyCode, shift, numericPad);
    }
    void KeyPress(int character) { keyboard_.KeyPress(character); }
    void KeyUp(int keyCode, int shift) { keyboard_.KeyUp(keyCode, shift); }
    // The character of a Ctrl+letter key: 1..26 while control characters
    // are transmitted, else 0 (a menu shortcut).
    int CtrlLetterCharacter(int keyCode) const { return controls_.CtrlLetterCharacter(keyCode); }
    // Soft-key button 0..11 of the current set clicked with modifier state `shift`.
    void PressSoftKey(int button, int shift) { funcKeys_.ExecFuncKey(funcKeys_.CurrentSet(), button, shift); }
    // Key `index` of key set `set`, as the menus press it.
    void ExecFuncKey(int set, int index, int shift) { funcKeys_.ExecFuncKey(set, index, shift); }
    // SO or SI typed from the menu, ending extended-character entry first.
    void SelectLineDrawing(bool on);
    // A local command as its two-character escape sequence ESC `command`
    // (the tab-setting panel).
    void LocalEscape(char command) { term_.Escapes.Dispatch(std::string("\x1b") + command); }
    // The tab-setting panel closed from the window.
    void CloseTabPanel() { funcKeys_.SetTabPanel(false); }
    void SendBreak() { controls_.SendBreak_Click(); }
    void SetTransmitControlCharacters(bool transmit);
    bool TransmitControlCharacters() const { return controls_.TransmitControlCharacters(); }
    // The insert-character switch, as the menu toggles it.
    void ToggleInsertCharacter() { term_.Editing.SetInsertStatus(); }
    // Local echo of typed text (the connection decides).
    void SetLocalEcho(bool on) { keyboard_.LocalEcho = on; }
    const Keyboard::EnterKeySettings& EnterKeys() const { return keyboard_.Enter; }

    // --- the soft keys

    const SoftKeyView& SoftKeys() const { return funcKeys_; }
    // The user-key dialog and the configuration set a user key.
    void SetUserKey(int key, std::string_view line1, std::string_view line2, int attribute, std::string_view text)
    {
        funcKeys_.SetUserKey(key, line1, line2, attribute, text);
    }

    // --- display memory and the terminal state out

    const TerminalState& State() const { return term_.State; }
    const DisplayMemory& Memory() const { return term_.State.Mem; }
    // The rows changed since the last repaint have been drawn.
    void RepaintDone() { term_.State.Mem.ClearRepaint(); }
    // Every row of the screen is drawn again on the next repaint.
    void RepaintAll() { term_.State.Mem.MarkAllChanged(); }
    // The vertical scroll bar over display memory.
    int VScrollMaximum() const { return term_.Scroll.VScrollMaximum(); }
    int VScrollValue() const { return term_.Scroll.VScrollValue(); }
    void ScrollBarMoved(int value) { term_.Scroll.ScrollBarMoved(value); }

    // --- the window's commands and settings

    void SoftResetTerminal() { SoftReset(); }
    // Hard reset from the menu; `functionKeys` also puts the function keys back.
    void HardResetTerminal(bool functionKeys) { HardReset(functionKeys); }
    // The screen cleared (and an active selection with it).
    void ClearDisplay();
    void SetScreenWidth(int cols) { term_.State.Mem.SetWidth(cols); }
    // The window's height in rows; the cursor stays on the screen.
    void SetScreenRows(int rows);
    // The colour scheme and inverse screen, with the full palette or the
    // reduced one of a display with few colours.
    void ApplyColorScheme(int scheme, bool inverse, bool fullPalette);
    void SetHostCharacterSet(bool roman8);
    void SetRemoteMode(bool on);
    // A tab stop set or cleared from the tab ruler.
    void ToggleTabStop(int col);
    // The terminal's switches as the preferences keep them (SaveTermConfig).
    void SetTerminalSettings(const TerminalSettings& settings);
    friend void config::ApplySettings(const config::Settings& settings, Session& session);
    friend void config::CollectSettings(const Session& session, config::Settings& settings);

    // --- the Edit menu's commands (src/edit) on display memory and the host

    // Character mode: remote, without a modify or block mode bit.
    bool CharacterMode() const { return keyboard_.CharacterMode(); }
    // The host's DC1s so far: pasted lines wait for the next one.
    std::uint64_t HostDc1Count() const { return hostDc1s_; }
    // A pasted line: XmitString with the line-feed request, shown too under
    // local echo.
    void TransmitPastedLine(std::string_view line);
    // Latin-1 text in the host's character set, interpreted at once like host
    // output (pasted text, a replacement).
    void InterpretLocal(std::string_view text) { keyboard_.ShowLocal(keyboard_.LocalText(text)); }
    // The window with `top` on its top line and the cursor on ring row
    // `ring`, column `col`; the screen is drawn again.
    void PlaceCursor(int top, int ring, int col);
    // Display memory taken back to `saved` (an undo); the screen is drawn again.
    void RestoreMemory(const DisplayMemory& saved);
    // The local editing routines: delete key (a modifier: the line), clear
    // to the end of the line, home key, insert key (Ctrl: a line),
    // insert-character mode.
    void DeleteKey(int shift) { term_.Editing.ExecDeleteKey(shift); }
    void ClearLine() { term_.Editing.ClearLine_Click(); }
    void HomeKey(int shift) { term_.Editing.ExecHomeKey(shift); }
    void InsertKey(int shift) { term_.Editing.ExecInsertKey(shift); }
    void SetInsertMode(bool on) { term_.Editing.SetInsertMode(on); }
    void EndExtendedEntry() { keyboard_.TurnOffExtendCharMode(); }
    // The copy command's text in format mode.
    std::string FormCopy() const { return formatMode_.FormCopy(); }

    // --- the log-on script, run by the receive pass while connected

    // Prepares `file` as the working script and reads its target; true when
    // the script runs.
    [[nodiscard]] bool PrepareScript(const std::filesystem::path& file) { return script_.Prepare(file); }
    // The working script prepared earlier is loaded; true when it runs.
    [[nodiscard]] bool LoadScript() { return script_.Load(); }
    const script::ScriptState& LogonScript() const { return script_.State(); }
    const std::filesystem::path& WorkingScript() const { return script_.WorkingScript(); }

    // --- the forms mode

    // The flags, form files, value-line path and host pacing the Canvo
    // window shares with the terminal.
    FormsLink& Forms() { return forms_; }
    // The receive buffer, read by the Canvo window's receive loop while it is open.
    ByteQueue& FormsReceiveBuffer() { return receive_.CommBuffer(); }
    // ESC % k 1 U: the user may not close the windows; a hard reset clears it.
    bool ExitProtection() const { return forms_.Flags.ExitProtection; }

    int BellCount() const { return bells_; }

private:
    // TerminalHooks
    void Transmit(std::string_view text, bool lineFeedRequest) override;
    void Bell() override;
    void HostDc1() override;
    void HostRequested(HostRequest request) override;
    void HoldInterpretation(int milliseconds) override;
    void LogText(std::string_view text) override;
    void RecordText(std::string_view text) override;
    void Repaint() override;
    bool MoreDataWaiting() override;
    void StateChanged() override;
    void SoftReset() override;
    void HardReset(bool functionKeys) override;
    void DefineFunctionKey(std::string_view seq) override;
    KeyControlResult FunctionKeyControl(std::string_view seq) override;
    void ApplyFunctionKeyConfig() override;
    bool DefineEnterKey(std::string_view seq) override;
    void EscapeLog(std::string_view text) override;
    void EscapeLogging(bool on) override;
    void DumpDisplay(int startRow, int endRow) override;
    void TelnetVariant(int variant) override;
    void SavePreferences() override;
    void EightBitDataChanged() override;
    void BottomLineFeed(std::string_view completed, std::string_view leaving) override;
    void PrintScreen() override;
    void DeviceControl(std::optional<int> device) override;
    void FormsEscape(std::string_view seq) override;
    FormatModeHandler* FormatFields() override { return &formatMode_; }

    // ReceiveHooks
    bool ScriptRunning() override;
    void RunScriptStep() override { script_.Step(); }
    void ScriptIdleStep() override { script_.IdleStep(); }
    void DataArrived() override { observer_->DataArrived(); }
    bool FormDownloadActive() override { return forms_.Download.Receiving(); }
    void DivertFormData(ByteQueue& buffer) override;
    bool FormsWindowOpen() override { return observer_->FormsWindowOpen(); }

    // The observer of a session that has none.
    class Unobserved final : public SessionObserver {
    public:
        void ShowError(const logging::ErrorWindow& error) override { logging::PrintErrorWindow(error); }
        void ScriptCaption(const std::string&) override {}
        void StartupStatus(const std::string&) override {}
        void StopStartupTimer() override {}
        void DisplayTerminal() override {}
    };

    // HandshakeEvents (and Transmit above)
    bool FillRequest(HostRequest request, std::string& buffer) override;
    // FormatModeEvents
    void ResetBlockStart() override;
    // BlockTransmissionEvents
    bool LocalEcho() override;
    void ShowLocal(std::string_view text) override;
    bool SendCursorAddress() override;
    void EchoPendingUserKey() override;
    UserKeyTable UserKeys() override;
    // KeyboardEvents
    bool SelectionActive() override;
    void ClipCut() override;
    void InitSelect() override;
    bool FormsHoldKeyboard() override;
    void FormsTab(int shift) override;
    void FormsNavigate(FieldDirection direction) override;
    void ModifyModeReturn() override;
    void SaveEnterKeySettings() override;
    // FunctionKeyEvents
    void ExecEnterKey() override;
    bool FormsShowObjects() override;
    void FormsEnter() override;
    void TabPanel(bool shown) override;
    void DestinationsChanged() override;
    void TurnOnRecordMode() override;
    void TurnOffRecordMode() override;
    void TurnOnLogging(int logType) override;
    void TurnOffLogging(int logType) override;
    void SwitchLogType(int logType) override;
    void ExitTerminal() override;
    void SaveTermConfig(bool save) override;
    void UserKeyDefined(int key) override;
    void ApplyConfiguration() override;
    void FocusDisplay() override;
    // ControlCharacterEvents (and LocalEcho, FocusDisplay above)
    void EndExtendCharEntry() override;
    void ControlCharactersChanged() override;
    // script::ScriptEvents
    void TraceSwitch(bool on) override;
    void Caption(const std::string& caption) override;
    void StartupStatus(const std::string& text) override;
    void StopStartupTimer() override;
    void DisplayTerminal() override;
    bool FormsModeReady() override;
    bool TelnetLocalEcho() override;

    // logging::SideFileEvents
    void PrintFile(const std::filesystem::path& file) override;
    void OpenDocument(const std::filesystem::path& file) override;
    std::optional<std::filesystem::path> AskFileName(std::string_view title) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;
    // logging::ErrorDisplay
    void ShowWindow(const logging::ErrorWindow& error) override;

    Unobserved unobserved_;
    SessionObserver* observer_ = &unobserved_;
    ConfigurationHooks* config_ = nullptr;
    logging::ErrorReport errors_;
    logging::CommunicationsLog commLog_;
    TraceSink* trace_;
    NoConnection none_;
    Connection* conn_;
    Terminal term_;
    Transmitter tx_;
    ReceivePass receive_;
    Handshake handshake_;
    FormatMode formatMode_;
    BlockTransmission blocks_;
    Keyboard keyboard_;
    FunctionKeys funcKeys_;
    ControlCharacters controls_;
    logging::EscapeLog escapeLog_;
    logging::PrinterLog printerLog_;
    logging::RecordFiles records_;
    script::ScriptInterpreter script_;
    FormsLink forms_;
    int bells_ = 0;
    std::uint64_t hostDc1s_ = 0;
    bool formatModeShown_ = false; // format mode as the fields were last repainted

    // The tests' one way in (tests/support/SessionInternals.h).
    friend class SessionInternals;
};

} // namespace kalvor
