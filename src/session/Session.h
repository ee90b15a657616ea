// One terminal session: the engine, the receive pass, the transmit path and
// the keyboard-side subsystems of one terminal window, wired together. The
// desktop program and the headless terminal both drive a Session: they feed
// host data, run a receive tick every 25 ms, and read display memory.
#pragma once

#include "comms/Clock.h"
#include "comms/Connection.h"
#include "comms/ReceivePass.h"
#include "comms/TraceSink.h"
#include "comms/Transmitter.h"
#include "engine/EscapeLog.h"
#include "engine/Terminal.h"
#include "keyboard/BlockTransmission.h"
#include "keyboard/ControlCharacters.h"
#include "keyboard/FormatMode.h"
#include "keyboard/FunctionKeys.h"
#include "keyboard/Handshake.h"
#include "keyboard/Keyboard.h"
#include "logging/CommunicationsLog.h"
#include "logging/ErrorReport.h"
#include "logging/PrinterLog.h"
#include "logging/RecordFiles.h"
#include "script/ScriptInterpreter.h"
#include "session/ConfigurationHooks.h"
#include "session/SessionObserver.h"

#include <string_view>

namespace kalvor {

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

    void SetConnection(Connection& connection);
    Connection& CurrentConnection() { return *conn_; }

    Terminal& Term() { return term_; }
    TerminalState& State() { return term_.State; }
    DisplayMemory& Memory() { return term_.State.Mem; }
    ReceivePass& Receive() { return receive_; }
    Transmitter& Transmit() { return tx_; }
    Handshake& Handshaking() { return handshake_; }
    FormatMode& Fields() { return formatMode_; }
    BlockTransmission& Blocks() { return blocks_; }
    Keyboard& Keys() { return keyboard_; }
    FunctionKeys& FuncKeys() { return funcKeys_; }
    ControlCharacters& Controls() { return controls_; }
    Clock& GetClock() { return clock_; }

    // Side files and the error report.
    logging::ErrorReport& Errors() { return errors_; }
    logging::CommunicationsLog& CommLog() { return commLog_; }
    logging::PrinterLog& PrinterLogging() { return printerLog_; }
    logging::RecordFiles& Records() { return records_; }
    // The log-on script, run by the receive pass while connected.
    script::ScriptInterpreter& Script() { return script_; }

    // One tick of the receive timer: a receive pass, then queued serial output.
    void Tick();
    // True while something waits on the clock or in the buffers.
    bool Busy() const;

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
    void BottomLineFeed(std::string_view completed, std::string_view leaving) override;
    void PrintScreen() override;
    void DeviceControl(std::string_view seq) override;
    void FormsEscape(std::string_view seq) override;
    FormatModeHandler* FormatFields() override { return &formatMode_; }

    // ReceiveHooks
    bool ScriptRunning() override;
    void RunScriptStep() override { script_.Step(); }
    void ScriptIdleStep() override { script_.IdleStep(); }

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

    Clock& clock_;
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
    kalvor::EscapeLog escapeLog_;
    logging::PrinterLog printerLog_;
    logging::RecordFiles records_;
    script::ScriptInterpreter script_;
    int bells_ = 0;
    bool formatModeShown_ = false; // format mode as the fields were last repainted
};

} // namespace kalvor
