#include "FakeConnection.h"
#include "FakeTrace.h"

#include "base/Clock.h"
#include "session/Session.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

struct ReceiveFixture : ::testing::Test {
    ManualClock clock;
    FakeTrace trace;
    FakeConnection conn;
    Session session{clock, &trace};
    int repaints = 0;

    void SetUp() override
    {
        conn.HandshakeCode = 1; // a serial line runs with Xon/Xoff
        trace.On = false;
        session.OnRepaint = [this] { ++repaints; };
        session.SetConnection(conn);
    }
    std::string Row(int r) { return session.Memory().Row(session.Memory().ScreenRowToRing(r)).Text; }
};

TEST_F(ReceiveFixture, SerialPacingSendsOneXoffAboveFiftyThousandAndXonBelowTenThousand)
{
    conn.IsNetwork = false;
    conn.HandshakeCode = 1;
    session.Receive().DisplayRunning = false; // the backlog stays while paused
    conn.Input = std::string(50001, 'x');
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13");
    conn.Input = std::string(1000, 'x');
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13") << "exactly one XOFF";
    session.Receive().DisplayRunning = true;
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
    session.Receive().DeliverNetworkData(std::string(60000, 'x'));
    session.Tick();
    EXPECT_TRUE(conn.Writes.empty());
    session.Receive().NetworkXoff = true;
    session.Receive().DisplayRunning = false;
    session.Receive().DeliverNetworkData(std::string(60000, 'x'));
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x13");
}

TEST_F(ReceiveFixture, EachEnqIsAnsweredOnceAndRemoved)
{
    session.Receive().EnqAck = true;
    session.Receive().DeliverNetworkData("A\x05" "B\x05" "C");
    session.Tick();
    EXPECT_EQ(conn.Written(), "\x06\x06");
    EXPECT_EQ(Row(0), "ABC");
}

TEST_F(ReceiveFixture, EnqIsDroppedWithoutAnswerWhenTheSwitchIsOff)
{
    session.Receive().DeliverNetworkData("A\x05" "B");
    session.Tick();
    EXPECT_TRUE(conn.Writes.empty());
    EXPECT_EQ(Row(0), "AB");
}

TEST_F(ReceiveFixture, PausedDisplayKeepsTheBacklogAndResumesInOrder)
{
    session.Receive().StopStart();
    EXPECT_EQ(conn.Written(), "\x13");
    session.Receive().DeliverNetworkData("one\r\n");
    session.Tick();
    session.Receive().DeliverNetworkData("two");
    session.Tick();
    EXPECT_EQ(Row(0), "");
    EXPECT_EQ(session.Receive().CommBuffer().Size(), 8u);
    session.Receive().StopStart();
    EXPECT_EQ(conn.Written(), "\x13\x11");
    session.Tick();
    EXPECT_EQ(Row(0), "one");
    EXPECT_EQ(Row(1), "two");
}

TEST_F(ReceiveFixture, ReceivedDataIsTracedOncePerGather)
{
    trace.On = true;
    session.Receive().DeliverNetworkData("ab");
    session.Receive().DeliverNetworkData("cd");
    session.Tick();
    ASSERT_EQ(trace.Lines.size(), 1u);
    EXPECT_EQ(trace.Lines[0].first, "Received:");
    EXPECT_EQ(trace.Lines[0].second, "abcd");
}

TEST_F(ReceiveFixture, RepaintAfterCrIsThrottledAndTheEndOfAPassAlwaysRepaints)
{
    session.Receive().DeliverNetworkData("a\r\nb\r\nc\r\n");
    session.Tick();
    // One repaint after the first CR (0.08 s since start have not passed:
    // the clock has not moved, so only the final one counts).
    const int first = repaints;
    EXPECT_GE(first, 1);
    clock.Advance(80);
    session.Receive().DeliverNetworkData("d\r\ne\r\n");
    session.Tick();
    EXPECT_EQ(repaints, first + 2) << "one throttled line repaint and one at the end";
}

TEST_F(ReceiveFixture, NoLineRepaintWhileTenThousandCharactersWait)
{
    clock.Advance(1000);
    // A receive pass with a large backlog in the staging buffer: line repaints
    // wait, the end of the pass still paints once.
    session.Receive().AppendLocal("a\r\nb\r\n");
    session.Receive().NetInBuffer().assign(10000, 'z');
    conn.IsConnected = false; // nothing is gathered from the staging buffer
    session.Tick();
    EXPECT_EQ(repaints, 1);
}

TEST_F(ReceiveFixture, HoldStopsInterpretationForOneSecondOfTheClock)
{
    session.Receive().DeliverNetworkData("A\x1b@B");
    session.Tick();
    EXPECT_EQ(Row(0), "A");
    clock.Advance(999);
    session.Tick();
    EXPECT_EQ(Row(0), "A");
    clock.Advance(1);
    session.Tick();
    EXPECT_EQ(Row(0), "AB");
}

TEST_F(ReceiveFixture, NotConnectedDrainsTheSerialPort)
{
    conn.IsConnected = false;
    conn.Input = "ignored";
    session.Tick();
    EXPECT_TRUE(conn.Input.empty());
    EXPECT_EQ(Row(0), "");
}

} // namespace
} // namespace kalvor::test
