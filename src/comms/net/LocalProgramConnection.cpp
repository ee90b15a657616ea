#include "comms/net/LocalProgramConnection.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kalvor::net {
namespace {

std::string LoginShell()
{
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_shell != nullptr && pw->pw_shell[0] == '/')
        return pw->pw_shell;
    if (const char* shell = std::getenv("SHELL"); shell != nullptr && shell[0] == '/')
        return shell;
    return "/bin/sh";
}

std::string ExitText(int status)
{
    if (WIFEXITED(status))
        return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status));
    return "ended";
}

} // namespace

LocalProgramConnection::LocalProgramConnection(ReceiveInput& receive, LocalProgramEvents& events)
    : rx_(receive), events_(events), throttle_(receive, static_cast<ThrottledReader&>(*this))
{
    reaper_.setInterval(200);
    QObject::connect(&reaper_, &QTimer::timeout, &reaper_, [this] { Reap(); });
}

void LocalProgramConnection::ResumeReading()
{
    if (readNotifier_)
        readNotifier_->setEnabled(true);
    ReadMaster();
}

LocalProgramConnection::~LocalProgramConnection()
{
    Stop();
    reaper_.stop();
    for (const pid_t pid : orphans_) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

std::string LocalProgramConnection::Start(const std::string& commandLine, int cols, int rows)
{
    Stop();
    cols_ = cols;
    rows_ = rows;
    throttle_.Reset();
    pending_.clear();

    // Everything the child needs is prepared before the fork.
    std::string path;
    std::vector<std::string> args;
    if (commandLine.find_first_not_of(" \t") == std::string::npos) {
        path = LoginShell();
        const std::size_t slash = path.rfind('/');
        args = {"-" + path.substr(slash + 1)};
        program_ = path;
    } else {
        path = "/bin/sh";
        args = {"sh", "-c", commandLine};
        program_ = commandLine;
    }
    std::vector<std::string> env = LocalProgramEnvironment(ParentEnvironment(), Environment);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(cols);
    ws.ws_row = static_cast<unsigned short>(rows);
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &ws);
    if (pid < 0)
        return std::strerror(errno);
    if (pid == 0) {
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        for (const int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGCHLD})
            ::signal(sig, SIG_DFL);
        ::execve(path.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    master_ = master;
    pid_ = pid;
    reader_ = std::make_unique<PtyReader>(master_);
    readNotifier_ = std::make_unique<QSocketNotifier>(reader_->WakeFd(), QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, readNotifier_.get(), [this] { ReadMaster(); });
    writeNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, writeNotifier_.get(),
                     [this] { FlushOutput(); });
    return std::string();
}

// Everything the reader thread has read so far, then the receive pass; the
// notifier calls again once the thread has read more.
void LocalProgramConnection::ReadMaster()
{
    if (!reader_)
        return;
    if (!throttle_.MayRead()) {
        readNotifier_->setEnabled(false);
        return;
    }
    std::string& in = rx_.NetInBuffer();
    const std::size_t before = in.size();
    // A piece at a time, so that the throttle is asked again between pieces.
    reader_->Take(in, PtyReader::kHandOver);
    const bool ended = reader_->Ended();
    if (in.size() != before)
        rx_.DataArrived();
    if (ended && reader_)
        Ended();
}

void LocalProgramConnection::Write(std::string_view bytes)
{
    if (master_ < 0 || bytes.empty())
        return;
    if (!pending_.empty()) {
        pending_.append(bytes);
        return;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pending_.assign(bytes);
            writeNotifier_->setEnabled(true);
        }
        return;
    }
}

void LocalProgramConnection::FlushOutput()
{
    while (master_ >= 0 && !pending_.empty()) {
        const ssize_t n = ::write(master_, pending_.data(), pending_.size());
        if (n > 0) {
            pending_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        pending_.clear();
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(false);
}

void LocalProgramConnection::SendBreak(int milliseconds)
{
    (void)milliseconds;
    if (master_ < 0)
        return;
    const pid_t group = ::tcgetpgrp(master_);
    if (group > 0)
        ::kill(-group, SIGINT);
}

void LocalProgramConnection::Resize(int cols, int rows)
{
    if (cols == cols_ && rows == rows_)
        return;
    cols_ = cols;
    rows_ = rows;
    if (master_ < 0)
        return;
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(cols);
    ws.ws_row = static_cast<unsigned short>(rows);
    ::ioctl(master_, TIOCSWINSZ, &ws);
}

void LocalProgramConnection::Stop()
{
    // A program whose end is still being waited for is left to the reaper.
    ++exitGeneration_;
    if (master_ < 0 && pid_ > 0) {
        orphans_.push_back(pid_);
        pid_ = -1;
        Reap();
    }
    if (master_ < 0)
        return;
    readNotifier_.reset();
    reader_.reset();
    writeNotifier_.reset();
    throttle_.Reset();
    ::close(master_);
    master_ = -1;
    pending_.clear();
    if (pid_ > 0) {
        ::kill(pid_, SIGHUP);
        orphans_.push_back(pid_);
        pid_ = -1;
        Reap();
    }
}

void LocalProgramConnection::Ended()
{
    readNotifier_.reset();
    reader_.reset();
    writeNotifier_.reset();
    throttle_.Reset();
    ::close(master_);
    master_ = -1;
    pending_.clear();
    exitWaits_ = 0;
    WaitForExit();
}

// The terminal closes before the program has always finished: its exit
// status is collected on a timer for a short while before the end is told.
void LocalProgramConnection::WaitForExit()
{
    static constexpr int kExitWaits = 100; // 2 s at 20 ms
    std::string how = "ended";
    if (pid_ > 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            how = ExitText(status);
            pid_ = -1;
        } else if (++exitWaits_ < kExitWaits) {
            QTimer::singleShot(20, &reaper_, [this, generation = exitGeneration_] {
                if (generation == exitGeneration_)
                    WaitForExit();
            });
            return;
        } else {
            orphans_.push_back(pid_);
            pid_ = -1;
            Reap();
        }
    }
    events_.ProgramExited(how);
}

// Collects programs that have ended; one that has not ended some seconds
// after its hang-up is killed.
void LocalProgramConnection::Reap()
{
    static constexpr int kPatienceTicks = 25;
    for (auto it = orphans_.begin(); it != orphans_.end();) {
        if (::waitpid(*it, nullptr, WNOHANG) != 0)
            it = orphans_.erase(it);
        else
            ++it;
    }
    if (orphans_.empty()) {
        reaper_.stop();
        reaperTicks_ = 0;
        return;
    }
    if (!reaper_.isActive())
        reaper_.start();
    if (++reaperTicks_ > kPatienceTicks)
        for (const pid_t pid : orphans_)
            ::kill(pid, SIGKILL);
}

} // namespace kalvor::net
