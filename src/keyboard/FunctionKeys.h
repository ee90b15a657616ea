// The twelve soft keys: nine key sets of thirteen keys with two label lines
// and an enabled flag each, the eight user keys f1..f8 (label, attribute,
// string) that the host defines with ESC & f, the key-set control of ESC & j
// with the host message panel, and what every key of every set does.
//
// F1..F8 carry the labels of the current set; F9..F12 are always the fixed
// keys of set 0: extended character, user keys, system keys, Enter.
//
// Everything the window shows (button labels, enabled flags, labels or the
// message panel, the current set) is plain state read here; every change is
// announced through the terminal's StateChanged hook. What the keys do
// outside the keyboard goes through FunctionKeyEvents.
#pragma once

#include "comms/Transmitter.h"
#include "engine/Terminal.h"
#include "keyboard/Handshake.h"

#include <array>
#include <string>
#include <string_view>

namespace kalvor {

class Keyboard;

// What the function keys ask of the program around them: block
// transmission's Enter, the side files, the configuration and the window.
// The session implements it.
class FunctionKeyEvents {
public:
    virtual void ExecEnterKey() = 0;             // the Enter function of block transmission
    virtual bool FormsShowObjects() = 0;         // the forms mode shows objects: Enter is its own
    virtual void FormsEnter() = 0;               // the forms-mode Enter
    virtual void TabPanel(bool shown) = 0;       // show or hide the tab-setting panel
    virtual void DestinationsChanged() = 0;      // output routing bits changed
    virtual void TurnOnRecordMode() = 0;         // the record files of the routing's destinations open
    virtual void TurnOffRecordMode() = 0;        // they close, and the host is told
    virtual void TurnOnLogging(int logType) = 0; // printer logging: 1 bottom, 2 top
    virtual void TurnOffLogging(int logType) = 0;
    virtual void SwitchLogType(int logType) = 0;
    virtual void ExitTerminal() = 0;            // Alt+F4
    virtual void SaveTermConfig(bool save) = 0; // ESC & f b: keep (true) or restore the preferences
    virtual void UserKeyDefined(int key) = 0;   // the key's configuration line is rewritten
    virtual void ApplyConfiguration() = 0;      // the user keys of the configuration
    virtual void FocusDisplay() = 0;            // the focus returns to the display

protected:
    ~FunctionKeyEvents() = default;
};

struct KeyLabel {
    std::string Line1;
    std::string Line2;
    bool operator==(const KeyLabel&) const = default;
};

// What the window reads of the soft keys: the soft-key bar, the message
// panel, the menus and the user-key dialog. FunctionKeys implements it.
class SoftKeyView {
public:
    virtual int CurrentSet() const = 0;
    virtual const KeyLabel& Label(int set, int key) const = 0;
    // What button 0..11 shows: keys 8..11 always from set 0.
    virtual const KeyLabel& ButtonLabel(int button) const = 0;
    virtual bool ButtonEnabled(int button) const = 0;
    virtual bool LabelsShown() const = 0;
    virtual bool MessagePanelShown() const = 0;
    virtual const std::string& MessageText() const = 0;
    virtual bool DefinitionMenuEnabled() const = 0;
    virtual bool TabPanelShown() const = 0;
    virtual const std::string& UserKeyString(int key) const = 0;
    virtual int UserKeyAttribute(int key) const = 0;

protected:
    ~SoftKeyView() = default;
};

class FunctionKeys final : public SoftKeyView {
public:
    static constexpr int kSets = 9;
    static constexpr int kKeys = 13;
    static constexpr int kButtons = 12;
    static constexpr int kUserKeys = 8;
    static constexpr int kLabelLineLength = 8;
    static constexpr int kMaxLabelLength = 16;

    // Key sets.
    static constexpr int kSystemSet = 0; // system main menu
    static constexpr int kDeviceSet = 1; // device control, destinations
    static constexpr int kRecordSet = 2; // device control, recording and logging
    static constexpr int kModesSet = 3;  // modes
    static constexpr int kConfigSet = 4; // configuration (labels only)
    static constexpr int kUserSet = 5;   // user keys f1..f8

    // The fixed keys of set 0.
    static constexpr int kExtendCharKey = 8;  // F9
    static constexpr int kUserKeysKey = 9;    // F10
    static constexpr int kSystemKeysKey = 10; // F11
    static constexpr int kEnterKey = 11;      // F12

    // User-key attributes.
    static constexpr int kNormal = 0;       // typed character by character
    static constexpr int kLocal = 1;        // carried out on the display only
    static constexpr int kTransmitOnly = 2; // sent under the handshake, remote mode only

    // Destination bits of the output routing.
    static constexpr int kToDisplay = 1;
    static constexpr int kToPrinter = 2;
    static constexpr int kToFile = 4;

    FunctionKeys(Terminal& terminal, Keyboard& keyboard, Transmitter& transmitter, Handshake& handshake,
                 FunctionKeyEvents& events);
    FunctionKeys(const FunctionKeys&) = delete;
    FunctionKeys& operator=(const FunctionKeys&) = delete;

    // All tables back to their defaults.
    void InitFunctionKeys();
    // Makes `path` the current key set.
    void SetFunctionKeys(int path);
    // `enableFlag` 1 enables key (path, funcKey), 2 disables it, 0 toggles it.
    void EnableFuncKey(int path, int funcKey, int enableFlag);
    // Shows the key labels (labels-shown flag set) or the host message panel.
    void FuncKeyVisibility();
    // Carries out key `index` (0..11) of set `funcPath` with modifier state `shift`.
    void ExecFuncKey(int funcPath, int index, int shift);
    // Sends or executes a user-key string by its attribute (0, 1 or 2).
    void FuncKeyXmit(std::string_view funcKeyCmd, int funcKeyAttribute);

    // ESC & f, complete with its label and string.
    void DefineUserKey(std::string_view seq);
    // ESC & j, complete with its message: NeedMore while characters of the
    // message are missing, Invalid for a bad message length or command.
    KeyControlResult EscFuncKeyCntl(std::string_view seq);
    // ESC k and after a hard reset: the user keys of the configuration again.
    void ApplyFunctionKeyConfig();
    // The star marks of the mode labels, brought in step with the terminal state.
    void RefreshModeLabels();
    // The host's DC1 lets a waiting transmit-only user key go out: its echo.
    void EchoPendingUserKey();

    // The host message panel is closed and cleared; with the status-line
    // setting 0 or 1 the labels are shown again.
    void CloseMessagePanel();
    // The tab-setting panel (ShowTabPanel, TabCancel_Click).
    void SetTabPanel(bool shown);

    // The user-key dialog and the configuration set a user key.
    void SetUserKey(int key, std::string_view line1, std::string_view line2, int attribute, std::string_view text);
    // ESC "p" .. ESC "w" for keys 0..7.
    static std::string DefaultUserKeyString(int key);
    static KeyLabel DefaultLabel(int set, int key);

    // State the window reads (SoftKeyView).
    int CurrentSet() const override { return currentSet_; }
    const KeyLabel& Label(int set, int key) const override;
    const KeyLabel& ButtonLabel(int button) const override;
    bool Enabled(int set, int key) const;
    bool ButtonEnabled(int button) const override;
    bool LabelsShown() const override { return labelsShown_; }
    bool MessagePanelShown() const override { return messageShown_; }
    const std::string& MessageText() const override { return message_; }
    int StatusLineSetting() const { return statusLine_; }
    bool DefinitionMenuEnabled() const override { return definitionMenu_; }
    bool TabPanelShown() const override { return tabPanel_; }
    const std::string& UserKeyString(int key) const override;
    int UserKeyAttribute(int key) const override;

    // Settings kept in step by the subsystems around.
    bool SendCursorAddress = false; // every block and transmit-only key starts with the cursor address
    int LogType = 0;                // 0 no printer log, 1 bottom log, 2 top log

private:
    void ResetTables();
    void SystemKey(int index);
    void DeviceKey(int index);
    void RecordKey(int index);
    void ModeKey(int index);
    void FixedKey(int index);
    void MemoryLockKey();
    void ToggleDestination(int bit);
    void ToggleMode(int bit);
    void ShowMessage(std::string_view text);
    void TransmitOnly(std::string_view text);
    void Changed();

    Terminal& t_;
    TerminalState& st_;
    Keyboard& keyboard_;
    Transmitter& tx_;
    Handshake& handshake_;
    FunctionKeyEvents& events_;

    std::array<std::array<KeyLabel, kKeys>, kSets> labels_{};
    std::array<std::array<bool, kKeys>, kSets> enabled_{};
    std::array<std::string, kUserKeys> userStrings_;
    std::array<int, kUserKeys> userAttributes_{};
    std::string pendingEcho_; // a transmit-only key waiting for the host's DC1
    int currentSet_ = kUserSet;
    bool labelsShown_ = true;
    bool messageShown_ = false;
    std::string message_;
    int statusLine_ = 0;
    bool definitionMenu_ = true;
    bool tabPanel_ = false;
    bool remoteSwitchedOn_ = false;
};

} // namespace kalvor
