// Telnet against real servers on loopback ports, started by the tests: the
// demonstration host (kalvor-demohost), BusyBox telnetd, and a socat host
// that sends a stream and hangs up. (Long streams: LongStreamTest.cpp;
// inetutils telnetd, which waits for its offers to be refused: the log-on
// script tests.)
#include "Listing.h"
#include "NetTestSupport.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (const int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

// The most characters a network connection reads ahead of the interpreter:
// the receive buffer's high mark, the staging cap and one read.
constexpr std::size_t kBacklogBound = ReceiveThrottle::kHigh + net::InputThrottle::kStagingHigh +
                                      static_cast<std::size_t>(net::TelnetConnection::kReadChunk);

// The demonstration host on a free port, with its log of what it received.
class DemoHostFixture : public ::testing::Test {
protected:
    TempHome home;
    ServerProcess host;
    int port = 0;
    std::filesystem::path log;

    void StartHost(std::vector<std::string> extra = {})
    {
        log = home.Path() / "received.bin";
        extra.insert(extra.begin(), {"--log", log.string()});
        std::string error;
        port = StartDemoHost(host, extra, error);
        ASSERT_GT(port, 0) << error;
    }
    std::string Entry() const { return "127.0.0.1:" + std::to_string(port) + " [demo host]"; }
};

// One connection through the menu: the negotiation byte for byte, the echo
// refused, byte 255 sent doubled, the host's Telnet variant escape, a long
// listing held back by a paused display, then the disconnection and a
// refused connection. (What the terminal does with a form in block mode and
// the status requests is in the screen cases, byte 255 received in the long
// streams.)
TEST_F(DemoHostFixture, AdvancedSessionWalksThroughTheMenu)
{
    StartHost();
    Harness h;
    h.Connect("  [just a comment]  ", NetworkKind::TelnetAdvanced); // an empty entry does nothing
    h.Connect("", NetworkKind::TelnetAdvanced);
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.Manager.Telnet().ComponentBusy());
    h.Connect(Entry(), NetworkKind::TelnetAdvanced);
    EXPECT_EQ(h.Statuses.front(), "Telnet (advanced)");
    EXPECT_EQ(h.Captions.back(), Entry() + " - Kalvor");
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("Choice:"); })) << h.Screen();

    // The host sent WILL ECHO, DO 24, DO 33 and, when asked, WILL 45 and the
    // terminal-type request; the terminal's answers in order:
    const std::string expected = B({255, 253, 1, 255, 253, 45, // WILL ECHO just after connecting: DO 1, DO 45
                                    255, 251, 24,              // DO 24: WILL 24
                                    255, 251, 33,              // DO 33: WILL 33
                                    255, 250, 24, 0}) +        // SEND: IS and the type
                                 "hp" +
                                 B({255, 240});
    EXPECT_EQ(ReadAll(log), expected);
    EXPECT_EQ(h.Manager.Kind(), NetworkKind::TelnetAdvanced);
    EXPECT_TRUE(Internals(h.Term).Receive().NetworkXoff);
    EXPECT_TRUE(h.ScreenHas("Terminal type: hp")) << h.Screen();
    EXPECT_TRUE(h.ScreenHas("option 45: agreed")) << h.Screen();
    EXPECT_TRUE(h.Trace.Has("Telnet:", "<" + Entry() + " contacted>"));
    EXPECT_FALSE(h.ConnectEnabled);
    EXPECT_TRUE(h.DisconnectEnabled);

    // Advanced refuses the server's echo (DONT ECHO before the first
    // character) and echoes the 9 itself, once.
    std::size_t before = ReadAll(log).size();
    h.Type("9\r");
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("Unknown choice: 9"); })) << h.Screen();
    EXPECT_EQ(ReadAll(log).substr(before), B({255, 254, 1}) + "9\r");
    EXPECT_TRUE(Internals(h.Term).Transmit().LocalEchoRequested);
    EXPECT_FALSE(h.Manager.Telnet().Negotiator().ServerEcho());
    EXPECT_TRUE(h.ScreenHas("Choice: 9\n")) << h.Screen();

    // Byte 255 goes out as a doubled IAC (from a Latin-1 host, so that it is
    // not translated to Roman 8).
    Internals(h.Term).State().HostRoman8 = false;
    before = ReadAll(log).size();
    Internals(h.Term).Transmit().XmitString(B({'a', 255, 'b', '\r'}), false);
    ASSERT_TRUE(WaitFor([&] { return ReadAll(log).size() >= before + 5; }));
    EXPECT_EQ(ReadAll(log).substr(before), B({'a', 255, 255, 'b', '\r'}));
    Internals(h.Term).State().HostRoman8 = true;

    // The host's Telnet variant escape switches the status panel.
    Internals(h.Term).Receive().AppendLocal("\x1b%c0N");
    h.Term.Tick();
    EXPECT_EQ(h.Manager.StatusText(), "Telnet (standard)");
    EXPECT_EQ(h.Manager.Kind(), NetworkKind::TelnetStandard);
    Internals(h.Term).Receive().AppendLocal("\x1b%c1N");
    h.Term.Tick();
    EXPECT_EQ(h.Manager.StatusText(), "Telnet (advanced)");

    // A paused display stops reading the socket and loses nothing.
    constexpr long kLines = 20000; // 2 MB
    before = ReadAll(log).size();
    h.Capture = true;
    Internals(h.Term).Receive().DisplayRunning = false; // nothing is interpreted: the buffer only grows
    h.Type("7 " + std::to_string(kLines) + "\r");
    ASSERT_TRUE(WaitFor([&] { return h.Manager.Telnet().Throttle().Paused(); })) << h.MaxBacklog;
    Settle(500);
    const std::size_t held =
        Internals(h.Term).Receive().CommBuffer().Size() + Internals(h.Term).Receive().NetInBuffer().size();
    EXPECT_GT(held, ReceiveThrottle::kHigh);
    EXPECT_LT(held, kBacklogBound);
    // The terminal agreed to remote flow control, so it also sent XOFF.
    EXPECT_NE(ReadAll(log).find('\x13', before), std::string::npos);
    Internals(h.Term).Receive().DisplayRunning = true;
    ASSERT_TRUE(WaitFor([&] { return h.Captured.find("End of listing") != std::string::npos; }, 60000));
    std::string listing;
    for (long n = 1; n <= kLines; ++n)
        listing += demohost::ListingLine(n);
    const auto at = h.Captured.find("Listing " + std::to_string(kLines) + " lines\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(h.Captured.substr(h.Captured.find('\n', at) + 1, listing.size()) == listing, true);
    EXPECT_NE(ReadAll(log).find('\x11', before), std::string::npos); // and XON once it had caught up

    h.Manager.Disconnect_Click();
    EXPECT_TRUE(h.ScreenHas("<TELNET has been disconnected>")) << h.Screen();
    EXPECT_TRUE(h.Trace.Has("Telnet:", "<TELNET has been disconnected>"));
    EXPECT_EQ(h.Captions.back(), "Kalvor");
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.DisconnectEnabled);
    EXPECT_FALSE(h.Manager.ConnectedSwitch());

    // Nothing listens on a port just found free.
    const int closed = FreeLoopbackPort();
    h.Connect("127.0.0.1 " + std::to_string(closed), NetworkKind::TelnetAdvanced);
    EXPECT_TRUE(h.ScreenHas("<attempting connection to 127.0.0.1 " + std::to_string(closed) + ">")) << h.Screen();
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("<TELNET Connect Error: "); })) << h.Screen();
    EXPECT_TRUE(h.ScreenHas("<TELNET Connect Error: Connection refused>")) << h.Screen();
    EXPECT_TRUE(h.ConnectEnabled);
}

// A standard server keeps echoing and the terminal does not; the terminal
// type comes from the settings.
TEST_F(DemoHostFixture, StandardServerEchoesAndHearsTheSetTerminalType)
{
    StartHost({"--standard"});
    Harness h;
    h.Manager.Settings().TerminalType = "hp70092";
    h.Connect(Entry(), NetworkKind::TelnetAdvanced);
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("Choice:"); })) << h.Screen();
    EXPECT_EQ(h.Manager.Kind(), NetworkKind::TelnetStandard);
    EXPECT_EQ(h.Manager.StatusText(), "Telnet (standard)");
    EXPECT_TRUE(h.Trace.Has("SERVER Wont:", "45"));
    EXPECT_TRUE(h.ScreenHas("Terminal type: hp70092")) << h.Screen();
    EXPECT_NE(ReadAll(log).find(B({255, 250, 24, 0}) + "hp70092" + B({255, 240})), std::string::npos);
    const std::size_t before = ReadAll(log).size();
    h.Type("9\r");
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("Unknown choice: 9"); })) << h.Screen();
    EXPECT_EQ(ReadAll(log).substr(before), "9\r");
    EXPECT_TRUE(h.Manager.Telnet().Negotiator().ServerEcho());
    EXPECT_FALSE(Internals(h.Term).Keys().LocalEcho);
    EXPECT_TRUE(h.ScreenHas("Choice: 9\n")) << h.Screen();
}

TEST(HostHangUp, EveryByteIsShownBeforeTheDisconnectMessage)
{
    TempHome home;
    // A hard reset on the way, then numbered lines, and a last line without
    // its line end; socat sends it all and closes.
    std::string stream = "before the reset\r\n\x1b"
                         "E";
    for (int i = 1; i <= 3000; ++i)
        stream += "line " + std::to_string(i) + " of the stream that the host sends before hanging up\r\n";
    WriteAll(home.Path() / "stream.bin", stream + "LAST LINE");
    const std::string socat = FindProgram("socat");
    if (socat.empty())
        GTEST_SKIP() << "\n*** SKIPPED LOUDLY: socat is not installed ***";
    ServerProcess host;
    const int port = FreeLoopbackPort();
    std::string error;
    ASSERT_TRUE(host.Start({socat, "-U", "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork",
                            "OPEN:" + (home.Path() / "stream.bin").string() + ",rdonly"},
                           error))
        << error;
    ASSERT_TRUE(WaitForListener(port));

    Harness h;
    h.Connect("127.0.0.1 " + std::to_string(port), NetworkKind::TelnetAdvanced);
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("<TELNET has been disconnected>"); })) << h.Screen();
    const std::string memory = h.Memory();
    std::size_t at = 0;
    for (int i = 1; i <= 3000; ++i) {
        at = memory.find("line " + std::to_string(i) + " of the stream", at);
        ASSERT_NE(at, std::string::npos) << "line " << i;
    }
    const std::size_t last = memory.find("LAST LINE", at);
    ASSERT_NE(last, std::string::npos);
    EXPECT_LT(last, memory.find("<TELNET has been disconnected>"));
    EXPECT_TRUE(h.Trace.Has("Telnet:", "<TELNET has been disconnected>"));
    EXPECT_EQ(h.Captions.back(), "Kalvor");
    EXPECT_EQ(h.Manager.StatusText(), net::ConnectionManager::kNotConnectedStatus);
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.DisconnectEnabled);
    EXPECT_FALSE(h.Manager.ConnectedSwitch());
}

// BusyBox telnetd running /bin/sh on a free port.
class BusyBoxFixture : public ::testing::Test {
protected:
    TempHome home;
    ServerProcess server;
    int port = 0;

    void SetUp() override
    {
        std::string error;
        port = StartBusyBoxTelnetd(server, error);
        if (port == 0) {
            ASSERT_TRUE(error.empty()) << error;
            GTEST_SKIP() << "\n*** SKIPPED LOUDLY: no BusyBox with telnetd (Debian package busybox-static) ***";
        }
    }
    std::string Entry() const { return "127.0.0.1 " + std::to_string(port); }
};

TEST_F(BusyBoxFixture, NegotiationEndsStandardAndTheShellAnswers)
{
    Harness h;
    h.Connect(Entry(), NetworkKind::TelnetAdvanced);
    ASSERT_TRUE(WaitFor([&] { return h.Trace.Has("SERVER Will:", "3"); })) << h.Memory();
    const std::vector<std::string> want = {"SERVER   Do: 1", "CLIENT Wont: 1", "SERVER   Do: 31", "CLIENT Wont: 31",
                                           "SERVER Will: 1", "CLIENT   Do: 1", "CLIENT   Do: 45", "SERVER Will: 3"};
    const std::vector<std::string> got = h.Trace.Negotiation();
    ASSERT_GE(got.size(), want.size());
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + static_cast<long>(want.size())), want);
    EXPECT_EQ(h.Manager.Kind(), NetworkKind::TelnetStandard);
    EXPECT_EQ(h.Manager.StatusText(), "Telnet (standard)");
    Settle(200);
    h.Type("echo kalvor-$((6*7))\r");
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("\nkalvor-42\n"); })) << h.Memory();
    // The server echoed the command line; the terminal did not echo it again.
    EXPECT_TRUE(h.MemoryHas("echo kalvor-$((6*7))\n")) << h.Memory();
    EXPECT_FALSE(h.MemoryHas("echo kalvor-$((6*7))echo")) << h.Memory();

    h.Type("exit\r");
    ASSERT_TRUE(WaitFor([&] { return h.ConnectEnabled; })) << h.Memory();
    EXPECT_FALSE(h.Manager.ConnectedSwitch());
    EXPECT_FALSE(h.DisconnectEnabled);
    EXPECT_EQ(h.Manager.StatusText(), "Local") << "the variant is no longer named";
}

} // namespace
} // namespace kalvor::test
