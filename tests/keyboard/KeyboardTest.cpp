// The keyboard dispatcher where keys.case cannot reach: local echo, the
// gates (record mode, a key arriving while another runs), the Enter-key
// settings and the forms mode.
#include "RecordingConfiguration.h"
#include "RecordingObserver.h"
#include "SessionFixture.h"
#include "SessionInternals.h"

#include <functional>

namespace kalvor::test {
namespace {

// The window around the keyboard, with a hook that runs inside a call the
// session makes while a key is carried out.
class KeyWindow final : public RecordingObserver {
public:
    std::function<void()> During; // inside ClearSelection and FormsEnter

    void ClearSelection() override
    {
        RecordingObserver::ClearSelection();
        if (During)
            During();
    }
    void FormsEnter() override
    {
        RecordingObserver::FormsEnter();
        if (During)
            During();
    }
};

class KeyboardTest : public SessionFixture {
protected:
    KeyWindow window;
    RecordingConfiguration config;

    void SetUp() override
    {
        session.SetObserver(&window);
        session.SetConfiguration(&config);
    }
    // The forms mode takes every Enter function: they are counted, and
    // nothing is transmitted for them.
    const int& CountEnters()
    {
        window.FormsShown = true;
        return window.FormsEnters;
    }
};

// What a keyboard of its own asks of the program around it: the line
// transmission of a Return in a modify mode is counted instead of sent.
class LineEvents final : public KeyboardEvents {
public:
    int Lines = 0;
    std::function<void()> During; // inside ModifyModeReturn

    bool SelectionActive() override { return false; }
    void ClipCut() override {}
    void InitSelect() override {}
    bool FormsHoldKeyboard() override { return false; }
    void FormsTab(int) override {}
    void FormsNavigate(FieldDirection) override {}
    void ModifyModeReturn() override
    {
        ++Lines;
        if (During)
            During();
    }
    void SaveEnterKeySettings() override {}
};

// A key sequence echoed acts on the display; a remapped string ends with a
// line feed.
TEST_F(KeyboardTest, LocalEchoOfKeySequencesAndRemappedStrings)
{
    Remote();
    keys.LocalEcho = true;
    st.Strap.A = true;
    Host("\x1b&a3c2Y");
    Press(Key::Up);
    EXPECT_EQ(Sent(), "\x1b"
                      "A");
    EXPECT_EQ(CurRow(), 1);

    Host("\x1bH\x1bJ");
    conn.Writes.clear();
    st.KeyRemap[Key::Up] = "up\r";
    st.AutoLineFeed = true;
    Press(Key::Up);
    EXPECT_EQ(Sent(), "up\r");
    EXPECT_EQ(Row(0), "up");
    EXPECT_EQ(CurRow(), 1);
}

// Record mode lets no table key act; its first Return goes out and starts
// the recording with the keyboard locked; typing is refused meanwhile.
TEST_F(KeyboardTest, RecordMode)
{
    Remote();
    Host("\x1b&a3c2Y");
    st.RecordMode = 1;
    EXPECT_TRUE(Press(Key::Up));
    EXPECT_TRUE(Press(Key::F11));
    EXPECT_EQ(CurRow(), 2);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kUserSet);
    EXPECT_FALSE(keys.KeyDown(Key::F4, Mod::Alt)) << "Alt+F4 is left to the window system";

    Press(Key::Return, 0, '\r');
    EXPECT_EQ(st.RecordMode, 2);
    EXPECT_TRUE(st.KeyboardLocked);
    EXPECT_FALSE(keys.KeyDown(Key::F4, Mod::Alt));
    st.KeyboardLocked = false;
    Type("a");
    EXPECT_EQ(Sent(), "\r");
    EXPECT_EQ(session.BellCount(), 1);
}

TEST_F(KeyboardTest, ASecondEditingKeyWhileOneRunsIsIgnored)
{
    window.Selected = true;
    window.During = [&] {
        window.Selected = true;
        keys.KeyDown(Key::Down, 0); // arrives while Up is carried out
    };
    Host("\x1b&a3c2Y");
    Press(Key::Up);
    EXPECT_EQ(CurRow(), 1);
}

TEST_F(KeyboardTest, F1WhileAFunctionKeyRunsDoesNothing)
{
    fkeys.SetFunctionKeys(FunctionKeys::kSystemSet);
    CountEnters();
    window.During = [&] { EXPECT_TRUE(keys.KeyDown(Key::F1, 0)); }; // consumed, does nothing
    Press(Key::F12);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kSystemSet);

    Press(Key::F1); // afterwards F1 works again
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kDeviceSet);
}

// The inhibit flag stops F1 to F8 only; F11 acts only while enabled.
TEST_F(KeyboardTest, FunctionKeyGates)
{
    fkeys.EnableFuncKey(FunctionKeys::kSystemSet, FunctionKeys::kSystemKeysKey, 2);
    Press(Key::F11);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kUserSet);
    fkeys.EnableFuncKey(FunctionKeys::kSystemSet, FunctionKeys::kSystemKeysKey, 0);
    keys.SetFunctionKeyInhibit(true);
    Press(Key::F11);
    Press(Key::F1);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kSystemSet);
}

// --- Return and Enter --------------------------------------------------------

TEST_F(KeyboardTest, EnterKeySettings)
{
    struct EnterCase {
        const char* Name;
        int Kb;
        int Num;
        bool Smart;
        bool BlockMode;
        bool NumericPad;
        int Shift;
        bool StrapA;
        int Enters;       // ExecEnterKey calls
        const char* Sent; // transmitted in remote mode (block mode: nothing typed goes out)
    };
    const EnterCase cases[] = {
        {"return", 0, 0, false, false, false, 0, false, 0, "\r"},
        {"numpad as return", 0, 0, false, false, true, 0, false, 0, "\r"},
        {"kb enter", 1, 0, false, false, false, 0, false, 1, ""},
        {"numpad enter", 0, 1, false, false, true, 0, false, 1, ""},
        {"numpad enter, main key return", 0, 1, false, false, false, 0, false, 0, "\r"},
        {"numpad tab, strap A", 0, 2, false, false, true, 0, true, 0, "\t"},
        {"numpad back tab, strap A", 0, 2, false, false, true, Mod::Shift, true, 0,
         "\x1b"
         "i"},
        {"smart enter in block mode", 0, 0, true, true, false, 0, false, 1, ""},
        {"smart enter outside block mode", 0, 0, true, false, false, 0, false, 0, "\r"},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Remote();
        conn.Writes.clear();
        keys.Enter = {c.Kb, c.Num, c.Smart};
        st.ModeBits = c.BlockMode ? kBlockMode : 0;
        st.Strap.A = c.StrapA;
        window.FormsEnters = 0;
        const int& enters = CountEnters();
        Press(Key::Return, c.Shift, '\r', c.NumericPad);
        EXPECT_EQ(enters, c.Enters);
        EXPECT_EQ(Sent(), c.Sent);
    }
}

TEST_F(KeyboardTest, SmartEnterWithAutoLineFeedTypesReturn)
{
    keys.Enter = {0, 0, true};
    st.ModeBits = kBlockMode;
    st.AutoLineFeed = true;
    const int& enters = CountEnters();
    Press(Key::Return, 0, '\r');
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(CurRow(), 1);
}

TEST_F(KeyboardTest, EnterIsRefusedWhileRecording)
{
    keys.Enter = {1, 2, false};
    st.RecordMode = 1;
    const int& enters = CountEnters();
    keys.KeyPress('\r');
    keys.KeyDown(Key::Return, 0, true);
    keys.KeyPress('\r');
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(session.BellCount(), 2);
}

TEST_F(KeyboardTest, AReturnWhileTheLastReturnIsStillCarriedOutIsDropped)
{
    Remote();
    st.ModeBits = kModifyAll;
    LineEvents events;
    Keyboard own(Internals(session).Term(), Internals(session).Transmit(), Internals(session).Receive(), fkeys,
                 Internals(session).Controls(), events);
    const int& lines = events.Lines;
    events.During = [&] { own.KeyPress('\r'); }; // arrives while the line transmission runs
    own.KeyPress('\r');
    EXPECT_EQ(lines, 1);
    own.KeyPress('\r');
    EXPECT_EQ(lines, 2);
}

TEST_F(KeyboardTest, FormsModeTakesTheNavigationKeys)
{
    window.FormsHold = true;
    const std::vector<FieldDirection>& moves = window.FormsMoves;
    const int& tabs = window.FormsTabs;
    EXPECT_TRUE(Press(Key::Up));
    EXPECT_TRUE(Press(Key::Left));
    EXPECT_TRUE(Press(Key::Tab));
    EXPECT_TRUE(Press(Key::Escape));
    EXPECT_TRUE(Press(Key::F10));
    EXPECT_FALSE(keys.KeyDown(Key::F4, Mod::Alt));
    EXPECT_FALSE(keys.KeyDown('A', 0));
    EXPECT_EQ(moves, (std::vector<FieldDirection>{FieldDirection::Up, FieldDirection::Left}));
    EXPECT_EQ(tabs, 1);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kUserSet);
}

// --- extended characters ---------------------------------------------------------

// functionkeys.case types a code, accented letters and F9 again; here the
// other ways an entry ends, with the bells of the refused keys.
TEST_F(KeyboardTest, ExtendedCharacterKeystrokes)
{
    struct ExtCase {
        const char* Name;
        const char* Typed; // after F9
        int EndKey;        // 0: none, else a key pressed at the end
        const char* Shown; // on the display (local mode)
        bool StillActive;
        int Bells;
    };
    const ExtCase cases[] = {
        {"Return completes", "66\r", 0, "B", false, 0},
        {"a key with no extended character", "\x7f", 0, "", false, 1},
        {"one digit gives the digit's extended character", "0", Key::Right, "\xb0", false, 0},
        {"above 255 is refused", "266", 0, "", true, 1},
        {"a fourth digit is refused", "0650", Key::Right, "A", false, 1},
        {"backspace takes a digit back", "69\b8", Key::F9, "D", false, 0},
        {"Esc abandons", "65\x1b", 0, "", false, 0},
        {"F9 without a code ends", "", Key::F9, "", false, 0},
        {"a letter after digits is refused", "6x", 0, "", true, 1},
        {"another function key ends the entry", "65", Key::F11, "", false, 0},
    };
    for (const ExtCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Host("\x1b"
             "E");
        const int bells = session.BellCount();
        Press(Key::F9);
        Type(c.Typed);
        if (c.EndKey != 0)
            Press(c.EndKey);
        EXPECT_EQ(Row(0), c.Shown);
        EXPECT_EQ(keys.ExtendCharActive(), c.StillActive);
        EXPECT_EQ(session.BellCount() - bells, c.Bells);
        keys.TurnOffExtendCharMode();
    }
}

// --- host redefinition of the Enter key -----------------------------------------

TEST_F(KeyboardTest, EscDefineEnterKey)
{
    struct EnterDef {
        const char* Seq;
        bool Accepted;
        int Kb;
        int Num;
        bool Smart;
        int Saves;
    };
    const EnterDef cases[] = {
        {"\x1b&f149P", true, 1, 0, false, 0},  {"\x1b&f211P", true, 1, 2, false, 0},
        {"\x1b&f154P", true, 1, 1, false, 0},  {"\x1b&f160P", true, 1, 1, false, 0},
        {"\x1b&f148P", false, 1, 1, false, 0}, {"\x1b&f212P", false, 1, 1, false, 0},
        {"\x1b&fR", true, 0, 2, false, 0},     {"\x1b&f1S", true, 1, 1, true, 1},
        {"\x1b&f150p1S", true, 1, 2, true, 1}, {"\x1b&f154p<x>m!", true, 1, 1, false, 0},
        {"\x1b&f1Q", false, 1, 1, false, 0},
    };
    for (const EnterDef& c : cases) {
        SCOPED_TRACE(c.Seq);
        keys.Enter = {1, 1, false};
        config.EnterKeySaves = 0;
        const int& saves = config.EnterKeySaves;
        EXPECT_EQ(keys.EscDefineEnterKey(c.Seq), c.Accepted);
        EXPECT_EQ(keys.Enter.KbEnterKey, c.Kb);
        EXPECT_EQ(keys.Enter.NumEnterKey, c.Num);
        EXPECT_EQ(keys.Enter.SmartEnter, c.Smart);
        EXPECT_EQ(saves, c.Saves);
    }
}

} // namespace
} // namespace kalvor::test
