// A server of servers.py started on loopback for one test and stopped when
// the object goes: HTTP or FTP serving a folder, or an HTTP proxy. Every
// request it receives is a line of its log.
#pragma once

#include "NetTestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kalvor::test {

class LoopbackServer {
public:
    enum class Kind { Http, Ftp, Proxy };

    // Starts a server serving `folder` (none for a proxy), its log in `log`.
    LoopbackServer(Kind kind, const std::filesystem::path& folder, std::filesystem::path log);

    // 0 when the server could not be started (Error() says why).
    int Port() const { return port_; }
    const std::string& Error() const { return error_; }
    // The requests received so far, one a line.
    std::vector<std::string> Requests() const;

private:
    ServerProcess process_;
    int port_ = 0;
    std::string error_;
    std::filesystem::path log_;
};

} // namespace kalvor::test
