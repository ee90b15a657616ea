// The keyboard dispatcher: every key stroke made while the terminal window
// has the focus passes through three steps, in the order the window system
// delivers them:
//
//   KeyDown   the raw key (key code and modifier state); acts on cursor and
//             editing keys, function keys, break and pause; returns true when
//             it consumed the key
//   KeyPress  the character of a key that KeyDown did not consume: the
//             Return/Enter settings, then character input (DisplayInputChar)
//   KeyUp     the Insert key's toggle on release
//
// A key either transmits a fixed sequence (strap A, remapped keys), acts
// locally on display memory, runs a function key, or becomes a typed
// character. Everything shown locally (echo, local mode) is appended to the
// receive buffer and the receive pass is run, so it is interpreted exactly
// like host output.
#pragma once

#include "comms/ReceivePass.h"
#include "comms/Transmitter.h"
#include "engine/Terminal.h"
#include "keyboard/KeyCodes.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kalvor {

class ControlCharacters;
class FunctionKeys;

// What the keyboard asks of the program around it: the window's selection
// and forms mode, the line transmission of the modify modes, and the
// configuration. The session implements it.
class KeyboardEvents {
public:
    virtual bool SelectionActive() = 0;   // a region of the display is marked
    virtual void ClipCut() = 0;           // deletes the marked region
    virtual void InitSelect() = 0;        // clears the selection
    virtual bool FormsHoldKeyboard() = 0; // the forms mode holds the keyboard
    virtual void FormsTab(int shift) = 0;
    virtual void FormsNavigate(FieldDirection direction) = 0;
    virtual void ModifyModeReturn() = 0;     // Return typed in a modify mode: the line transmission
    virtual void SaveEnterKeySettings() = 0; // the host redefined them with saving

protected:
    ~KeyboardEvents() = default;
};

class Keyboard {
public:
    // The three Enter-key settings of the configuration.
    enum EnterAction : int { kEnterIsReturn = 0, kEnterIsEnter = 1, kEnterIsTab = 2 };
    struct EnterKeySettings {
        int KbEnterKey = kEnterIsReturn;  // "KB Enter Key": the main Return key, 0 or 1
        int NumEnterKey = kEnterIsReturn; // "Num Enter Key": the numeric-pad Enter, 0, 1 or 2
        bool SmartEnter = false;          // "Smart Enter Key Mode"
    };

    // A character repeated while the previous one is still being processed
    // is dropped once it has been repeated this often.
    static constexpr int kMaxRepeats = 5;
    // Extended-character entry collects at most this many decimal digits.
    static constexpr int kMaxExtendDigits = 3;

    Keyboard(Terminal& terminal, Transmitter& transmitter, ReceivePass& receive, FunctionKeys& functionKeys,
             ControlCharacters& controls, KeyboardEvents& events);
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Form_KeyDown. `shift`: 1 Shift, 2 Ctrl, 4 Alt, summed. `numericPad`:
    // the key is the numeric-pad Enter (key code 13). Returns true when the
    // key was consumed; a key not consumed goes on to the window system,
    // which delivers its character (if any) to KeyPress.
    bool KeyDown(int keyCode, int shift, bool numericPad = false);
    // Form_KeyUp: the Insert key acts on release.
    void KeyUp(int keyCode, int shift);
    // The character (0..255, Latin-1) of a key that KeyDown did not consume:
    // Return/Enter handling (Form_KeyPress), then TerminalWindow_KeyPress,
    // which ends in DisplayInputChar.
    void KeyPress(int character);

    // Character input: transmitted at once in character mode (and echoed when
    // local echo is in force); otherwise written into display memory through
    // the receive buffer.
    void DisplayInputChar(int character);
    // A fixed key sequence: transmitted in character mode (and echoed when
    // local echo is in force); carried out locally in block mode, the modify
    // modes and local mode.
    void XmitFunction(std::string_view sequence);
    // Appends `text` to the receive buffer and runs the receive pass.
    void ShowLocal(std::string_view text);
    // `text` as it goes into the receive buffer for display: codes 128 and
    // above in the host's character set, LF after CR with auto line feed.
    std::string LocalText(std::string_view text) const;
    // Remote mode with no mode bit set.
    bool CharacterMode() const;
    // An active selection is cleared (InitSelect).
    void ClearSelection();
    // A key cannot act: the bell, when bell-on-refusal is set.
    void Refuse();

    // F1..F12 from the keyboard: runs the function key unless one is already
    // being carried out (the function-key depth).
    void RunFunctionKey(int set, int index, int shift);
    // A function key pressed while the keyboard was locked by a waiting
    // request is carried out when the request completes (the host's DC1).
    void RunDeferredFunctionKey();

    // Extended-character entry (the F9 key): see the README for the keystrokes.
    // F9: starts the entry, or completes it.
    void ExtendCharKey();
    // Completes the entry: the collected code, if any, is typed.
    void CompleteExtendChar();
    // Ends the entry without typing anything.
    void TurnOffExtendCharMode();
    bool ExtendCharActive() const { return extendDigits_ >= 0; }
    // 0 off; 1 started, no digit; 2..4 one to three digits collected.
    int ExtendCharState() const { return extendDigits_ + 1; }
    // The code collected so far, or -1 when no digit has been typed.
    int ExtendCharCode() const { return extendDigits_ > 0 ? extendCode_ : -1; }

    // The host's redefinition of the Enter-key settings: digits and letters
    // after the three introducing characters. Returns false when the
    // sequence is rejected (nothing changes then).
    [[nodiscard]] bool EscDefineEnterKey(std::string_view seq);

    // Settings.
    bool LocalEcho = false; // remote mode: typed text is also shown (the connection decides)
    EnterKeySettings Enter;
    bool BellOnRefusal = true;    // ring the bell when a key is refused

    // State the window reads.
    bool KeyBusy() const { return keyBusy_; }
    int FunctionKeyDepth() const { return funcKeyDepth_; }
    bool FunctionKeyInhibit() const { return inhibit_; }
    void SetFunctionKeyInhibit(bool on) { inhibit_ = on; }
    int SavedShift() const { return savedShift_; }
    int RepeatCount() const { return repeatCount_; }

private:
    bool FormsKeyDown(int keyCode, int shift);
    bool EditingKey(int keyCode, int shift);
    bool FunctionKeyDown(int index, int shift);
    void SendRemapped(const std::string& text);
    void InsertKeyUp();
    void ReturnKeyPress();
    void TerminalWindowKeyPress(int character);
    void ExtendCharInput(int character);
    bool PreviousCharPending() const;
    bool Selection() const { return events_.SelectionActive(); }
    template <class Action>
    void LocalAction(Action action);

    Terminal& t_;
    TerminalState& st_;
    Transmitter& tx_;
    ReceivePass& receive_;
    FunctionKeys& funcKeys_;
    ControlCharacters& controls_;
    KeyboardEvents& events_;

    int savedShift_ = 0;
    bool numericPad_ = false;
    bool insertArmed_ = false;
    bool keyBusy_ = false;
    bool returnBusy_ = false;
    int funcKeyDepth_ = 0;
    std::optional<std::pair<int, int>> deferredKey_; // function key index and shift
    bool inhibit_ = false;
    int inputDepth_ = 0;
    int lastChar_ = -1;
    int repeatCount_ = 0;
    int extendDigits_ = -1; // -1 off, else the number of digits collected
    int extendCode_ = 0;
};

} // namespace kalvor
