// Control characters from the keyboard, the quiet transmission and the break.
#include "RecordingObserver.h"
#include "SessionFixture.h"
#include "SessionInternals.h"

namespace kalvor::test {
namespace {

class ControlCharactersTest : public SessionFixture {
protected:
    ControlCharacters& controls = Internals(session).Controls();
    RecordingObserver window;

    void SetUp() override { session.SetObserver(&window); }
};

// Ctrl+letter gives a control character only while they are transmitted;
// it is then typed like any character.
TEST_F(ControlCharactersTest, CtrlLettersBecomeControlCharactersOnlyWhenTransmitted)
{
    Remote();
    EXPECT_EQ(controls.CtrlLetterCharacter('A'), 0);
    controls.XmitCntlChar_Click();
    EXPECT_EQ(controls.CtrlLetterCharacter('Z'), 26);
    EXPECT_EQ(controls.CtrlLetterCharacter('5'), 0);
    EXPECT_FALSE(keys.KeyDown('C', Mod::Ctrl));
    keys.KeyPress(controls.CtrlLetterCharacter('C'));
    EXPECT_EQ(Sent(), "\x03");
    controls.ProcessCntlChar_Click();
    EXPECT_EQ(controls.CtrlLetterCharacter('C'), 0);
}

TEST_F(ControlCharactersTest, SwitchingEndsExtendedCharacterEntry)
{
    const int& settings = window.ControlCharacterChanges;
    keys.ExtendCharKey();
    controls.XmitCntlChar_Click();
    EXPECT_FALSE(keys.ExtendCharActive());
    keys.ExtendCharKey();
    controls.ProcessCntlChar_Click();
    EXPECT_FALSE(keys.ExtendCharActive());
    EXPECT_EQ(settings, 2);
}

TEST_F(ControlCharactersTest, BreakByConnectionKind)
{
    struct BreakCase {
        bool Network;
        NetworkKind Kind;
        bool Telnet;
    };
    const BreakCase cases[] = {
        {true, NetworkKind::TelnetStandard, true},
        {true, NetworkKind::TelnetAdvanced, true},
        {true, NetworkKind::Ssh2, false},
        {false, NetworkKind::TelnetStandard, false},
    };
    for (const BreakCase& c : cases) {
        FakeConnection line;
        line.IsNetwork = c.Network;
        line.NetKind = c.Kind;
        session.SetConnection(line);
        window.Focuses = 0;
        const int& focus = window.Focuses;
        controls.SendBreak_Click();
        EXPECT_EQ(line.Commands, c.Telnet ? std::vector<int>{243} : std::vector<int>{});
        EXPECT_EQ(line.Breaks, c.Telnet ? std::vector<int>{} : std::vector<int>{300});
        EXPECT_EQ(focus, 1);
        EXPECT_EQ(line.Written(), "");
    }
    session.SetConnection(conn);
}

TEST_F(ControlCharactersTest, QuietTransmissionWithoutNegotiationIsPlain)
{
    Remote();
    controls.QuietXmitChar("");
    controls.QuietXmitChar("pw\r");
    EXPECT_EQ(Sent(), "pw\r");
    EXPECT_TRUE(conn.Options.empty());
    EXPECT_FALSE(controls.Busy());

    conn.IsNetwork = false; // serial: plain even with negotiation on
    controls.EchoNegotiation = true;
    controls.QuietXmitChar("s");
    Internals(session).Transmit().Pump();
    EXPECT_EQ(Sent(), "pw\rs");
    EXPECT_TRUE(conn.Options.empty());
}

TEST_F(ControlCharactersTest, QuietTransmissionWithLocalEchoSuppressesTheRemoteEcho)
{
    Remote();
    keys.LocalEcho = true;
    controls.EchoNegotiation = true;
    bool suppressed = false;
    conn.OnWrite = [&](std::string_view) { suppressed = Internals(session).Transmit().EchoSuppressionOffered; };
    controls.QuietXmitChar("x");
    EXPECT_TRUE(suppressed);
    EXPECT_FALSE(Internals(session).Transmit().EchoSuppressionOffered) << "restored afterwards";
    EXPECT_TRUE(conn.Options.empty());
}

// DONT ECHO, 50 ms, the text, 50 ms, DO ECHO; the event loop keeps running.
class QuietNegotiationTest : public ControlCharactersTest {
protected:
    void SetUp() override
    {
        Remote();
        controls.EchoNegotiation = true;
    }
    void Wait(int ms)
    {
        for (int t = 0; t < ms; t += Session::kTickMs) {
            clock.Advance(Session::kTickMs);
            session.Tick();
        }
    }
};

TEST_F(QuietNegotiationTest, StepsOfTheQuietTransmission)
{
    controls.QuietXmitChar("secret");
    ASSERT_EQ(conn.Options.size(), 1u);
    EXPECT_EQ(conn.Options[0], std::make_pair(TelnetVerb::Dont, 1));
    EXPECT_EQ(conn.Written(), "");
    EXPECT_TRUE(session.Busy());

    Wait(25);
    EXPECT_EQ(conn.Written(), "");
    keys.KeyPress('k'); // typing goes on meanwhile
    EXPECT_EQ(conn.Written(), "k");
    Wait(25);
    EXPECT_EQ(conn.Written(), "ksecret");
    EXPECT_EQ(conn.Options.size(), 1u);
    Wait(50);
    ASSERT_EQ(conn.Options.size(), 2u);
    EXPECT_EQ(conn.Options[1], std::make_pair(TelnetVerb::Do, 1));
    EXPECT_FALSE(session.Busy());
}

TEST_F(QuietNegotiationTest, QueuedTransmissionsFollowOneAnother)
{
    controls.QuietXmitChar("a");
    controls.QuietXmitChar("b");
    Wait(100);
    EXPECT_EQ(conn.Written(), "a");
    EXPECT_EQ(conn.Options.size(), 3u) << "DONT, DO, then DONT for the second";
    Wait(100);
    EXPECT_EQ(conn.Written(), "ab");
    ASSERT_EQ(conn.Options.size(), 4u);
    EXPECT_EQ(conn.Options[3], std::make_pair(TelnetVerb::Do, 1));
    EXPECT_FALSE(controls.Busy());
}

} // namespace
} // namespace kalvor::test
