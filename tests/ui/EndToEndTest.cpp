// End to end: kalvor runs on a virtual X display (Xvfb), shows a replayed
// host session, receives real key strokes through the X server (xdotool),
// and its screen is read back from the file that --dump-screen keeps. A
// screenshot of the window is saved next to the test (and into
// docs/screenshot.png when KALVOR_UPDATE_SCREENSHOT is set).
//
// The test is skipped, loudly, only when Xvfb cannot start.
#include "FileBytes.h"
#include "NetTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kalvor::test {
namespace {

namespace fs = std::filesystem;

// Waiting limit: a slow machine only waits longer, and nothing asserts on
// how long anything took.
constexpr int kStartLimitMs = 60000;

// Starts Xvfb on a free display and points this process (and the programs
// it starts) at it; the display's name, or "" when Xvfb cannot start.
std::string StartDisplay(ServerProcess& x, const TempHome& home)
{
    std::string error;
    const bool started =
        x.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"}, error) &&
        WaitFor([&] { return x.Output().find('\n') != std::string::npos || !x.Running(); }, kStartLimitMs) &&
        x.Output().find('\n') != std::string::npos;
    if (!started)
        return {};
    const std::string display = ":" + x.Output().substr(0, x.Output().find('\n'));
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // In sanitizer builds: the system D-Bus library that Qt's X11 platform
    // loads keeps one buffer until exit; that is not Kalvor's to free.
    const fs::path suppressions = home.Path() / "lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    std::string lsan = "suppressions=" + suppressions.string();
    if (const char* old = std::getenv("LSAN_OPTIONS"); old != nullptr && *old != '\0')
        lsan = std::string(old) + ":" + lsan;
    ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);
    return display;
}

// The id of the visible window named `name`, or "" when there is none yet.
std::string FindWindow(const std::string& name)
{
    int status = 0;
    std::string window = RunCommandLine("xdotool search --onlyvisible --name '^" + name + "$'", status);
    window = window.substr(0, window.find('\n'));
    return status == 0 ? window : std::string();
}

TEST(EndToEnd, TypedKeysReachTheScreenOfTheDesktopProgram)
{
    TempHome home;
    ServerProcess x;
    const std::string display = StartDisplay(x, home);
    if (display.empty())
        GTEST_SKIP() << "\n*** END-TO-END TEST SKIPPED: Xvfb cannot start ***";
    std::string error;

    const fs::path dump = home.Path() / "screen.txt";
    ServerProcess kalvor;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, "--replay", std::string(KALVOR_SOURCE_DIR) + "/samples/demo-session.txt",
                              "--dump-screen", dump.string()},
                             error))
        << error;
    const auto screenHas = [&](const std::string& text) { return ReadAll(dump).find(text) != std::string::npos; };

    // The window is mapped and the replayed session is on the screen.
    std::string window;
    int status = 0;
    ASSERT_TRUE(WaitFor([&] { return !(window = FindWindow("Kalvor")).empty(); }, kStartLimitMs))
        << "the Kalvor window did not appear on " << display;
    ASSERT_TRUE(WaitFor([&] { return screenHas("Command>"); }, kStartLimitMs)) << "the replayed session was not shown";

    // Real key strokes through the X server to the focused window.
    RunCommandLine("xdotool windowfocus --sync " + window + " && xdotool type --delay 40 hello", status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(WaitFor([&] { return screenHas("Command> hello\n"); }, kStartLimitMs))
        << "typed text not on the screen; screen:\n"
        << ReadAll(dump);
    EXPECT_TRUE(screenHas("Account summary"));
    EXPECT_TRUE(screenHas("cursor 23 14\n")) << ReadAll(dump);

    // A screenshot of the window as the X server shows it.
    const std::string shot = std::string(KALVOR_BINARY_DIR) + "/screenshot.png";
    RunCommandLine("import -display " + display + " -window " + window + " '" + shot + "'", status);
    ASSERT_EQ(status, 0);
    EXPECT_GT(fs::file_size(shot), 1000u);
    if (std::getenv("KALVOR_UPDATE_SCREENSHOT") != nullptr)
        fs::copy_file(shot, fs::path(KALVOR_SOURCE_DIR) / "docs" / "screenshot.png",
                      fs::copy_options::overwrite_existing);

    // SIGTERM closes the window like File > Exit; the screen is written once more.
    EXPECT_EQ(kalvor.Stop(), 0);
    EXPECT_TRUE(screenHas("Command> hello\n"));
}

// A host on a loopback port, played by the test: it takes one connection,
// sends bytes and collects what arrives, Telnet commands taken out.
class LoopbackHost {
public:
    bool Listen()
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(listen_, 1) != 0 ||
            ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return false;
        port_ = ntohs(a.sin_port);
        return true;
    }
    int Port() const { return port_; }
    bool Accept(int limitMs)
    {
        pollfd p{listen_, POLLIN, 0};
        if (::poll(&p, 1, limitMs) <= 0)
            return false;
        conn_ = ::accept(listen_, nullptr, nullptr);
        return conn_ >= 0;
    }
    bool Send(std::string_view bytes)
    {
        return ::send(conn_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    // Reads for up to `limit` until the data holds `until`.
    const std::string& ReadUntil(std::string_view until, int limitMs)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (data_.find(until) == std::string::npos && std::chrono::steady_clock::now() < end) {
            pollfd p{conn_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char buf[1024];
            const ssize_t n = ::recv(conn_, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            Take(std::string_view(buf, static_cast<std::size_t>(n)));
        }
        return data_;
    }
    ~LoopbackHost()
    {
        if (conn_ >= 0)
            ::close(conn_);
        if (listen_ >= 0)
            ::close(listen_);
    }

private:
    // Telnet: IAC verb option, IAC SB ... IAC SE, IAC IAC (one 255).
    void Take(std::string_view bytes)
    {
        for (const char ch : bytes) {
            const auto c = static_cast<unsigned char>(ch);
            if (skip_ > 0) {
                --skip_;
            } else if (inSub_) {
                inSub_ = !(iac_ && c == 240);
                iac_ = c == 255 && !iac_;
            } else if (iac_) {
                iac_ = false;
                if (c == 255)
                    data_.push_back(ch);
                else if (c == 250)
                    inSub_ = true;
                else if (c >= 251)
                    skip_ = 1;
            } else if (c == 255) {
                iac_ = true;
            } else {
                data_.push_back(ch);
            }
        }
    }

    int listen_ = -1, conn_ = -1, port_ = 0;
    std::string data_;
    bool iac_ = false, inSub_ = false;
    int skip_ = 0;
};

TEST(EndToEnd, AClickOnAFormButtonSendsItsLineToTheHost)
{
    TempHome home;
    ServerProcess x;
    if (StartDisplay(x, home).empty())
        GTEST_SKIP() << "\n*** END-TO-END TEST SKIPPED: Xvfb cannot start ***";
    LoopbackHost host;
    ASSERT_TRUE(host.Listen());
    const fs::path script = home.Path() / "forms.zkt";
    std::ofstream(script) << "ADDR 127.0.0.1:" << host.Port() << "\nEXIT\n";
    ServerProcess kalvor;
    std::string error;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, script.string()}, error)) << error;
    ASSERT_TRUE(host.Accept(kStartLimitMs)) << "kalvor did not connect";

    ASSERT_TRUE(host.Send("Sending a form\r\n\x1b%k1F/CAPTION (Forms end to end)\n/BUTTON (10 10 200 100 OK)\n"
                          "/CHECK (10 150 AGREE)\n\x1b%kC"));
    std::string window;
    ASSERT_TRUE(WaitFor([&] { return !(window = FindWindow("Forms end to end")).empty(); }, kStartLimitMs))
        << "the Canvo window did not appear";

    // A real click through the X server inside the button (at any display preset).
    int status = 0;
    RunCommandLine("xdotool mousemove --sync --window " + window + " 60 40 click 1", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(host.ReadUntil("\r", kStartLimitMs), "OK:OK\r");
}

} // namespace
} // namespace kalvor::test
