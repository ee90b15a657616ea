#include "keyboard/FunctionKeys.h"

#include "base/Text.h"
#include "engine/CharacterSets.h"
#include "engine/CursorSensing.h"
#include "engine/UserKeyDefinition.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/Keyboard.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace kalvor {
namespace {

// Labels of keys F1..F8 of sets 0..4 with no mode on; empty where not listed.
struct DefaultKey {
    int Set;
    int Key;
    const char* Line1;
    const char* Line2;
};

constexpr DefaultKey kDefaultLabels[] = {
    {0, 0, "Device", "Control"},  {0, 1, "Margins/", "Tabs/Col"}, {0, 3, " Modes", ""},
    {0, 4, "  Menu", "  Off"},    {0, 8, "Extended", "  Char"},   {0, 9, "  User", ""},
    {0, 10, " System", ""},       {0, 11, " Enter", ""},          {1, 0, " Device", " Modes"},
    {1, 1, "   To", "Printer"},   {1, 2, "   To", "Display"},     {1, 3, "   To", "  File"},
    {2, 0, "Device", "Control"},  {2, 1, " Record", "  Mode"},    {2, 2, "  Log", " Bottom"},
    {2, 3, "  Log", "  Top"},     {3, 0, "  Line", " Modify"},    {3, 1, " Modify", "  All"},
    {3, 2, " Block", " Mode"},    {3, 3, " Remote", "  Mode"},    {3, 5, " Memory", "  Lock"},
    {3, 6, "Display", "Functns"}, {3, 7, "  Auto", "   LF"},      {4, 0, " Global", " Config"},
    {4, 2, "DataComm", "Config"}, {4, 3, " Ext Dev", " Config"},  {4, 4, "Terminal", " Config"},
};

bool ValidKey(int set, int key)
{
    return set >= 0 && set < FunctionKeys::kSets && key >= 0 && key < FunctionKeys::kKeys;
}

} // namespace

FunctionKeys::FunctionKeys(Terminal& terminal, Keyboard& keyboard, Transmitter& transmitter, Handshake& handshake,
                           FunctionKeyEvents& events)
    : t_(terminal), st_(terminal.State), keyboard_(keyboard), tx_(transmitter), handshake_(handshake), events_(events)
{
    ResetTables();
}

std::string FunctionKeys::DefaultUserKeyString(int key)
{
    if (key < 0 || key >= kUserKeys)
        return {};
    return std::string{'\x1b', static_cast<char>('p' + key)};
}

KeyLabel FunctionKeys::DefaultLabel(int set, int key)
{
    if (set == kUserSet && key >= 0 && key < kUserKeys)
        return {"   f" + std::to_string(key + 1), ""};
    for (const DefaultKey& d : kDefaultLabels)
        if (d.Set == set && d.Key == key)
            return {d.Line1, d.Line2};
    return {};
}

void FunctionKeys::InitFunctionKeys()
{
    ResetTables();
    Changed();
}

void FunctionKeys::ResetTables()
{
    for (int set = 0; set < kSets; ++set) {
        for (int key = 0; key < kKeys; ++key) {
            labels_[set][key] = DefaultLabel(set, key);
            enabled_[set][key] = true;
        }
    }
    for (int key = 0; key < kUserKeys; ++key) {
        userStrings_[key] = DefaultUserKeyString(key);
        userAttributes_[key] = kTransmitOnly;
    }
    RefreshModeLabels();
}

void FunctionKeys::Changed() { t_.Hooks.StateChanged(); }

const KeyLabel& FunctionKeys::Label(int set, int key) const
{
    static const KeyLabel kNone;
    return ValidKey(set, key) ? labels_[set][key] : kNone;
}

const KeyLabel& FunctionKeys::ButtonLabel(int button) const
{
    return Label(button >= kExtendCharKey ? kSystemSet : currentSet_, button);
}

bool FunctionKeys::Enabled(int set, int key) const { return ValidKey(set, key) && enabled_[set][key]; }

bool FunctionKeys::ButtonEnabled(int button) const
{
    return Enabled(button >= kExtendCharKey ? kSystemSet : currentSet_, button);
}

const std::string& FunctionKeys::UserKeyString(int key) const
{
    static const std::string kNone;
    return key >= 0 && key < kUserKeys ? userStrings_[key] : kNone;
}

int FunctionKeys::UserKeyAttribute(int key) const
{
    return key >= 0 && key < kUserKeys ? userAttributes_[key] : kNormal;
}

void FunctionKeys::SetUserKey(int key, std::string_view line1, std::string_view line2, int attribute,
                              std::string_view text)
{
    if (key < 0 || key >= kUserKeys)
        return;
    labels_[kUserSet][key] = {std::string(line1), std::string(line2)};
    userAttributes_[key] = std::clamp(attribute, kNormal, kTransmitOnly);
    userStrings_[key] = std::string(text);
    Changed();
}

void FunctionKeys::SetFunctionKeys(int path)
{
    if (path < 0 || path >= kSets)
        return;
    currentSet_ = path;
    RefreshModeLabels();
    Changed();
}

void FunctionKeys::EnableFuncKey(int path, int funcKey, int enableFlag)
{
    if (!ValidKey(path, funcKey))
        return;
    bool& enabled = enabled_[path][funcKey];
    switch (enableFlag) {
    case 1: enabled = true; break;
    case 2: enabled = false; break;
    case 0: enabled = !enabled; break;
    default: return;
    }
    Changed();
}

void FunctionKeys::FuncKeyVisibility()
{
    messageShown_ = !labelsShown_;
    Changed();
}

void FunctionKeys::CloseMessagePanel()
{
    messageShown_ = false;
    message_.clear();
    if (statusLine_ <= 1) {
        labelsShown_ = true;
        FuncKeyVisibility();
    }
    Changed();
    events_.FocusDisplay();
}

void FunctionKeys::ShowMessage(std::string_view text)
{
    message_ = TrimSpaces(text);
    labelsShown_ = false;
    messageShown_ = true;
    Changed();
}

void FunctionKeys::SetTabPanel(bool shown)
{
    tabPanel_ = shown;
    events_.TabPanel(shown);
    Changed();
}

// The second label line of every key that marks a mode carries a star while
// the mode is on.
void FunctionKeys::RefreshModeLabels()
{
    const auto mark = [&](int set, int key, bool on, const char* off, const char* marked) {
        labels_[set][key].Line2 = on ? marked : off;
    };
    mark(kDeviceSet, 1, (st_.OutputRouting & kToPrinter) != 0, "Printer", "Printer*");
    mark(kDeviceSet, 2, (st_.OutputRouting & kToDisplay) != 0, "Display", "Display*");
    mark(kDeviceSet, 3, (st_.OutputRouting & kToFile) != 0, "  File", "  File*");
    mark(kRecordSet, 1, st_.RecordMode != 0, "  Mode", "  Mode *");
    mark(kRecordSet, 2, LogType == 1, " Bottom", " Bottom*");
    mark(kRecordSet, 3, LogType == 2, "  Top", "  Top *");
    mark(kModesSet, 0, (st_.ModeBits & kLineModify) != 0, " Modify", " Modify*");
    mark(kModesSet, 1, (st_.ModeBits & kModifyAll) != 0, "  All", "  All  *");
    mark(kModesSet, 2, (st_.ModeBits & kBlockMode) != 0, " Mode", " Mode  *");
    mark(kModesSet, 3, st_.RemoteMode, "  Mode", "  Mode *");
    labels_[kModesSet][5].Line2 = t_.Scroll.MemLockLabel();
    mark(kModesSet, 6, st_.DisplayFunctions, "Functns", "Functns*");
    mark(kModesSet, 7, st_.AutoLineFeed, "   LF", "   LF *");
}

// ---------------------------------------------------------------------------
// ExecFuncKey

void FunctionKeys::ExecFuncKey(int funcPath, int index, int shift)
{
    if (index < 0 || index >= kButtons || funcPath < 0 || funcPath >= kSets)
        return;
    if (shift == Mod::Alt && index == 3) {
        events_.ExitTerminal();
        return;
    }
    // While recording only the record key itself (to end it) acts.
    const bool recordKey = funcPath == kRecordSet && index == 1;
    if (st_.RecordMode != 0 && !recordKey) {
        keyboard_.Refuse();
        return;
    }
    if (index != kExtendCharKey)
        keyboard_.TurnOffExtendCharMode();
    const int set = index >= kExtendCharKey ? kSystemSet : funcPath;
    if (!enabled_[set][index]) {
        keyboard_.Refuse();
        return;
    }
    if (index >= kExtendCharKey) {
        FixedKey(index);
        return;
    }
    switch (set) {
    case kSystemSet: SystemKey(index); break;
    case kDeviceSet: DeviceKey(index); break;
    case kRecordSet: RecordKey(index); break;
    case kModesSet: ModeKey(index); break;
    case kUserSet: {
        // Shift gives the key's default string whatever it is defined as.
        const std::string text = shift == Mod::Shift ? DefaultUserKeyString(index) : userStrings_[index];
        FuncKeyXmit(text, userAttributes_[index]);
        break;
    }
    default: break; // set 4 and the unused sets only carry labels
    }
}

void FunctionKeys::FixedKey(int index)
{
    switch (index) {
    case kExtendCharKey: keyboard_.ExtendCharKey(); break;
    case kUserKeysKey:
        labelsShown_ = true;
        SetFunctionKeys(kUserSet);
        FuncKeyVisibility();
        break;
    case kSystemKeysKey:
        labelsShown_ = true;
        SetFunctionKeys(kSystemSet);
        FuncKeyVisibility();
        break;
    case kEnterKey:
        t_.Editing.SetInsertMode(false);
        if (events_.FormsShowObjects())
            events_.FormsEnter();
        else
            events_.ExecEnterKey();
        break;
    default: break;
    }
}

void FunctionKeys::SystemKey(int index)
{
    switch (index) {
    case 0: SetFunctionKeys(kDeviceSet); break;
    case 1: SetTabPanel(!tabPanel_); break;
    case 3: SetFunctionKeys(kModesSet); break;
    case 4:
        labelsShown_ = false;
        FuncKeyVisibility();
        break;
    default: break;
    }
}

void FunctionKeys::DeviceKey(int index)
{
    switch (index) {
    case 0: SetFunctionKeys(kRecordSet); break;
    case 1: ToggleDestination(kToPrinter); break;
    case 2: ToggleDestination(kToDisplay); break;
    case 3: ToggleDestination(kToFile); break;
    default: break;
    }
}

void FunctionKeys::ToggleDestination(int bit)
{
    st_.OutputRouting = std::max(st_.OutputRouting ^ bit, 0);
    events_.DestinationsChanged();
    RefreshModeLabels();
    Changed();
}

void FunctionKeys::RecordKey(int index)
{
    switch (index) {
    case 0: SetFunctionKeys(kDeviceSet); return;
    case 1:
        if (st_.RecordMode != 0) {
            st_.RecordMode = 0;
            st_.KeyboardLocked = false;
            events_.TurnOffRecordMode();
        } else {
            st_.RecordMode = 1; // the next Return starts the recording
            events_.TurnOnRecordMode();
        }
        break;
    case 2: // bottom log
        if (LogType == 0) {
            events_.TurnOnLogging(1);
            LogType = 1;
        } else if (LogType == 1) {
            events_.TurnOffLogging(1);
            LogType = 0;
        } else {
            events_.SwitchLogType(1);
            LogType = 1;
        }
        break;
    case 3: // top log
        if (LogType == 0) {
            events_.TurnOnLogging(2);
            LogType = 2;
        } else if (LogType == 1) {
            events_.SwitchLogType(2);
            LogType = 2;
        } else {
            events_.TurnOffLogging(2);
            LogType = 0;
        }
        break;
    default: return;
    }
    RefreshModeLabels();
    Changed();
}

void FunctionKeys::ToggleMode(int bit) { st_.ModeBits = std::max(st_.ModeBits ^ bit, 0); }

void FunctionKeys::ModeKey(int index)
{
    switch (index) {
    case 0: ToggleMode(kLineModify); break;
    case 1: ToggleMode(kModifyAll); break;
    case 2: ToggleMode(kBlockMode); break;
    case 3:
        st_.RemoteMode = !st_.RemoteMode;
        // The first switch to remote mode also clears the keyboard lock.
        if (st_.RemoteMode && !remoteSwitchedOn_) {
            remoteSwitchedOn_ = true;
            st_.KeyboardLocked = false;
        }
        break;
    case 5: MemoryLockKey(); break;
    case 6:
        if (st_.DisplayFunctions) {
            st_.DisplayFunctions = false;
        } else {
            // Told to the host (or carried out locally) before the switch
            // goes on, so the sequence itself is not shown as text.
            if (st_.Strap.A)
                keyboard_.XmitFunction("\x1b"
                                       "Y");
            st_.DisplayFunctions = true;
        }
        break;
    case 7: st_.AutoLineFeed = !st_.AutoLineFeed; break;
    default: return;
    }
    RefreshModeLabels();
    Changed();
}

// Memory lock from its key: with strap A the host is told (ESC l, ESC m);
// the lock itself is applied here in both directions.
void FunctionKeys::MemoryLockKey()
{
    if (t_.Hooks.FormsShown())
        return;
    const bool on = !st_.MemLock.On;
    if (st_.Strap.A)
        keyboard_.XmitFunction(on ? "\x1b"
                                    "l"
                                  : "\x1b"
                                    "m");
    t_.Scroll.MemLock(on ? "on" : "off");
    events_.FocusDisplay();
}

// ---------------------------------------------------------------------------
// FuncKeyXmit

void FunctionKeys::FuncKeyXmit(std::string_view funcKeyCmd, int funcKeyAttribute)
{
    keyboard_.ClearSelection();
    if (funcKeyCmd.empty())
        return;
    switch (funcKeyAttribute) {
    case kNormal:
        // As if typed, one character at a time, whatever the mode bits.
        keyboard_.SetFunctionKeyInhibit(true);
        for (char c : funcKeyCmd) {
            const std::string one(1, c);
            bool show = true;
            if (st_.RemoteMode) {
                tx_.XmitString(one, true);
                show = keyboard_.LocalEcho;
            }
            keyboard_.ShowLocal(show ? keyboard_.LocalText(one) : std::string());
        }
        break;
    case kLocal:
        keyboard_.SetFunctionKeyInhibit(true);
        keyboard_.ShowLocal(keyboard_.LocalText(funcKeyCmd));
        break;
    case kTransmitOnly:
        if (st_.RemoteMode)
            TransmitOnly(funcKeyCmd);
        break;
    default: break;
    }
    keyboard_.SetFunctionKeyInhibit(false);
}

// A transmit-only key: its text and terminator go out under the handshake.
void FunctionKeys::TransmitOnly(std::string_view text)
{
    const bool rs = st_.BlockMode() && st_.Strap.PageStrapping();
    std::string out = SendCursorAddress ? BuildAbsAddr(st_) : std::string();
    out.append(text);
    out.push_back(rs ? '\x1e' : '\r');
    pendingEcho_.assign(text);
    const RequestDecision decision =
        handshake_.OfferTransmission(HostRequest::UserKey, DataKind::UserKey, std::move(out), st_);
    if (decision == RequestDecision::SendNow) {
        pendingEcho_.clear();
        if (keyboard_.LocalEcho)
            keyboard_.ShowLocal(keyboard_.LocalText(std::string(text) + "\r\x11"));
    }
}

void FunctionKeys::EchoPendingUserKey()
{
    if (keyboard_.LocalEcho && !pendingEcho_.empty())
        keyboard_.ShowLocal(keyboard_.LocalText(pendingEcho_));
    pendingEcho_.clear();
}

// ---------------------------------------------------------------------------
// Host definition of a user key: ESC & f

void FunctionKeys::DefineUserKey(std::string_view seq)
{
    const std::optional<UserKeyDefinition> def = ParseUserKeyDefinition(seq);
    if (!def)
        return; // the interpreter has checked the grammar
    const int key = def->Key;
    bool defined = false;
    if (def->Attribute) {
        userAttributes_[key] = *def->Attribute;
        defined = true;
    }
    if (def->CarriesText && (def->LabelLength || def->StringLength)) {
        const auto dl = static_cast<std::size_t>(def->LabelLength.value_or(0));
        const auto sl = static_cast<std::size_t>(def->StringLength.value_or(0));
        const std::string_view data = seq.substr(def->HeaderEnd + 1);
        std::string label(data.substr(0, dl));
        std::string text(data.substr(std::min(data.size(), dl), sl));
        if (st_.HostRoman8) {
            label = Roman8toLatin1(label);
            text = Roman8toLatin1(text);
        }
        if (def->LabelLength) {
            KeyLabel& l = labels_[kUserSet][key];
            l.Line1 = label.substr(0, kLabelLineLength);
            l.Line2 = label.size() > kLabelLineLength ? label.substr(kLabelLineLength) : std::string();
        }
        if (def->StringLength)
            userStrings_[key] = text;
        defined = true;
    }
    if (defined) {
        events_.UserKeyDefined(key);
        Changed();
    }
    if (def->Execute) {
        if (*def->Execute == -1) {
            t_.Editing.SetInsertMode(false);
            events_.ExecEnterKey();
        } else if (*def->Execute >= 1 && *def->Execute <= kUserKeys) {
            ExecFuncKey(kUserSet, static_cast<int>(*def->Execute) - 1, 0);
        }
    }
    if (def->Save)
        events_.SaveTermConfig(*def->Save != 1);
}

// ---------------------------------------------------------------------------
// Key-set control by the host: ESC & j

KeyControlResult FunctionKeys::EscFuncKeyCntl(std::string_view seq)
{
    const std::size_t end = FindParameterTerminator(seq);
    if (end == std::string_view::npos || end < 3)
        return KeyControlResult::NeedMore;
    long number = 0;
    for (std::size_t i = 3; i <= end; ++i) {
        const char c = seq[i];
        if (c == ' ')
            continue;
        if (c >= '0' && c <= '9') {
            number = std::min(number * 10 + (c - '0'), 100000L);
            continue;
        }
        switch (c) {
        case '@':
            labelsShown_ = false;
            FuncKeyVisibility();
            currentSet_ = kUserSet;
            break;
        case 'A':
        case 'a':
            labelsShown_ = true;
            SetFunctionKeys(kModesSet);
            FuncKeyVisibility();
            break;
        case 'B':
        case 'b':
            labelsShown_ = true;
            SetFunctionKeys(kUserSet);
            FuncKeyVisibility();
            break;
        case 'C':
        case 'c':
            if (statusLine_ <= 1) {
                if (!labelsShown_) {
                    labelsShown_ = true;
                    FuncKeyVisibility();
                }
            } else if (messageShown_) {
                messageShown_ = false;
                t_.Hooks.Repaint();
            }
            break;
        case 'D':
        case 'd': statusLine_ = number >= 0 && number <= 3 ? static_cast<int>(number) : 0; break;
        case 'L':
        case 'l': {
            if (number > 255)
                return KeyControlResult::Invalid;
            if (c == 'l')
                break; // only a final L announces the message that follows
            const std::size_t have = seq.size() - end - 1;
            const auto length = static_cast<std::size_t>(number);
            if (have < length)
                return KeyControlResult::NeedMore;
            ShowMessage(seq.substr(end + 1, length));
            if ((statusLine_ == 1 || statusLine_ == 3) && st_.BellOn)
                t_.Hooks.Bell();
            break;
        }
        case 'R':
        case 'r': definitionMenu_ = true; break;
        case 'S':
        case 's': definitionMenu_ = false; break;
        default: return KeyControlResult::Invalid;
        }
        number = 0;
    }
    Changed();
    return KeyControlResult::Done;
}

void FunctionKeys::ApplyFunctionKeyConfig()
{
    events_.ApplyConfiguration();
    Changed();
}

} // namespace kalvor
