#include "resources/ResourceCache.h"

#include "base/Text.h"
#include "resources/CacheFiles.h"

#include <system_error>

namespace kalvor::resources {

namespace fs = std::filesystem;

namespace {

// How long one step waits for the network before the listener runs again.
constexpr int kStepWaitMs = 20;

struct Scheme {
    const char* Prefix; // upper case, as the server setting is compared
    const char* Lower;
    Protocol Kind;
};
constexpr Scheme kSchemes[] = {
    {"FTP://", "ftp://", Protocol::Ftp},
    {"FTPS://", "ftps://", Protocol::Ftps},
    {"HTTP://", "http://", Protocol::Http},
    {"HTTPS://", "https://", Protocol::Https},
};

} // namespace

std::optional<TransferPlan> PlanTransfer(const forms::ResourceServer& server, const ProxySettings& proxies)
{
    const std::string text(TrimSpaces(server.Server));
    const std::string upper = AsciiUpper(text);
    for (const Scheme& s : kSchemes) {
        const std::string_view prefix = s.Prefix;
        if (!upper.starts_with(prefix))
            continue;
        TransferPlan plan;
        plan.Kind = s.Kind;
        plan.BaseUrl = s.Lower + text.substr(prefix.size());
        if (!plan.BaseUrl.ends_with('/'))
            plan.BaseUrl += '/';
        plan.Port = server.Port;
        plan.Passive = server.Passive;
        plan.User = server.User;
        plan.Password = server.Password;
        switch (s.Kind) {
        case Protocol::Ftp:
        case Protocol::Ftps: plan.Via = proxies.Ftp; break;
        case Protocol::Http: plan.Via = proxies.Http; break;
        case Protocol::Https: plan.Via = proxies.Https; break;
        }
        plan.NoProxy = proxies.NoProxy;
        return plan;
    }
    return std::nullopt;
}

ResourceCache::ResourceCache(fs::path programFolder, DownloadListener& listener, const Clock& clock)
    : programFolder_(std::move(programFolder)), listener_(listener), clock_(clock)
{}

void ResourceCache::DownloadResources(const forms::ResourceServer& server, const std::vector<std::string>& names)
{
    if (downloading_)
        return;
    std::error_code ec;
    fs::create_directories(CacheFolder(), ec);
    fs::create_directories(TempFolder(), ec);
    TrimCache(CacheFolder(), names);
    std::vector<std::string> missing = MissingFromCache(CacheFolder(), names);
    if (missing.empty())
        return;
    std::optional<TransferPlan> plan = PlanTransfer(server, proxies_ ? *proxies_ : ProxiesFromEnvironment());
    if (!plan)
        return;
    plan->TempFolder = TempFolder();
    plan->CacheFolder = CacheFolder();
    plan->Names = std::move(missing);

    downloading_ = true;
    ResourceTransfer transfer(std::move(*plan), listener_, clock_);
    while (transfer.Step(kStepWaitMs))
        listener_.BetweenSteps();
    downloading_ = false;
}

void ResourceCache::Purge(const std::string& file, const std::string& date) { PurgeFile(CacheFolder(), file, date); }

} // namespace kalvor::resources
