// End to end: kalvor runs on a virtual X display (Xvfb), shows a replayed
// host session, receives real key strokes through the X server (xdotool),
// and its screen is read back from the file that --dump-screen keeps. A
// screenshot of the window is saved next to the test (and into
// docs/screenshot.png when KALVOR_UPDATE_SCREENSHOT is set).
//
// The test is skipped, loudly, only when Xvfb cannot start.
#include "FileBytes.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifndef KALVOR_PATH
#error "KALVOR_PATH must name the kalvor executable"
#endif
#ifndef KALVOR_SOURCE_DIR
#error "KALVOR_SOURCE_DIR must name the source tree"
#endif

extern char** environ;

namespace kalvor {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Waiting limits: a slow machine only waits longer, and nothing asserts on
// how long anything took.
constexpr auto kStartLimit = 60s;

pid_t Spawn(const std::vector<std::string>& args, int stdoutFd = -1, int keepFd = -1)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    (void)keepFd; // inherited as it is (not close-on-exec)
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// Runs a command to its end; returns its exit status (-1 when it could not
// run) and its standard output.
int RunCommand(const std::vector<std::string>& args, std::string* out = nullptr)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = Spawn(args, fds[1]);
    ::close(fds[1]);
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    if (pid < 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (out)
        *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

template <class Pred>
bool WaitFor(Pred pred, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (pred())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return pred();
}

class VirtualDisplay {
public:
    // Starts Xvfb on a free display number (Xvfb picks it and reports it).
    bool Start(std::string& error)
    {
        int fds[2];
        if (::pipe(fds) != 0) {
            error = "pipe failed";
            return false;
        }
        pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                      "-noreset"},
                     -1, fds[1]);
        ::close(fds[1]);
        if (pid_ < 0) {
            ::close(fds[0]);
            error = "Xvfb is not installed or cannot be run";
            return false;
        }
        std::string number;
        const auto end = std::chrono::steady_clock::now() + kStartLimit;
        while (std::chrono::steady_clock::now() < end && number.find('\n') == std::string::npos) {
            pollfd p{fds[0], POLLIN, 0};
            if (::poll(&p, 1, 200) > 0) {
                char buf[32];
                const ssize_t n = ::read(fds[0], buf, sizeof buf);
                if (n <= 0)
                    break;
                number.append(buf, static_cast<std::size_t>(n));
            }
        }
        ::close(fds[0]);
        if (number.empty() || number.find('\n') == std::string::npos) {
            error = "Xvfb did not report a display";
            return false;
        }
        display_ = ":" + number.substr(0, number.find('\n'));
        return true;
    }
    ~VirtualDisplay()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Name() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

TEST(EndToEnd, TypedKeysReachTheScreenOfTheDesktopProgram)
{
    test::TempHome home;
    VirtualDisplay x;
    std::string error;
    if (!x.Start(error)) {
        std::fprintf(stderr, "\n*** END-TO-END TEST SKIPPED: %s ***\n\n", error.c_str());
        GTEST_SKIP() << "Xvfb cannot start: " << error;
    }
    ::setenv("DISPLAY", x.Name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // In sanitizer builds: the system D-Bus library that Qt's X11 platform
    // loads keeps one buffer until exit; that is not Kalvor's to free.
    const fs::path suppressions = home.Path() / "lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    std::string lsan = "suppressions=" + suppressions.string();
    if (const char* old = std::getenv("LSAN_OPTIONS"); old != nullptr && *old != '\0')
        lsan = std::string(old) + ":" + lsan;
    ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);

    const fs::path dump = home.Path() / "screen.txt";
    const std::string replay = std::string(KALVOR_SOURCE_DIR) + "/samples/demo-session.txt";
    const pid_t kalvor = Spawn({KALVOR_PATH, "--replay", replay, "--dump-screen", dump.string()});
    ASSERT_GT(kalvor, 0);
    struct Reaper {
        pid_t pid;
        bool done = false;
        ~Reaper()
        {
            if (!done) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    } reaper{kalvor};

    // The window is mapped and the replayed session is on the screen.
    std::string window;
    ASSERT_TRUE(WaitFor(
        [&] {
            std::string out;
            if (RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^Kalvor$"}, &out) != 0)
                return false;
            window = out.substr(0, out.find('\n'));
            return !window.empty();
        },
        kStartLimit))
        << "the Kalvor window did not appear on " << x.Name();
    ASSERT_TRUE(WaitFor([&] { return test::ReadAll(dump).find("Command>") != std::string::npos; }, kStartLimit))
        << "the replayed session was not shown";

    // Real key strokes through the X server to the focused window.
    ASSERT_EQ(RunCommand({"xdotool", "windowfocus", "--sync", window}), 0);
    ASSERT_EQ(RunCommand({"xdotool", "type", "--delay", "40", "hello"}), 0);
    ASSERT_TRUE(WaitFor([&] { return test::ReadAll(dump).find("Command> hello\n") != std::string::npos; }, kStartLimit))
        << "typed text not on the screen; screen:\n"
        << test::ReadAll(dump);
    const std::string screen = test::ReadAll(dump);
    EXPECT_NE(screen.find("Account summary"), std::string::npos);
    EXPECT_NE(screen.find("cursor 23 14\n"), std::string::npos) << screen;

    // A screenshot of the window as the X server shows it.
    const std::string shot = std::string(KALVOR_BINARY_DIR) + "/screenshot.png";
    ASSERT_EQ(RunCommand({"import", "-display", x.Name(), "-window", window, shot}), 0);
    EXPECT_GT(fs::file_size(shot), 1000u);
    if (std::getenv("KALVOR_UPDATE_SCREENSHOT") != nullptr)
        fs::copy_file(shot, fs::path(KALVOR_SOURCE_DIR) / "docs" / "screenshot.png",
                      fs::copy_options::overwrite_existing);

    // SIGTERM closes the window like File > Exit; the screen is written once more.
    ASSERT_EQ(::kill(kalvor, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(kalvor, &status, 0), kalvor);
    reaper.done = true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(test::ReadAll(dump).find("Command> hello\n"), std::string::npos);
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
    bool Accept(std::chrono::seconds limit)
    {
        pollfd p{listen_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(limit.count() * 1000)) <= 0)
            return false;
        conn_ = ::accept(listen_, nullptr, nullptr);
        return conn_ >= 0;
    }
    bool Send(std::string_view bytes)
    {
        return ::send(conn_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    // Reads for up to `limit` until the data holds `until`.
    const std::string& ReadUntil(std::string_view until, std::chrono::seconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
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
    test::TempHome home;
    VirtualDisplay x;
    std::string error;
    if (!x.Start(error)) {
        std::fprintf(stderr, "\n*** END-TO-END TEST SKIPPED: %s ***\n\n", error.c_str());
        GTEST_SKIP() << "Xvfb cannot start: " << error;
    }
    ::setenv("DISPLAY", x.Name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    LoopbackHost host;
    ASSERT_TRUE(host.Listen());
    const fs::path script = home.Path() / "forms.zkt";
    std::ofstream(script) << "ADDR 127.0.0.1:" << host.Port() << "\nEXIT\n";
    const pid_t kalvor = Spawn({KALVOR_PATH, script.string()});
    ASSERT_GT(kalvor, 0);
    struct Reaper {
        pid_t pid;
        ~Reaper()
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    } reaper{kalvor};
    ASSERT_TRUE(host.Accept(kStartLimit)) << "kalvor did not connect";

    ASSERT_TRUE(host.Send("Sending a form\r\n\x1b%k1F/CAPTION (Forms end to end)\n/BUTTON (10 10 200 100 OK)\n"
                          "/CHECK (10 150 AGREE)\n\x1b%kC"));
    std::string window;
    ASSERT_TRUE(WaitFor(
        [&] {
            std::string out;
            if (RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^Forms end to end$"}, &out) != 0)
                return false;
            window = out.substr(0, out.find('\n'));
            return !window.empty();
        },
        kStartLimit))
        << "the Canvo window did not appear";

    // A real click through the X server inside the button (at any display preset).
    ASSERT_EQ(RunCommand({"xdotool", "mousemove", "--sync", "--window", window, "60", "40", "click", "1"}), 0);
    EXPECT_EQ(host.ReadUntil("\r", kStartLimit), "OK:OK\r");
}

} // namespace
} // namespace kalvor
