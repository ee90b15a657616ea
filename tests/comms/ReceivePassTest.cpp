#include "FakeConnection.h"
#include "RecordingObserver.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include "base/Clock.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kalvor::test {
namespace {

struct ReceiveFixture : ::testing::Test {
    ManualClock clock;
    FakeConnection conn;
    Session session{clock};
    test::RecordingObserver observer;
    const int& repaints = observer.Repaints;

    void SetUp() override
    {
        conn.HandshakeCode = 1; // a serial line runs with Xon/Xoff
        session.SetObserver(&observer);
        session.SetConnection(conn);
    }
    std::string Row(int r) { return session.Memory().Row(session.Memory().ScreenRowToRing(r)).Text; }
};

TEST_F(ReceiveFixture, SerialPacingSendsOneXoffAboveFiftyThousandAndXonBelowTenThousand)
{
    conn.IsNetwork = false;
    Internals(session).Receive().DisplayRunning = false; // the backlog stays while paused
    conn.Input = std::string(50001, 'x');
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13");
    conn.Input = std::string(1000, 'x');
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13") << "exactly one XOFF";
    Internals(session).Receive().DisplayRunning = true;
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13\x11");
}

TEST_F(ReceiveFixture, NoPacingWithoutHandshakingOrOnAPlainNetwork)
{
    conn.IsNetwork = false;
    conn.HandshakeCode = 0;
    conn.Input = std::string(60000, 'x');
    session.Tick();
    conn.IsNetwork = true;
    Internals(session).Receive().DeliverNetworkData(std::string(60000, 'x'));
    session.Tick();
    EXPECT_TRUE(conn.Writes.empty());
    Internals(session).Receive().NetworkXoff = true;
    Internals(session).Receive().DisplayRunning = false;
    Internals(session).Receive().DeliverNetworkData(std::string(60000, 'x'));
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13");
}

// ENQ is taken out of the text; with the switch on each one is answered
// by ACK.
TEST_F(ReceiveFixture, EnqIsRemovedAndAnsweredOnlyWhenTheSwitchIsOn)
{
    Internals(session).Receive().DeliverNetworkData("A\005B");
    session.Tick();
    EXPECT_TRUE(conn.Writes.empty());
    Internals(session).Receive().EnqAck = true;
    Internals(session).Receive().DeliverNetworkData("\005C\005");
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x06\x06");
    EXPECT_EQ(Row(0), "ABC");
}

TEST_F(ReceiveFixture, PausedDisplayKeepsTheBacklogAndResumesInOrder)
{
    Internals(session).Receive().StopStart();
    EXPECT_EQ(conn.Written(), "\x13");
    Internals(session).Receive().DeliverNetworkData("one\r\n");
    session.Tick();
    Internals(session).Receive().DeliverNetworkData("two");
    session.Tick();
    EXPECT_EQ(Row(0), "");
    EXPECT_EQ(Internals(session).Receive().CommBuffer().Size(), 8u);
    Internals(session).Receive().StopStart();
    EXPECT_EQ(conn.Written(), "\x13\x11");
    session.Tick();
    EXPECT_EQ(Row(0), "one");
    EXPECT_EQ(Row(1), "two");
}

TEST_F(ReceiveFixture, HoldStopsInterpretationForOneSecondOfTheClock)
{
    Internals(session).Receive().DeliverNetworkData("A\x1b@B");
    session.Tick();
    EXPECT_EQ(Row(0), "A");
    clock.Advance(999);
    session.Tick();
    EXPECT_EQ(Row(0), "A");
    clock.Advance(1);
    session.Tick();
    EXPECT_EQ(Row(0), "AB");
}

// Lines the Canvo window kept when it closed leave on the host's next DC1.
// (The window taking over the receive buffer: the forms screen cases.)
TEST_F(ReceiveFixture, LinesKeptByTheClosedCanvoWindowLeaveOnTheHostsNextDc1)
{
    session.Forms().KeepLines("A:True\r");
    Internals(session).Receive().DeliverNetworkData("b");
    session.Tick();
    EXPECT_EQ(conn.Written(), "");
    Internals(session).Receive().DeliverNetworkData("\x11");
    session.Tick();
    EXPECT_EQ(conn.Written(), "A:True\r");
    EXPECT_EQ(Row(0), "b");
}

TEST_F(ReceiveFixture, NotConnectedDrainsTheSerialPort)
{
    conn.IsConnected = false;
    conn.Input = "ignored";
    session.Tick();
    EXPECT_TRUE(conn.Input.empty());
    EXPECT_EQ(Row(0), "");
}

// Passes on arrival and the tick's passes are one stream: a sequence cut
// by one is completed by the other, in the order the bytes came.
TEST_F(ReceiveFixture, PassesOnArrivalAndTicksInterpretOneStreamInOrder)
{
    session.Input().NetInBuffer() += "one\x1b&a";
    session.Input().DataArrived();
    EXPECT_EQ(observer.Arrivals, 1);
    session.ArrivalPass();
    EXPECT_EQ(Row(0), "one");
    EXPECT_GE(repaints, 1) << "a pass that empties the buffer repaints";
    session.Input().NetInBuffer() += "6C";
    session.Tick();
    session.Input().NetInBuffer() += "two\r\nthree";
    session.ArrivalPass();
    EXPECT_EQ(Row(0), "one   two");
    EXPECT_EQ(Row(1), "three");
    EXPECT_TRUE(session.Input().NetInBuffer().empty());
    EXPECT_TRUE(session.ReceiveBufferEmpty());
}

// A log-on script's WAIT looks at the data one tick gathers: while a
// script runs, data that arrives waits for the tick.
TEST_F(ReceiveFixture, NoPassOnArrivalWhileALogonScriptRuns)
{
    const TempHome home;
    const std::filesystem::path file = home.Path() / "logon.zkt";
    std::ofstream(file) << "ADDR somehost\r\nWAIT login:\r\nEXIT\r\n";
    ASSERT_TRUE(session.PrepareScript(file));
    session.Input().NetInBuffer() += "login:";
    session.ArrivalPass();
    EXPECT_EQ(session.Input().NetInBuffer(), "login:");
    EXPECT_EQ(Row(0), "");
    session.Tick();
    EXPECT_EQ(Row(0), "login:");
}

} // namespace
} // namespace kalvor::test
