// Telnet against real servers on loopback ports, started by the tests: the
// demonstration host (kalvor-demohost), BusyBox telnetd, and a socat host
// that sends a stream and hangs up. (Long streams: LongStreamTest.cpp;
// inetutils telnetd, which waits for its offers to be refused: the log-on
// script tests.)
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

// One connection to the demonstration host through the menu: the
// negotiation byte for byte, the echo refused, byte 255 sent doubled, the
// host's Telnet variant escape, a long listing held back by a paused
// display, then the disconnection and a refused connection. (What the
// terminal does with a form in block mode and the status requests is in the
// screen cases, byte 255 received in the long streams; a standard host's
// echo in the BusyBox and log-on script tests.)
TEST(DemoHost, AdvancedSessionWalksThroughTheMenu)
{
    TempHome home;
    ServerProcess host;
    const std::filesystem::path log = home.Path() / "received.bin";
    std::string error;
    const int port = StartDemoHost(host, {"--log", log.string()}, error);
    ASSERT_GT(port, 0) << error;
    const std::string entry = "127.0.0.1:" + std::to_string(port) + " [demo host]";
    Harness h;
    h.Connect("  [just a comment]  ", NetworkKind::TelnetAdvanced); // an empty entry does nothing
    h.Connect("", NetworkKind::TelnetAdvanced);
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.Manager.Telnet().ComponentBusy());
    h.Connect(entry, NetworkKind::TelnetAdvanced);
    EXPECT_EQ(h.Statuses.front(), "Telnet (advanced)");
    EXPECT_EQ(h.Captions.back(), entry + " - Kalvor");
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
    EXPECT_TRUE(Internals(h.Term).Receive().NetworkXoff);
    EXPECT_FALSE(h.ConnectEnabled);
    EXPECT_TRUE(h.DisconnectEnabled);

    // Advanced refuses the server's echo (DONT ECHO before the first
    // character) and echoes the 9 itself, once.
    std::size_t before = ReadAll(log).size();
    h.Type("9\r");
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("Unknown choice: 9"); })) << h.Screen();
    EXPECT_EQ(ReadAll(log).substr(before), B({255, 254, 1}) + "9\r");
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

    // A paused display stops reading the socket (the listing's bytes
    // themselves are checked in the long streams).
    before = ReadAll(log).size();
    Internals(h.Term).Receive().DisplayRunning = false; // nothing is interpreted: the buffer only grows
    h.Type("7 20000\r");
    ASSERT_TRUE(WaitFor([&] { return h.Manager.Telnet().Throttle().Paused(); })) << h.MaxBacklog;
    Settle(500);
    const std::size_t held =
        Internals(h.Term).Receive().CommBuffer().Size() + Internals(h.Term).Receive().NetInBuffer().size();
    EXPECT_GT(held, ReceiveThrottle::kHigh);
    EXPECT_LT(held, ReceiveThrottle::kHigh + net::InputThrottle::kStagingHigh +
                        static_cast<std::size_t>(net::TelnetConnection::kReadChunk));
    // The terminal agreed to remote flow control, so it also sent XOFF.
    EXPECT_NE(ReadAll(log).find('\x13', before), std::string::npos);
    Internals(h.Term).Receive().DisplayRunning = true;
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("End of listing: 20000 lines"); }, 60000)) << h.Screen();
    EXPECT_NE(ReadAll(log).find('\x11', before), std::string::npos); // and XON once it had caught up

    h.Manager.Disconnect_Click();
    EXPECT_TRUE(h.ScreenHas("<TELNET has been disconnected>")) << h.Screen();
    EXPECT_TRUE(h.ConnectEnabled);

    // Nothing listens on a port just found free.
    const int closed = FreeLoopbackPort();
    h.Connect("127.0.0.1 " + std::to_string(closed), NetworkKind::TelnetAdvanced);
    EXPECT_TRUE(h.ScreenHas("<attempting connection to 127.0.0.1 " + std::to_string(closed) + ">")) << h.Screen();
    ASSERT_TRUE(WaitFor([&] { return h.ScreenHas("<TELNET Connect Error: Connection refused>"); })) << h.Screen();
    EXPECT_TRUE(h.ConnectEnabled);
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
    const std::size_t last = memory.find("line 2999 of the stream that the host sends before hanging up\n"
                                         "line 3000 of the stream that the host sends before hanging up\n"
                                         "LAST LINE");
    ASSERT_NE(last, std::string::npos) << memory;
    EXPECT_LT(last, memory.find("<TELNET has been disconnected>"));
    EXPECT_EQ(h.Captions.back(), "Kalvor");
    EXPECT_EQ(h.Manager.StatusText(), net::ConnectionManager::kNotConnectedStatus);
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.DisconnectEnabled);
}

// BusyBox telnetd running /bin/sh: the negotiation ends standard, the
// server echoes what is typed and the terminal does not.
TEST(BusyBox, NegotiationEndsStandardAndTheShellAnswers)
{
    TempHome home;
    ServerProcess server;
    std::string error;
    const int port = StartBusyBoxTelnetd(server, error);
    if (port == 0) {
        ASSERT_TRUE(error.empty()) << error;
        GTEST_SKIP() << "\n*** SKIPPED LOUDLY: no BusyBox with telnetd (Debian package busybox-static) ***";
    }
    Harness h;
    h.Connect("127.0.0.1 " + std::to_string(port), NetworkKind::TelnetAdvanced);
    ASSERT_TRUE(WaitFor([&] { return h.Trace.Has("SERVER Will:", "3"); })) << h.Memory();
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
    EXPECT_EQ(h.Manager.StatusText(), "Local") << "the variant is no longer named";
}

} // namespace
} // namespace kalvor::test
