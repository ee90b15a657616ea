#include "LoopbackServer.h"

#include <fstream>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvor::test {

LoopbackServer::LoopbackServer(Kind kind, const std::filesystem::path& folder, std::filesystem::path log)
    : log_(std::move(log))
{
    std::vector<std::string> argv = {KALVOR_PYTHON, KALVOR_SERVERS_SCRIPT};
    switch (kind) {
    case Kind::Http: argv.insert(argv.end(), {"http", folder.string()}); break;
    case Kind::Ftp: argv.insert(argv.end(), {"ftp", folder.string()}); break;
    case Kind::Proxy: argv.push_back("proxy"); break;
    }
    argv.push_back(log_.string());
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // a test that dies takes its servers with it
        ::dup2(fds[1], 1);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    // The first line is the port.
    std::string line;
    pollfd p{fds[0], POLLIN, 0};
    while (pid_ > 0 && line.find('\n') == std::string::npos && ::poll(&p, 1, 15000) > 0) {
        char buffer[64];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    port_ = line.find('\n') != std::string::npos ? std::atoi(line.c_str()) : 0;
    if (port_ == 0)
        error_ = std::string("no port from ") + KALVOR_PYTHON + " " + KALVOR_SERVERS_SCRIPT +
                 " (is python3-pyftpdlib installed?)";
}

LoopbackServer::~LoopbackServer()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_)
            return;
        ::usleep(10000);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

std::vector<std::string> LoopbackServer::Requests() const
{
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace kalvor::test
