// One run of transfers from a resource server: the files fetched one after
// another over one connection (FTP logs on once, before the first file, and
// off after the last), each written to temp/ and moved to cache/ only when it
// is complete. A file that fails is reported and skipped. The run is moved on
// by Step, so a window can keep handling its events between steps; nothing
// here blocks for longer than the wait Step is given.
#pragma once

#include "base/Clock.h"
#include "resources/DownloadListener.h"
#include "resources/ProxySettings.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kalvor::resources {

enum class Protocol { Ftp, Ftps, Http, Https };

struct TransferPlan {
    Protocol Kind = Protocol::Http;
    std::string BaseUrl; // scheme in lower case, host and path, ending in "/"
    int Port = 0;        // 0: the protocol's own
    bool Passive = false;
    std::string User;
    std::string Password;
    Proxy Via;           // empty: straight to the server
    std::string NoProxy; // servers reached directly
    std::filesystem::path TempFolder;
    std::filesystem::path CacheFolder;
    std::vector<std::string> Names;
};

class ResourceTransfer {
public:
    ResourceTransfer(TransferPlan plan, DownloadListener& listener, const Clock& clock);
    ~ResourceTransfer();
    ResourceTransfer(const ResourceTransfer&) = delete;
    ResourceTransfer& operator=(const ResourceTransfer&) = delete;

    // Moves the transfers on, waiting up to `waitMs` for the network. Returns
    // false once every file has been fetched or has failed.
    bool Step(int waitMs);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kalvor::resources
