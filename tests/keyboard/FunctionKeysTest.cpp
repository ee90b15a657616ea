// The function keys where functionkeys.case cannot reach: the log keys,
// the gates, user keys by attribute under the handshake and what the host's
// key definition (ESC & f) saves.
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

TEST_F(FunctionKeyEventsTest, LogKeysStartStopAndSwitch)
{
    FunctionKeys& fkeys = own;
    const std::vector<std::string>& calls = events.Calls;
    const int bottom = 2;
    const int top = 3;
    fkeys.ExecFuncKey(2, bottom, 0);
    fkeys.ExecFuncKey(2, top, 0);
    EXPECT_EQ(fkeys.Label(2, top).Line2, "  Top *");
    fkeys.ExecFuncKey(2, bottom, 0);
    fkeys.ExecFuncKey(2, bottom, 0);
    fkeys.ExecFuncKey(2, top, 0);
    fkeys.ExecFuncKey(2, top, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"on 1", "switch 2", "switch 1", "off 1", "on 2", "off 2"}));
    EXPECT_EQ(fkeys.LogType, 0);
}

// While recording only the record key acts: it ends the recording and
// unlocks the keyboard.
TEST_F(FunctionKeyEventsTest, RecordKeyAndTheRecordModeBlock)
{
    FunctionKeys& fkeys = own;
    st.RecordMode = 2;
    st.KeyboardLocked = true;
    fkeys.ExecFuncKey(3, 7, 0);
    EXPECT_FALSE(st.AutoLineFeed);
    EXPECT_EQ(session.BellCount(), 1);
    fkeys.ExecFuncKey(2, 1, 0);
    EXPECT_EQ(st.RecordMode, 0);
    EXPECT_FALSE(st.KeyboardLocked);
    EXPECT_EQ(events.Calls, (std::vector<std::string>{"record off"}));
}

TEST_F(FunctionKeysTest, EnableFuncKeyFlags)
{
    fkeys.EnableFuncKey(0, 9, 2);
    EXPECT_FALSE(fkeys.Enabled(0, 9));
    fkeys.ExecFuncKey(0, 9, 0);
    EXPECT_EQ(fkeys.CurrentSet(), FunctionKeys::kUserSet);
    EXPECT_EQ(session.BellCount(), 1) << "a disabled key is refused";
    fkeys.EnableFuncKey(0, 9, 0); // 0 toggles, 1 enables
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
        {"block, line strapping waits for DC1", true, true, false, false, true, "", "k\r"},
        {"G and H: at once", true, false, true, true, true, "k\x1e", "k\x1e"},
        {"G only: DC2 first", false, false, true, false, true, "\x12", "\x12k\r"},
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
    EXPECT_EQ(applied, 1);
    Host("\x1bk");
    EXPECT_EQ(applied, 2);
}

} // namespace
} // namespace kalvor::test
