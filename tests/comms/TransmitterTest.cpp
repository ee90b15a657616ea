#include "FakeConnection.h"
#include "FakeTrace.h"

#include "base/Clock.h"
#include "comms/Transmitter.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

struct TransmitterFixture : ::testing::Test {
    TerminalState state;
    FakeConnection conn;
    ManualClock clock;
    FakeTrace trace;
    Transmitter tx{state, conn, clock, &trace};

    void SetUp() override { conn.HandshakeCode = 1; } // a serial line runs with Xon/Xoff
};

// A serial line takes chunks of 50 bytes, a network connection of 500.
TEST_F(TransmitterFixture, ChunkSizeByConnection)
{
    for (const bool network : {false, true}) {
        conn.IsNetwork = network;
        conn.Writes.clear();
        const std::size_t chunk = network ? 500 : 50;
        tx.XmitString(std::string(chunk * 2 + 20, 'x'), false);
        EXPECT_EQ(conn.Writes, (std::vector<std::string>{std::string(chunk, 'x'), std::string(chunk, 'x'),
                                                         std::string(20, 'x')}));
    }
}

TEST_F(TransmitterFixture, SerialChunkWaitsForTheDrainOrOneSecond)
{
    conn.IsNetwork = false;
    conn.Outstanding = 10; // the port never drains
    tx.XmitString(std::string(120, 'x'), false);
    EXPECT_EQ(conn.Writes.size(), 1u);
    clock.Advance(999);
    tx.Pump();
    EXPECT_EQ(conn.Writes.size(), 1u);
    clock.Advance(1);
    tx.Pump();
    EXPECT_EQ(conn.Writes.size(), 2u);
    conn.Outstanding = 0; // drained: the last chunk goes at once
    tx.Pump();
    EXPECT_EQ(conn.Writes.size(), 3u);
    EXPECT_TRUE(tx.Idle());
}

TEST_F(TransmitterFixture, NothingIsSentWhenNotConnected)
{
    conn.IsConnected = false;
    tx.XmitString("abc", false);
    EXPECT_TRUE(conn.Writes.empty());
}

TEST_F(TransmitterFixture, AutoLineFeedAddsNulLfAfterCrOnRequest)
{
    state.AutoLineFeed = true;
    struct Row {
        const char* in;
        std::size_t inLen;
        bool request;
        std::string out;
    };
    const Row rows[] = {
        {"a\rb", 3, true, std::string("a\r\0\nb", 5)},
        {"a\rb", 3, false, "a\rb"},
        {"a\r\0\nb", 5, true, std::string("a\r\0\nb", 5)},
        {"\r\r", 2, true, std::string("\r\0\n\r\0\n", 6)},
    };
    for (const Row& r : rows) {
        conn.Writes.clear();
        tx.XmitString(std::string_view(r.in, r.inLen), r.request);
        EXPECT_EQ(conn.Written(), r.out) << r.in;
    }
}

TEST_F(TransmitterFixture, SerialSendsDc1FirstWhenTheHostIsPaused)
{
    conn.IsNetwork = false;
    tx.HostPaused = true;
    tx.XmitString("a", false);
    EXPECT_EQ(conn.Written(), "\x11"
                              "a");
    EXPECT_FALSE(tx.HostPaused);
}

TEST_F(TransmitterFixture, TelnetEchoBookkeeping)
{
    // Advanced Telnet: DONT ECHO once, before the first transmission.
    conn.NetKind = NetworkKind::TelnetAdvanced;
    tx.XmitString("a", false);
    tx.XmitString("b", false);
    ASSERT_EQ(conn.Options.size(), 1u);
    EXPECT_EQ(conn.Options[0].first, TelnetVerb::Dont);
    EXPECT_EQ(conn.Options[0].second, 1);
    EXPECT_TRUE(tx.LocalEchoRequested);
    // Standard Telnet with the switch set: DO ECHO and the switch clears.
    conn.NetKind = NetworkKind::TelnetStandard;
    tx.XmitString("c", false);
    ASSERT_EQ(conn.Options.size(), 2u);
    EXPECT_EQ(conn.Options[1].first, TelnetVerb::Do);
    EXPECT_FALSE(tx.LocalEchoRequested);
    // SSH clears the switch without a command.
    tx.LocalEchoRequested = true;
    conn.NetKind = NetworkKind::Ssh2;
    tx.XmitString("d", false);
    EXPECT_EQ(conn.Options.size(), 2u);
    EXPECT_FALSE(tx.LocalEchoRequested);
}

} // namespace
} // namespace kalvor::test
