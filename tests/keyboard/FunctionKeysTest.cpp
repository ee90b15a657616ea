// The function keys: the label tables, the meaning of every key of every
// set, user keys by attribute under the handshake and the host's key
// definition (ESC & f). Key-set control (ESC & j), host messages and the
// memory-lock key are checked in functionkeys.case.
#include "RecordingConfiguration.h"
#include "RecordingObserver.h"
#include "SessionFixture.h"
#include "SessionInternals.h"

namespace kalvor::test {
namespace {

class FunctionKeysTest : public SessionFixture {
protected:
    RecordingObserver observer;
    RecordingConfiguration config;

    void SetUp() override
    {
        session.SetObserver(&observer);
        session.SetConfiguration(&config);
    }
};

// What the keys ask of block transmission and the side files, recorded in
// order.
class RecordingKeyEvents final : public FunctionKeyEvents {
public:
    std::vector<std::string> Calls;

    void ExecEnterKey() override { Calls.push_back("enter"); }
    bool FormsShowObjects() override { return false; }
    void FormsEnter() override { Calls.push_back("forms enter"); }
    void TabPanel(bool) override {}
    void DestinationsChanged() override {}
    void TurnOnRecordMode() override { Calls.push_back("record on"); }
    void TurnOffRecordMode() override { Calls.push_back("record off"); }
    void TurnOnLogging(int logType) override { Calls.push_back("on " + std::to_string(logType)); }
    void TurnOffLogging(int logType) override { Calls.push_back("off " + std::to_string(logType)); }
    void SwitchLogType(int logType) override { Calls.push_back("switch " + std::to_string(logType)); }
    void ExitTerminal() override {}
    void SaveTermConfig(bool) override {}
    void UserKeyDefined(int) override {}
    void ApplyConfiguration() override {}
    void FocusDisplay() override {}
};

// Function keys of their own on the session's terminal and keyboard, with
// their requests recorded instead of carried out.
class FunctionKeyEventsTest : public SessionFixture {
protected:
    RecordingKeyEvents events;
    FunctionKeys own{Internals(session).Term(), keys, Internals(session).Transmit(), Internals(session).Handshaking(),
                     events};
};

// --- labels -------------------------------------------------------------------

// Each mode key of set 3: the state it toggles and its marked label.
TEST_F(FunctionKeysTest, ModeKeysToggleTheirModeAndStar)
{
    struct ModeCase {
        int Key;
        const char* Off;
        const char* On;
        std::function<bool(const TerminalState&)> IsOn;
    };
    const ModeCase cases[] = {
        {0, " Modify", " Modify*", [](const TerminalState& s) { return s.ModeBits == kLineModify; }},
        {1, "  All", "  All  *", [](const TerminalState& s) { return s.ModeBits == kModifyAll; }},
        {2, " Mode", " Mode  *", [](const TerminalState& s) { return s.ModeBits == kBlockMode; }},
        {3, "  Mode", "  Mode *", [](const TerminalState& s) { return s.RemoteMode; }},
        {6, "Functns", "Functns*", [](const TerminalState& s) { return s.DisplayFunctions; }},
        {7, "   LF", "   LF *", [](const TerminalState& s) { return s.AutoLineFeed; }},
    };
    fkeys.SetFunctionKeys(FunctionKeys::kModesSet);
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.Key);
        fkeys.ExecFuncKey(FunctionKeys::kModesSet, c.Key, 0);
        EXPECT_TRUE(c.IsOn(st));
        EXPECT_EQ(fkeys.ButtonLabel(c.Key).Line2, c.On);
        fkeys.ExecFuncKey(FunctionKeys::kModesSet, c.Key, 0);
        EXPECT_FALSE(c.IsOn(st));
        EXPECT_EQ(fkeys.ButtonLabel(c.Key).Line2, c.Off);
    }
}

TEST_F(FunctionKeysTest, DestinationKeys)
{
    const int& changes = observer.DestinationChanges;
    fkeys.ExecFuncKey(1, 1, 0);
    EXPECT_EQ(st.OutputRouting, FunctionKeys::kToDisplay | FunctionKeys::kToPrinter);
    EXPECT_EQ(fkeys.Label(1, 1).Line2, "Printer*");
    fkeys.ExecFuncKey(1, 2, 0);
    EXPECT_EQ(st.OutputRouting, FunctionKeys::kToPrinter);
    EXPECT_EQ(fkeys.Label(1, 2).Line2, "Display");
    fkeys.ExecFuncKey(1, 3, 0);
    EXPECT_EQ(st.OutputRouting, FunctionKeys::kToPrinter | FunctionKeys::kToFile);
    EXPECT_EQ(fkeys.Label(1, 3).Line2, "  File*");
    EXPECT_EQ(changes, 3);
}

TEST_F(FunctionKeyEventsTest, LogKeysStartStopAndSwitch)
{
    FunctionKeys& fkeys = own;
    const std::vector<std::string>& calls = events.Calls;
    const int bottom = 2;
    const int top = 3;
    fkeys.ExecFuncKey(2, bottom, 0);
    EXPECT_EQ(fkeys.Label(2, bottom).Line2, " Bottom*");
    fkeys.ExecFuncKey(2, top, 0);
    EXPECT_EQ(fkeys.Label(2, top).Line2, "  Top *");
    EXPECT_EQ(fkeys.Label(2, bottom).Line2, " Bottom");
    fkeys.ExecFuncKey(2, bottom, 0);
    fkeys.ExecFuncKey(2, bottom, 0);
    fkeys.ExecFuncKey(2, top, 0);
    fkeys.ExecFuncKey(2, top, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"on 1", "switch 2", "switch 1", "off 1", "on 2", "off 2"}));
    EXPECT_EQ(fkeys.LogType, 0);
}

TEST_F(FunctionKeyEventsTest, RecordKeyAndTheRecordModeBlock)
{
    FunctionKeys& fkeys = own;
    fkeys.ExecFuncKey(2, 1, 0);
    EXPECT_EQ(st.RecordMode, 1);
    EXPECT_EQ(fkeys.Label(2, 1).Line2, "  Mode *");

    // While recording other keys are refused with the bell.
    fkeys.ExecFuncKey(3, 7, 0);
    EXPECT_FALSE(st.AutoLineFeed);
    EXPECT_EQ(session.BellCount(), 1);

    st.RecordMode = 2;
    st.KeyboardLocked = true;
    fkeys.ExecFuncKey(2, 1, 0);
    EXPECT_EQ(st.RecordMode, 0);
    EXPECT_FALSE(st.KeyboardLocked);
    EXPECT_EQ(fkeys.Label(2, 1).Line2, "  Mode");
    EXPECT_EQ(events.Calls, (std::vector<std::string>{"record on", "record off"}));
}

TEST_F(FunctionKeysTest, MenuOffShowsTheMessagePanelAndF10ShowsLabels)
{
    fkeys.ExecFuncKey(0, 4, 0);
    EXPECT_FALSE(fkeys.LabelsShown());
    EXPECT_TRUE(fkeys.MessagePanelShown());
    fkeys.ExecFuncKey(0, 9, 0);
    EXPECT_TRUE(fkeys.LabelsShown());
    EXPECT_FALSE(fkeys.MessagePanelShown());
}

TEST_F(FunctionKeysTest, TabPanelKey)
{
    const std::vector<bool>& shown = observer.TabPanels;
    fkeys.ExecFuncKey(0, 1, 0);
    EXPECT_TRUE(fkeys.TabPanelShown());
    fkeys.ExecFuncKey(0, 1, 0);
    EXPECT_FALSE(fkeys.TabPanelShown());
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
}

TEST_F(FunctionKeysTest, EnableFuncKeyFlags)
{
    fkeys.EnableFuncKey(0, 9, 2);
    EXPECT_FALSE(fkeys.Enabled(0, 9));
    fkeys.ExecFuncKey(0, 9, 0);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kUserSet);
    EXPECT_EQ(session.BellCount(), 1) << "a disabled key is refused";
    fkeys.EnableFuncKey(0, 9, 0);
    EXPECT_TRUE(fkeys.Enabled(0, 9));
    fkeys.EnableFuncKey(0, 9, 0);
    EXPECT_FALSE(fkeys.Enabled(0, 9));
    fkeys.EnableFuncKey(0, 9, 1);
    EXPECT_TRUE(fkeys.Enabled(0, 9));
    fkeys.EnableFuncKey(0, 13, 2); // out of range: nothing
    EXPECT_FALSE(fkeys.Enabled(0, 13));
}

TEST_F(FunctionKeysTest, AltF4EndsTheProgramBeforeAnythingElse)
{
    const int& exits = observer.ExitTerminals;
    st.RecordMode = 2;
    fkeys.ExecFuncKey(5, 3, Mod::Alt);
    EXPECT_EQ(exits, 1);
    fkeys.ExecFuncKey(5, 12, 0); // no key 12
    EXPECT_EQ(exits, 1);
}

TEST_F(FunctionKeysTest, EnterKeyEndsInsertModeAndRunsTheEnterFunction)
{
    RecordingKeyEvents events;
    FunctionKeys own(Internals(session).Term(), keys, Internals(session).Transmit(), Internals(session).Handshaking(),
                     events);
    st.InsertMode = true;
    own.ExecFuncKey(3, 11, 0);
    EXPECT_FALSE(st.InsertMode);
    EXPECT_EQ(events.Calls, std::vector<std::string>{"enter"});

    // The session's keys: while the forms mode shows objects, Enter is its own.
    observer.FormsShown = true;
    fkeys.ExecFuncKey(0, 11, 0);
    EXPECT_EQ(observer.FormsEnters, 1);
}

TEST_F(FunctionKeysTest, RemoteKeyFirstSwitchOnUnlocksTheKeyboard)
{
    st.KeyboardLocked = true;
    fkeys.ExecFuncKey(3, 3, 0);
    EXPECT_TRUE(st.RemoteMode);
    EXPECT_FALSE(st.KeyboardLocked);
    fkeys.ExecFuncKey(3, 3, 0);
    st.KeyboardLocked = true;
    fkeys.ExecFuncKey(3, 3, 0);
    EXPECT_TRUE(st.KeyboardLocked) << "only the first time";
}

// --- user keys by attribute ------------------------------------------------------

TEST_F(FunctionKeysTest, NormalKeyInhibitsF1ToF8WhileItIsSent)
{
    Remote();
    std::vector<bool> inhibit;
    conn.OnWrite = [&](std::string_view) { inhibit.push_back(keys.FunctionKeyInhibit()); };
    fkeys.FuncKeyXmit("xy", FunctionKeys::kNormal);
    EXPECT_EQ(inhibit, (std::vector<bool>{true, true}));
    EXPECT_FALSE(keys.FunctionKeyInhibit());
}

TEST_F(FunctionKeysTest, TransmitOnlyKeyUnderTheHandshake)
{
    struct HsCase {
        const char* Name;
        bool BlockMode;
        bool LineStrapping;
        bool G;
        bool H;
        bool Dc1Received;
        const char* Before; // sent when the key is pressed
        const char* After;  // sent in all after the host's DC1
    };
    const HsCase cases[] = {
        {"character mode goes at once", false, false, false, false, true, "k\r", "k\r"},
        {"block, page strapping: DC2 first", true, false, false, false, true, "\x12", "\x12k\x1e"},
        {"block, page strapping, no DC1 yet", true, false, false, false, false, "", "\x12"},
        {"block, line strapping waits for DC1", true, true, false, false, true, "", "k\r"},
        {"G and H: at once", true, false, true, true, true, "k\x1e", "k\x1e"},
        {"G only: DC2 first", false, false, true, false, true, "\x12", "\x12k\r"},
        {"H only: at once", true, false, false, true, true, "k\x1e", "k\x1e"},
    };
    for (const HsCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Host("\x1b"
             "E");
        Remote();
        conn.Writes.clear();
        Internals(session).Handshaking().Reset(c.Dc1Received);
        st.ModeBits = c.BlockMode ? kBlockMode : 0;
        st.Strap.LineStrapping = c.LineStrapping;
        st.Strap.G = c.G;
        st.Strap.H = c.H;
        fkeys.FuncKeyXmit("k", FunctionKeys::kTransmitOnly);
        EXPECT_EQ(Sent(), c.Before);
        Internals(session).Receive().DeliverNetworkData("\x11");
        session.Tick();
        EXPECT_EQ(Sent(), c.After);
    }
}

TEST_F(FunctionKeysTest, TransmitOnlyKeyEchoesWhenItGoesOut)
{
    Remote();
    keys.LocalEcho = true;
    st.ModeBits = kBlockMode;
    st.Strap.LineStrapping = true;
    fkeys.FuncKeyXmit("xyz", FunctionKeys::kTransmitOnly);
    EXPECT_EQ(Row(0), "");
    Internals(session).Receive().DeliverNetworkData("\x11");
    session.Tick();
    EXPECT_EQ(Sent(), "xyz\r");
    EXPECT_EQ(Row(0), "xyz");
}

TEST_F(FunctionKeysTest, TransmitOnlyKeyWithTheCursorAddress)
{
    Remote();
    fkeys.SendCursorAddress = true;
    Host("\x1b&a2c1Y");
    fkeys.FuncKeyXmit("q", FunctionKeys::kTransmitOnly);
    EXPECT_EQ(Sent(), "\x1b&a002c001Rq\r");
}

TEST_F(FunctionKeysTest, UserKeysWithShiftSendTheirDefaultString)
{
    Remote();
    fkeys.SetUserKey(2, "mine", "", FunctionKeys::kTransmitOnly, "hello");
    fkeys.ExecFuncKey(FunctionKeys::kUserSet, 2, 0);
    fkeys.ExecFuncKey(FunctionKeys::kUserSet, 2, Mod::Shift);
    fkeys.ExecFuncKey(FunctionKeys::kUserSet, 2, Mod::Shift | Mod::Ctrl); // not exactly Shift
    EXPECT_EQ(Sent(), "hello\r\x1br\rhello\r");
}

// --- ESC & f ------------------------------------------------------------------------

TEST_F(FunctionKeysTest, DefinitionExecutesAndSaves)
{
    Remote();
    const std::vector<bool>& saves = config.TermConfigSaves;
    Host("\x1b&f1a2k3d3Lkeyxyz");
    Host("\x1b&f2E");
    EXPECT_EQ(Sent(), "") << "attribute 1: carried out locally, nothing sent";
    EXPECT_EQ(Row(0), "xyz");
    Host("\x1b&f1K\x1b&f1E");
    EXPECT_EQ(Sent(), "\x1bp\r");
    EXPECT_FALSE(st.KeyboardLocked);
    st.InsertMode = true;
    Host("\x1b&f-1E");
    EXPECT_TRUE(st.KeyboardLocked) << "the Enter function ran: it locks the keyboard";
    EXPECT_FALSE(st.InsertMode);
    Host("\x1b&f1B\x1b&f0B");
    EXPECT_EQ(saves, (std::vector<bool>{false, true})) << "1 restores, any other value keeps";
}

TEST_F(FunctionKeysTest, HardResetRestoresTheUserKeys)
{
    const int& applied = config.UserKeyApplications;
    Host("\x1b&f1k1d1Lab");
    Host("\x1b"
         "E");
    EXPECT_EQ(fkeys.UserKeyString(0), "\x1bp");
    EXPECT_EQ(fkeys.Label(5, 0).Line1, "   f1");
    EXPECT_EQ(applied, 1);
    Host("\x1bk");
    EXPECT_EQ(applied, 2);
}

} // namespace
} // namespace kalvor::test
