#include "keyboard/Keyboard.h"

#include "engine/CharacterSets.h"
#include "keyboard/ControlCharacters.h"
#include "keyboard/FunctionKeys.h"
#include "keyboard/KeyCodes.h"

#include <algorithm>
#include <cctype>

namespace kalvor {
namespace {

constexpr char kCr = '\r';

// Sets a flag or counter for the duration of a scope.
class Busy {
public:
    explicit Busy(int& depth) : depth_(depth) { ++depth_; }
    ~Busy() { --depth_; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    int& depth_;
};

class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
};

bool IsRemappable(int keyCode)
{
    return (keyCode >= Key::PageUp && keyCode <= Key::Down) || keyCode == Key::Insert || keyCode == Key::Delete;
}

bool IsEditingKey(int keyCode)
{
    return (keyCode >= Key::PageUp && keyCode <= Key::Down) || keyCode == Key::Insert || keyCode == Key::Delete ||
           keyCode == Key::Tab;
}

} // namespace

Keyboard::Keyboard(Terminal& terminal, Transmitter& transmitter, ReceivePass& receive, FunctionKeys& functionKeys,
                   ControlCharacters& controls, KeyboardEvents& events)
    : t_(terminal),
      st_(terminal.State),
      tx_(transmitter),
      receive_(receive),
      funcKeys_(functionKeys),
      controls_(controls),
      events_(events)
{}

bool Keyboard::CharacterMode() const { return st_.RemoteMode && st_.ModeBits == 0; }

std::string Keyboard::LocalText(std::string_view text) const
{
    const CharTable& roman8 = Latin1ToRoman8Table();
    std::string out;
    out.reserve(text.size() + 1);
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        out.push_back(st_.HostRoman8 && code >= 128 ? static_cast<char>(roman8[code]) : c);
        if (c == kCr && st_.AutoLineFeed)
            out.push_back('\n');
    }
    return out;
}

void Keyboard::ShowLocal(std::string_view text)
{
    receive_.AppendLocal(text);
    receive_.PollingCommBuffer();
}

void Keyboard::ClearSelection()
{
    if (Selection())
        events_.InitSelect();
}

void Keyboard::Refuse()
{
    if (BellOnRefusal)
        t_.Hooks.Bell();
}

template <class Action>
void Keyboard::LocalAction(Action action)
{
    ClearSelection();
    action();
    st_.Mem.MarkCursorRowChanged(st_.Mem.CurCol);
    t_.Hooks.Repaint();
}

void Keyboard::XmitFunction(std::string_view sequence)
{
    ClearSelection();
    if (sequence.empty())
        return;
    if (CharacterMode()) {
        tx_.XmitString(sequence, false);
        if (LocalEcho)
            ShowLocal(sequence);
        return;
    }
    ShowLocal(sequence);
}

void Keyboard::DisplayInputChar(int character)
{
    const std::string one(1, static_cast<char>(character));
    if (CharacterMode()) {
        tx_.XmitString(one, true);
        if (LocalEcho)
            ShowLocal(LocalText(one));
        return;
    }
    const bool modifyMode = (st_.ModeBits & (kLineModify | kModifyAll)) != 0;
    if (character == kCr && st_.RemoteMode && !st_.BlockMode() && modifyMode) {
        // The line is collected from the cursor row before the line feed of
        // automatic line feed moves the cursor off it.
        ShowLocal("\r");
        events_.ModifyModeReturn();
        if (st_.AutoLineFeed)
            ShowLocal("\n");
        if ((st_.ModeBits & kLineModify) != 0) {
            st_.ModeBits &= ~kLineModify;
            t_.Hooks.StateChanged();
        }
        return;
    }
    ShowLocal(LocalText(one));
}

// ---------------------------------------------------------------------------
// Key down

bool Keyboard::KeyDown(int keyCode, int shift, bool numericPad)
{
    // Remapped keys, whatever the modifiers and whatever else holds the keyboard.
    if (IsRemappable(keyCode) && !st_.KeyRemap[static_cast<std::size_t>(keyCode)].empty()) {
        SendRemapped(st_.KeyRemap[static_cast<std::size_t>(keyCode)]);
        return true;
    }
    if (events_.FormsHoldKeyboard())
        return FormsKeyDown(keyCode, shift);

    savedShift_ = shift;
    numericPad_ = numericPad;
    insertArmed_ = false;

    // Alt+F4 is left to the window system (it closes the window).
    if (keyCode == Key::F4 && shift == Mod::Alt)
        return false;
    const int fkey = Key::FunctionKeyIndex(keyCode);
    if (st_.KeyboardLocked) {
        if (fkey >= 0)
            deferredKey_ = {fkey, shift};
        return !(keyCode == Key::Return && st_.RecordMode != 0);
    }
    if (ExtendCharActive() && fkey < 0 && keyCode != Key::Right)
        return false;
    // The tab-setting panel takes every key but Esc and the cursor keys,
    // which still move the cursor to the column to set.
    if (funcKeys_.TabPanelShown() && keyCode != Key::Escape && keyCode != Key::Left && keyCode != Key::Right &&
        keyCode != Key::Up && keyCode != Key::Down && keyCode != Key::Home)
        return true;

    switch (keyCode) {
    case Key::ShiftKey:
    case Key::CtrlKey: return true;
    case Key::Escape:
        // Esc closes the tab-setting panel, or clears the selection and goes
        // on as the character ESC.
        if (funcKeys_.TabPanelShown()) {
            funcKeys_.SetTabPanel(false);
            return true;
        }
        ClearSelection();
        return false;
    case Key::Tab:
        // A plain Tab is typed as the character 9 unless strap A sends it.
        if (shift == 0 && !st_.Strap.A)
            return false;
        break;
    case Key::Backspace: break;
    case Key::B:
        if (shift != Mod::Alt)
            return false;
        break;
    case Key::Pause:
    case Key::ScrollLock: break;
    default:
        if (fkey < 0 && !IsEditingKey(keyCode))
            return false; // a character key
        break;
    }

    // The key is consumed from here on.
    if (st_.ShadowRowMode && IsEditingKey(keyCode))
        return true;
    if (inhibit_ && fkey >= 0 && fkey <= 7)
        return true;
    if (st_.RecordMode != 0)
        return true;
    if (fkey >= 0)
        return FunctionKeyDown(fkey, shift);

    switch (keyCode) {
    case Key::Backspace:
        if (!Selection())
            return false; // the character 8
        events_.ClipCut();
        return true;
    case Key::ScrollLock:
        if (!t_.Hooks.FormsShown())
            t_.Scroll.MemLock(st_.MemLock.On ? "off" : "on");
        return true;
    case Key::Pause:
        if (shift == 0)
            receive_.StopStart();
        else
            controls_.SendBreak_Click();
        return true;
    case Key::B: controls_.SendBreak_Click(); return true;
    default: return EditingKey(keyCode, shift);
    }
}

// While the forms mode holds the keyboard: break and pause keep working, the
// arrows and Tab move between forms objects, the page keys act locally.
bool Keyboard::FormsKeyDown(int keyCode, int shift)
{
    LocalEditing& edit = t_.Editing;
    switch (keyCode) {
    case Key::B:
        if (shift != Mod::Alt)
            return false;
        controls_.SendBreak_Click();
        return true;
    case Key::Pause:
        if (shift != 0)
            controls_.SendBreak_Click();
        else
            receive_.StopStart();
        return true;
    case Key::Escape: return true;
    case Key::Tab: events_.FormsTab(shift); return true;
    case Key::Up:
    case Key::Down:
    case Key::Right:
    case Key::Left:
        events_.FormsNavigate(keyCode == Key::Up      ? FieldDirection::Up
                              : keyCode == Key::Down  ? FieldDirection::Down
                              : keyCode == Key::Right ? FieldDirection::Right
                                                      : FieldDirection::Left);
        return true;
    case Key::Home: LocalAction([&] { edit.ExecHomeKey(shift); }); return true;
    case Key::End: LocalAction([&] { edit.ExecEndKey(shift); }); return true;
    case Key::PageUp: LocalAction([&] { edit.ExecPageUp(shift); }); return true;
    case Key::PageDown: LocalAction([&] { edit.ExecPageDown(shift); }); return true;
    default:
        if (keyCode == Key::F4 && shift == Mod::Alt)
            return false;
        return Key::FunctionKeyIndex(keyCode) >= 0;
    }
}

void Keyboard::RunDeferredFunctionKey()
{
    if (!deferredKey_ || st_.KeyboardLocked)
        return;
    const auto [index, shift] = *deferredKey_;
    deferredKey_.reset();
    FunctionKeyDown(index, shift);
}

bool Keyboard::FunctionKeyDown(int index, int shift)
{
    switch (index) {
    case FunctionKeys::kExtendCharKey:
    case FunctionKeys::kEnterKey: RunFunctionKey(FunctionKeys::kSystemSet, index, shift); break;
    case FunctionKeys::kUserKeysKey:
    case FunctionKeys::kSystemKeysKey:
        if (funcKeys_.Enabled(FunctionKeys::kSystemSet, index))
            RunFunctionKey(FunctionKeys::kSystemSet, index, shift);
        break;
    default: RunFunctionKey(funcKeys_.CurrentSet(), index, shift); break;
    }
    return true;
}

void Keyboard::RunFunctionKey(int set, int index, int shift)
{
    if (funcKeyDepth_ >= 1)
        return;
    Busy depth(funcKeyDepth_);
    funcKeys_.ExecFuncKey(set, index, shift);
}

// Cursor and editing keys: with strap A their sequences, else local routines.
bool Keyboard::EditingKey(int keyCode, int shift)
{
    if (keyCode == Key::Right && ExtendCharActive()) {
        CompleteExtendChar();
        return true;
    }
    if (keyBusy_)
        return true;
    Flag busy(keyBusy_);
    const bool strapA = st_.Strap.A;
    LocalEditing& edit = t_.Editing;
    const auto sendOrAct = [&](std::string_view sequence, auto action) {
        if (strapA)
            XmitFunction(sequence);
        else
            LocalAction(action);
    };
    switch (keyCode) {
    case Key::Up:
        sendOrAct("\x1b"
                  "A",
                  [&] { edit.ExecUpArrow(shift); });
        break;
    case Key::Down:
        sendOrAct("\x1b"
                  "B",
                  [&] { edit.ExecDownArrow(shift); });
        break;
    case Key::Right:
        sendOrAct("\x1b"
                  "C",
                  [&] { edit.ExecRightArrow(shift); });
        break;
    case Key::Left:
        sendOrAct("\x1b"
                  "D",
                  [&] { edit.ExecLeftArrow(shift); });
        break;
    case Key::Home:
        sendOrAct("\x1b"
                  "H",
                  [&] { edit.ExecHomeKey(shift); });
        break;
    case Key::End:
        sendOrAct("\x1b"
                  "F",
                  [&] { edit.ExecEndKey(shift); });
        break;
    case Key::PageUp:
        sendOrAct("\x1b"
                  "V",
                  [&] { edit.ExecPageUp(shift); });
        break;
    case Key::PageDown:
        sendOrAct("\x1b"
                  "U",
                  [&] { edit.ExecPageDown(shift); });
        break;
    case Key::Tab:
        if ((shift & (Mod::Ctrl | Mod::Alt)) != 0)
            break;
        if (shift == Mod::Shift)
            sendOrAct("\x1b"
                      "i",
                      [&] { edit.ExecTabKey(Mod::Shift); });
        else
            XmitFunction("\t"); // strap A: a plain Tab never reaches character input
        break;
    case Key::Insert:
        if (shift == 0) {
            insertArmed_ = true; // acts on key-up
        } else if ((shift & Mod::Ctrl) != 0) {
            // The line is inserted here; the host is told in character mode
            // only, so that the line is not inserted a second time locally.
            LocalAction([&] { edit.ExecInsertKey(Mod::Ctrl); });
            if (strapA && CharacterMode())
                tx_.XmitString("\x1b"
                               "L",
                               false);
        } else if (strapA) {
            XmitFunction("\x1b"
                         "L");
        } else {
            t_.Hooks.Repaint();
        }
        break;
    case Key::Delete:
        if (strapA) {
            XmitFunction(shift == 0 ? "\x1b"
                                      "P"
                                    : "\x1b"
                                      "M");
        } else if (Selection()) {
            events_.ClipCut();
        } else {
            LocalAction([&] { edit.ExecDeleteKey(shift); });
        }
        break;
    default: break;
    }
    return true;
}

void Keyboard::SendRemapped(const std::string& text)
{
    bool show = true;
    if (st_.RemoteMode) {
        tx_.XmitString(text, false);
        show = LocalEcho;
    }
    if (!show)
        return;
    std::string local = text;
    if (st_.AutoLineFeed && local.back() == kCr)
        local.push_back('\n');
    ShowLocal(local);
}

// ---------------------------------------------------------------------------
// Key up

void Keyboard::KeyUp(int keyCode, int)
{
    if (keyCode == Key::Insert && insertArmed_)
        InsertKeyUp();
    insertArmed_ = false;
    numericPad_ = false;
}

void Keyboard::InsertKeyUp()
{
    if (st_.Strap.A)
        XmitFunction(st_.InsertMode ? "\x1b"
                                      "R"
                                    : "\x1b"
                                      "Q");
    else
        t_.Editing.SetInsertStatus();
}

// ---------------------------------------------------------------------------
// Characters

void Keyboard::KeyPress(int character)
{
    if (character < 0 || character > 255)
        return;
    // The gates of key-down hold for characters too.
    if (st_.KeyboardLocked && !(character == kCr && st_.RecordMode != 0))
        return;
    if (funcKeys_.TabPanelShown())
        return;
    if (ExtendCharActive()) {
        ExtendCharInput(character);
        return;
    }
    if (character == kCr) {
        ReturnKeyPress();
        return;
    }
    TerminalWindowKeyPress(character);
}

// Form_KeyPress: the Return key and the numeric-pad Enter by their settings.
void Keyboard::ReturnKeyPress()
{
    if (returnBusy_)
        return;
    Flag busy(returnBusy_);
    const bool numericPad = Enter.NumEnterKey != kEnterIsReturn && numericPad_;
    const int setting =
        numericPad ? Enter.NumEnterKey : (Enter.KbEnterKey == kEnterIsEnter ? kEnterIsEnter : kEnterIsReturn);
    switch (setting) {
    case kEnterIsEnter:
        if (st_.RecordMode != 0)
            Refuse();
        else
            RunFunctionKey(FunctionKeys::kSystemSet, FunctionKeys::kEnterKey, 0);
        break;
    case kEnterIsTab:
        if (st_.RecordMode != 0)
            Refuse();
        else if (st_.Strap.A)
            XmitFunction((savedShift_ & Mod::Shift) != 0 ? "\x1b"
                                                           "i"
                                                         : "\t");
        else
            TerminalWindowKeyPress('\t');
        break;
    default:
        if (!numericPad && Enter.SmartEnter && st_.BlockMode() && !st_.AutoLineFeed)
            RunFunctionKey(FunctionKeys::kSystemSet, FunctionKeys::kEnterKey, 0);
        else
            TerminalWindowKeyPress(kCr);
        break;
    }
}

// The previous character has not been carried through yet: its handling is
// still running, or what it sent or showed still waits in the buffers.
bool Keyboard::PreviousCharPending() const { return inputDepth_ > 0 || !receive_.CommBuffer().Empty() || !tx_.Idle(); }

// TerminalWindow_KeyPress.
void Keyboard::TerminalWindowKeyPress(int character)
{
    if (PreviousCharPending() && character == lastChar_) {
        if (repeatCount_ > kMaxRepeats)
            return;
        ++repeatCount_;
    } else {
        repeatCount_ = 1;
    }
    lastChar_ = character;
    Busy processing(inputDepth_);

    if (Selection() && character >= 32 && character <= 126) {
        events_.ClipCut();
        if (!st_.InsertMode)
            t_.Editing.SetInsertStatus();
        events_.InitSelect();
    }
    if (st_.RecordMode == 1 && character == kCr) {
        st_.RecordMode = 2;
        tx_.XmitString("\r", false);
        st_.KeyboardLocked = true;
        t_.Hooks.StateChanged();
        return;
    }
    if (st_.RecordMode == 2) {
        Refuse();
        return;
    }
    if (!(character == '\t' && st_.Strap.A)) {
        if (st_.CapsLock && character >= 'a' && character <= 'z')
            character -= 'a' - 'A';
        if (funcKeys_.MessagePanelShown()) {
            const bool keysShareLine = funcKeys_.StatusLineSetting() <= 1;
            if (character == kCr)
                funcKeys_.CloseMessagePanel();
            if (keysShareLine)
                return;
        }
    }
    DisplayInputChar(character);
}

// ---------------------------------------------------------------------------
// Extended-character entry

void Keyboard::ExtendCharKey()
{
    if (!ExtendCharActive()) {
        extendDigits_ = 0;
        extendCode_ = 0;
        t_.Hooks.StateChanged();
        return;
    }
    CompleteExtendChar();
}

void Keyboard::CompleteExtendChar()
{
    int code = ExtendCharCode();
    // A single digit stands for its own extended character: the codes 0..9
    // are control characters that nobody types this way.
    if (extendDigits_ == 1)
        code = st_.ExtendChar[static_cast<std::size_t>('0' + code)];
    TurnOffExtendCharMode();
    if (code > 0)
        DisplayInputChar(code);
}

void Keyboard::TurnOffExtendCharMode()
{
    if (!ExtendCharActive())
        return;
    extendDigits_ = -1;
    extendCode_ = 0;
    t_.Hooks.StateChanged();
}

void Keyboard::ExtendCharInput(int character)
{
    if (character >= '0' && character <= '9') {
        const int code = extendCode_ * 10 + (character - '0');
        if (extendDigits_ >= kMaxExtendDigits || code > 255) {
            Refuse();
            return;
        }
        extendCode_ = code;
        ++extendDigits_;
        t_.Hooks.StateChanged();
        return;
    }
    switch (character) {
    case kCr: CompleteExtendChar(); return;
    case 27: // Esc: the entry is abandoned
        TurnOffExtendCharMode();
        return;
    case 8: // Backspace: the last digit is taken back
        if (extendDigits_ > 0) {
            extendCode_ /= 10;
            --extendDigits_;
            t_.Hooks.StateChanged();
        }
        return;
    default: break;
    }
    if (extendDigits_ > 0) {
        Refuse();
        return;
    }
    // A key typed straight after F9 selects its accented character.
    if (st_.CapsLock && character >= 'a' && character <= 'z')
        character -= 'a' - 'A';
    const int accented = st_.ExtendChar[static_cast<std::size_t>(character)];
    TurnOffExtendCharMode();
    if (accented != 0)
        DisplayInputChar(accented);
    else
        Refuse();
}

// ---------------------------------------------------------------------------
// Host redefinition of the Enter-key settings

bool Keyboard::EscDefineEnterKey(std::string_view seq)
{
    EnterKeySettings next = Enter;
    bool save = false;
    long number = 0;
    bool inBrackets = false;
    for (std::size_t i = 3; i < seq.size(); ++i) {
        const char c = seq[i];
        if (inBrackets) {
            inBrackets = c != '>';
            continue;
        }
        if (c >= '0' && c <= '9') {
            number = std::min(number * 10 + (c - '0'), 100000L);
            continue;
        }
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case ' ': continue;
        case 'P':
            if (number < 149 || number > 211)
                return false;
            if (number == 149)
                next.NumEnterKey = kEnterIsReturn;
            else if (number == 150 || number == 211)
                next.NumEnterKey = kEnterIsTab;
            else if (number == 154)
                next.NumEnterKey = kEnterIsEnter;
            break;
        case 'R':
            next.KbEnterKey = kEnterIsReturn;
            next.NumEnterKey = kEnterIsTab;
            break;
        case 'S':
            next.SmartEnter = number != 0;
            save = true;
            break;
        case 'M':
        case '!': break;
        case '<': inBrackets = true; break;
        default: return false;
        }
        number = 0;
    }
    Enter = next;
    if (save)
        events_.SaveEnterKeySettings();
    return true;
}

} // namespace kalvor
