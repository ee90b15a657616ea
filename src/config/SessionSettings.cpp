#include "config/SessionSettings.h"

#include "engine/ColorSchemes.h"
#include "engine/ExtendedChars.h"
#include "session/Session.h"

namespace kalvor::config {

int CursorFormFor(CursorStyle style) { return style == CursorStyle::Block ? 1 : 2; }

CursorStyle CursorStyleFor(int cursorForm) { return cursorForm == 1 ? CursorStyle::Block : CursorStyle::Underline; }

void ApplyUserKeys(const Settings& settings, Session& session)
{
    for (int k = 0; k < kUserKeys; ++k) {
        const FunctionKeyRecord& r = settings.Keys[static_cast<std::size_t>(k)];
        session.SetUserKey(k, r.Line1, r.Line2, r.Type, r.Text);
    }
}

void CollectUserKeys(const SoftKeyView& keys, Settings& settings)
{
    for (int k = 0; k < kUserKeys; ++k) {
        FunctionKeyRecord& r = settings.Keys[static_cast<std::size_t>(k)];
        const KeyLabel& label = keys.Label(FunctionKeys::kUserSet, k);
        r.Line1 = label.Line1;
        r.Line2 = label.Line2;
        r.Type = keys.UserKeyAttribute(k);
        r.Text = keys.UserKeyString(k);
    }
}

void ApplySettings(const Settings& s, Session& session)
{
    TerminalState& st = session.term_.State;
    if (s.ColorIndex >= 0 && s.ColorIndex < kColorSchemeCount)
        st.ColorScheme = s.ColorIndex;
    st.InverseScreen = s.InverseVideo;
    UpdateColorScheme(st);

    const int width = s.DisplayWidth == 132 || s.DisplayWidth == 200 ? s.DisplayWidth : 80;
    const bool widthChanged = st.Mem.ColsInTerm != width;
    if (widthChanged)
        st.Mem.SetWidth(width);

    st.CapsLock = s.CapsLockMode;
    st.CursorForm = CursorFormFor(s.Cursor);
    st.SavedCursorForm = st.CursorForm;
    const bool roman8 = s.HostCharSet != "Latin1";
    if (st.HostRoman8 != roman8) {
        st.HostRoman8 = roman8;
        InitExtendChar(st);
    }

    Keyboard& keys = session.keyboard_;
    keys.LocalEcho = s.Echo;
    keys.Enter.KbEnterKey = s.KbEnterKey == 1 ? Keyboard::kEnterIsEnter : Keyboard::kEnterIsReturn;
    keys.Enter.NumEnterKey = s.NumEnterKey >= 0 && s.NumEnterKey <= 2 ? s.NumEnterKey : Keyboard::kEnterIsReturn;
    keys.Enter.SmartEnter = s.SmartReturn;
    session.receive_.EnqAck = s.RespondToEnq;
    // Also sets the menu state that goes with it.
    session.SetTransmitControlCharacters(s.ControlCodeFlag);

    ApplyUserKeys(s, session);

    if (widthChanged)
        session.term_.Hooks.WidthChanged();
    session.term_.Hooks.StateChanged();
}

void CollectSettings(const Session& session, Settings& s)
{
    const TerminalState& st = session.State();
    s.ColorIndex = st.ColorScheme;
    s.InverseVideo = st.InverseScreen;
    s.DisplayWidth = st.Mem.ColsInTerm;
    s.CapsLockMode = st.CapsLock;
    s.Cursor = CursorStyleFor(st.CursorForm);
    s.HostCharSet = st.HostRoman8 ? "Roman8" : "Latin1";

    const Keyboard& keys = session.keyboard_;
    s.Echo = keys.LocalEcho;
    s.KbEnterKey = keys.Enter.KbEnterKey;
    s.NumEnterKey = keys.Enter.NumEnterKey;
    s.SmartReturn = keys.Enter.SmartEnter;
    s.RespondToEnq = session.receive_.EnqAck;
    s.ControlCodeFlag = session.TransmitControlCharacters();

    CollectUserKeys(session.SoftKeys(), s);
}

TermPreferences TermPreferences::From(const Settings& s, const TerminalSettings& st)
{
    TermPreferences p;
    p.DisplayWidth = s.DisplayWidth;
    p.ColorIndex = s.ColorIndex;
    p.InverseVideo = s.InverseVideo;
    p.FontIndex = s.FontIndex;
    p.KbEnterKey = s.KbEnterKey;
    p.NumEnterKey = s.NumEnterKey;
    p.SmartReturn = s.SmartReturn;
    p.ControlCodeFlag = s.ControlCodeFlag;
    p.KeyboardLayout = s.KeyboardLayout;
    p.CapsLockMode = s.CapsLockMode;
    p.Cursor = s.Cursor;
    p.Language = s.Language;
    p.HostCharSet = s.HostCharSet;
    p.Keys = s.Keys;

    p.AutoLineFeed = st.AutoLineFeed;
    p.ModeBits = st.ModeBits;
    p.RemoteMode = st.RemoteMode;
    p.BellOn = st.BellOn;
    p.MarginWrap = st.MarginWrap;
    p.EightBitData = st.EightBitData;
    p.PreferenceC = st.PreferenceC;
    p.PreferenceL = st.PreferenceL;
    p.InputOption = st.InputOption;
    p.Strap = st.Strap;
    return p;
}

void TermPreferences::Into(Settings& s, TerminalSettings& st) const
{
    s.DisplayWidth = DisplayWidth;
    s.ColorIndex = ColorIndex;
    s.InverseVideo = InverseVideo;
    s.FontIndex = FontIndex;
    s.KbEnterKey = KbEnterKey;
    s.NumEnterKey = NumEnterKey;
    s.SmartReturn = SmartReturn;
    s.ControlCodeFlag = ControlCodeFlag;
    s.KeyboardLayout = KeyboardLayout;
    s.CapsLockMode = CapsLockMode;
    s.Cursor = Cursor;
    s.Language = Language;
    s.HostCharSet = HostCharSet;
    s.Keys = Keys;

    st.AutoLineFeed = AutoLineFeed;
    st.ModeBits = ModeBits;
    st.RemoteMode = RemoteMode;
    st.BellOn = BellOn;
    st.MarginWrap = MarginWrap;
    st.EightBitData = EightBitData;
    st.PreferenceC = PreferenceC;
    st.PreferenceL = PreferenceL;
    st.InputOption = InputOption;
    st.Strap = Strap;
}

} // namespace kalvor::config
