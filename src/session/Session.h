// One terminal session: the engine, the receive pass, the transmit path and
// the keyboard-side subsystems of one terminal window, wired together. The
// desktop program and the headless terminal both drive a Session: they feed
// host data, run a receive tick every 25 ms, and read display memory.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/Connection.h"
#include "comms/ReceivePass.h"
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

#include <filesystem>
#include <functional>
#include <string_view>

namespace kalvor {

class Session final : private TerminalHooks, private ReceiveHooks {
public:
    static constexpr int kTickMs = 25;

    // Without a trace of its own choosing the session traces into its
    // communications log ("temp/zkdebug.txt", off until switched on).
    explicit Session(Clock& clock, TraceSink* trace = nullptr);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

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

    // Observers for the window (or the headless terminal).
    std::function<void()> OnBell;
    std::function<void()> OnRepaint;
    std::function<void()> OnStateChanged;
    // A file to show in the desktop's text editor (diagnostic dumps) or to print.
    std::function<void(const std::filesystem::path&)> OnOpenDocument;
    std::function<void(const std::filesystem::path&)> OnPrintFile;
    // ESC % c: the host chose the Telnet variant (0 standard, 1 advanced).
    std::function<void(int variant)> OnTelnetVariant;
    // After a hard reset: the configuration is applied again.
    std::function<void()> OnHardReset;
    // ESC 0: print the screen.
    std::function<void()> OnPrintScreen;
    // ESC % k E: the host ends the program (the window closes).
    std::function<void()> OnExitRequested;
    // ESC % x: the host chose a colour scheme, kept in the configuration.
    std::function<void()> OnSavePreferences;
    // ESC & k I: the serial line's data bits and parity follow.
    std::function<void()> OnEightBitDataChanged;

    int BellCount() const { return bells_; }

private:
    // TerminalHooks
    void Transmit(std::string_view text, bool lineFeedRequest) override;
    void Bell() override;
    void HostDc1() override;
    void HostRequest(int requestType) override;
    void HoldInterpretation(int milliseconds) override;
    void LogText(std::string_view text) override;
    void RecordText(std::string_view text) override;
    void Repaint() override;
    bool MoreDataWaiting() override;
    void StateChanged() override;
    void SoftReset() override;
    void HardReset(bool functionKeys) override;
    void DefineFunctionKey(std::string_view seq) override;
    int FunctionKeyControl(std::string_view seq) override;
    void ApplyFunctionKeyConfig() override;
    int DefineEnterKey(std::string_view seq) override;
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

    bool FillRequest(int requestType, std::string& buffer);
    void WireSideFiles();
    void EndRecordMode();
    void WireScript();

    Clock& clock_;
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
    int bells_ = 0;
    bool formatModeShown_ = false; // format mode as the fields were last repainted
};

} // namespace kalvor
