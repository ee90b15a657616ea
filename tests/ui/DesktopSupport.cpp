#include "DesktopSupport.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kalvor::test {

pid_t Spawn(const std::vector<std::string>& args, int stdoutFd, int keepFd)
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

int RunCommand(const std::vector<std::string>& args, std::string* out)
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

bool VirtualDisplay::Start(std::string& error)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        error = "pipe failed";
        return false;
    }
    pid_ = Spawn(
        {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
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

VirtualDisplay::~VirtualDisplay()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

Reaper::~Reaper()
{
    if (!Done && Pid > 0) {
        ::kill(Pid, SIGKILL);
        ::waitpid(Pid, nullptr, 0);
    }
}

void UseDisplay(const VirtualDisplay& x, const std::string& folder)
{
    ::setenv("DISPLAY", x.Name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string suppressions = folder + "/lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    std::string lsan = "suppressions=" + suppressions;
    if (const char* old = std::getenv("LSAN_OPTIONS"); old != nullptr && *old != '\0')
        lsan = std::string(old) + ":" + lsan;
    ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);
}

std::string FindKalvorWindow()
{
    std::string window;
    (void)WaitFor(
        [&] {
            std::string out;
            if (RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^Kalvor$"}, &out) != 0)
                return false;
            window = out.substr(0, out.find('\n'));
            return !window.empty();
        },
        kStartLimit);
    return window;
}

} // namespace kalvor::test
