// The forms mode's resources: /RESOURCES fetches the files a form names that
// are not yet in cache/ of the program folder, /PURGE removes stale copies.
// DownloadResources returns when every file has been fetched or has failed;
// meanwhile the listener's BetweenSteps lets a window handle its events
// (a download started from there again is not begun twice).
//
// Wiring, on the desktop and headless alike:
//     ResourceCache cache(ProgramFolder(), listener, clock);
//     form.SetResourceRequests(&cache);
#pragma once

#include "base/Clock.h"
#include "forms/InterpretScript.h"
#include "resources/DownloadListener.h"
#include "resources/ProxySettings.h"
#include "resources/ResourceTransfer.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kalvor::resources {

// The transfers for `server` with its defaults applied, or none when the
// server names neither FTP nor HTTP (nor their TLS forms).
std::optional<TransferPlan> PlanTransfer(const forms::ResourceServer& server, const ProxySettings& proxies);

class ResourceCache final : public forms::ResourceRequests {
public:
    ResourceCache(std::filesystem::path programFolder, DownloadListener& listener, const Clock& clock);

    std::filesystem::path CacheFolder() const { return programFolder_ / "cache"; }
    std::filesystem::path TempFolder() const { return programFolder_ / "temp"; }

    // The proxies in force; the environment's unless set here.
    void SetProxies(ProxySettings proxies) { proxies_ = std::move(proxies); }

    void DownloadResources(const forms::ResourceServer& server, const std::vector<std::string>& names) override;
    void Purge(const std::string& file, const std::string& date) override;

    bool Downloading() const { return downloading_; }

private:
    std::filesystem::path programFolder_;
    DownloadListener& listener_;
    const Clock& clock_;
    std::optional<ProxySettings> proxies_;
    bool downloading_ = false;
};

} // namespace kalvor::resources
