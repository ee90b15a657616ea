#include "LoopbackServer.h"

#include <cstdlib>
#include <fstream>

namespace kalvor::test {

LoopbackServer::LoopbackServer(Kind kind, const std::filesystem::path& folder, std::filesystem::path log)
    : log_(std::move(log))
{
    std::vector<std::string> argv = {KALVOR_PYTHON, KALVOR_SERVERS_SCRIPT,
                                     kind == Kind::Http  ? "http"
                                     : kind == Kind::Ftp ? "ftp"
                                                         : "proxy"};
    if (kind != Kind::Proxy)
        argv.push_back(folder.string());
    argv.push_back(log_.string());
    // The first line it prints is its port.
    if (process_.Start(argv, error_) &&
        WaitFor([&] { return process_.Output().find('\n') != std::string::npos || !process_.Running(); }))
        port_ = std::atoi(process_.Output().c_str());
    if (port_ == 0)
        error_ += std::string(" no port from ") + KALVOR_PYTHON + " " + KALVOR_SERVERS_SCRIPT +
                  " (is python3-pyftpdlib installed?)";
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
