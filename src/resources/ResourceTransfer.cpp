#include "resources/ResourceTransfer.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>

namespace kalvor::resources {

namespace fs = std::filesystem;

namespace {

// The password of an anonymous FTP log-on.
constexpr const char* kAnonymousPassword = "kalvor@localhost";
// A server that sends nothing for this long has failed the file.
constexpr long kStallSeconds = 60;
constexpr long kConnectSeconds = 30;

void InitialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsFtp(Protocol p) { return p == Protocol::Ftp || p == Protocol::Ftps; }

std::size_t WriteToFile(char* data, std::size_t size, std::size_t count, void* file)
{
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

// Moves a complete file from temp/ into the cache, copying when the two
// folders are on different file systems.
bool MoveIntoCache(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return true;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    std::error_code ignored;
    fs::remove(from, ignored);
    return !ec;
}

} // namespace

struct ResourceTransfer::Impl {
    Impl(TransferPlan p, DownloadListener& l, const Clock& c) : plan(std::move(p)), listener(l), clock(c) {}

    bool StartNext();
    void Finish(CURLcode code);
    void Fail(const std::string& name, long number, const std::string& description);
    void SetOptions(const std::string& name);
    static int Progress(void* self, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t);

    TransferPlan plan;
    DownloadListener& listener;
    const Clock& clock;
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    bool started = false;
    bool finished = false;
    std::size_t next = 0; // the next name of the plan to fetch
    // the file in transfer (easy is in the multi handle while `out` is open)
    std::FILE* out = nullptr;
    std::string name;
    fs::path tempFile;
    std::int64_t startMs = 0;
    TransferProgress reported;
    char error[CURL_ERROR_SIZE] = {};
};

void ResourceTransfer::Impl::Fail(const std::string& file, long number, const std::string& description)
{
    const char* component = IsFtp(plan.Kind) ? "FTP1" : "HTTP1";
    listener.FileFailed(file, std::string("DownloadResources - ") + component + ".Error [" + std::to_string(number) +
                                  "] " + description);
}

int ResourceTransfer::Impl::Progress(void* data, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t)
{
    Impl& self = *static_cast<Impl*>(data);
    const std::int64_t knownTotal = total > 0 ? total : -1;
    if (now == self.reported.Bytes && knownTotal == self.reported.Total)
        return 0;
    self.reported.Bytes = now;
    self.reported.Total = knownTotal;
    const std::int64_t elapsed = self.clock.NowMs() - self.startMs;
    self.reported.RateKbps = elapsed > 0 ? static_cast<double>(now) / static_cast<double>(elapsed) : 0;
    self.listener.FileProgress(self.reported);
    return 0;
}

void ResourceTransfer::Impl::SetOptions(const std::string& file)
{
    curl_easy_reset(easy);
    char* escaped = curl_easy_escape(easy, file.c_str(), static_cast<int>(file.size()));
    const std::string url = plan.BaseUrl + (escaped ? escaped : file.c_str());
    curl_free(escaped);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp,ftps,http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, out);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Impl::Progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (plan.Port > 0)
        curl_easy_setopt(easy, CURLOPT_PORT, static_cast<long>(plan.Port));
    // An explicit proxy (or none) rather than curl's own reading of the
    // environment, so that the proxy rule of ProxySettings holds.
    curl_easy_setopt(easy, CURLOPT_PROXY, plan.Via.Address.c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, plan.NoProxy.c_str());
    if (IsFtp(plan.Kind)) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, plan.User.empty() ? "anonymous" : plan.User.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, plan.Password.empty() ? kAnonymousPassword : plan.Password.c_str());
        // Active mode: the server connects back to the address of the control connection.
        curl_easy_setopt(easy, CURLOPT_FTPPORT, plan.Passive ? nullptr : "-");
    } else {
        curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        if (!plan.User.empty()) {
            curl_easy_setopt(easy, CURLOPT_USERNAME, plan.User.c_str());
            curl_easy_setopt(easy, CURLOPT_PASSWORD, plan.Password.c_str());
        }
    }
}

bool ResourceTransfer::Impl::StartNext()
{
    while (next < plan.Names.size()) {
        name = plan.Names[next++];
        tempFile = plan.TempFolder / name;
        out = std::fopen(tempFile.c_str(), "wb");
        if (out == nullptr) {
            const int number = errno;
            Fail(name, number, std::strerror(number));
            continue;
        }
        SetOptions(name);
        error[0] = '\0';
        startMs = clock.NowMs();
        reported = {name, 0, -1, 0};
        listener.FileProgress(reported);
        if (curl_multi_add_handle(multi, easy) == CURLM_OK)
            return true;
        Finish(CURLE_FAILED_INIT);
    }
    return false;
}

void ResourceTransfer::Impl::Finish(CURLcode code)
{
    curl_multi_remove_handle(multi, easy);
    const bool written = std::fclose(out) == 0;
    out = nullptr;
    if (code == CURLE_OK && !written)
        code = CURLE_WRITE_ERROR;
    if (code == CURLE_OK && MoveIntoCache(tempFile, plan.CacheFolder / name))
        return;
    std::error_code ignored;
    fs::remove(tempFile, ignored);
    if (code == CURLE_OK) {
        Fail(name, CURLE_WRITE_ERROR, "the file could not be moved into the cache");
        return;
    }
    // A refusal by the server is reported with the server's reply code
    // (HTTP 404, FTP 550), anything else with the transfer's own.
    long reply = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply);
    const long number = reply >= 400 ? reply : static_cast<long>(code);
    Fail(name, number, error[0] != '\0' ? error : curl_easy_strerror(code));
}

ResourceTransfer::ResourceTransfer(TransferPlan plan, DownloadListener& listener, const Clock& clock)
    : impl_(std::make_unique<Impl>(std::move(plan), listener, clock))
{
    InitialiseCurl();
    impl_->multi = curl_multi_init();
    impl_->easy = curl_easy_init();
}

ResourceTransfer::~ResourceTransfer()
{
    Impl& d = *impl_;
    if (d.out != nullptr) {
        curl_multi_remove_handle(d.multi, d.easy);
        std::fclose(d.out);
        std::error_code ignored;
        fs::remove(d.tempFile, ignored);
    }
    if (d.easy != nullptr)
        curl_easy_cleanup(d.easy);
    if (d.multi != nullptr)
        curl_multi_cleanup(d.multi);
}

bool ResourceTransfer::Step(int waitMs)
{
    Impl& d = *impl_;
    if (d.finished)
        return false;
    if (!d.started) {
        d.started = true;
        d.listener.DownloadStarted(static_cast<int>(d.plan.Names.size()));
    }
    if (d.out == nullptr && (d.multi == nullptr || d.easy == nullptr || !d.StartNext())) {
        // Closing the connections logs off the FTP server.
        if (d.multi != nullptr) {
            curl_multi_cleanup(d.multi);
            d.multi = nullptr;
        }
        d.finished = true;
        d.listener.DownloadFinished();
        return false;
    }
    int running = 0;
    curl_multi_perform(d.multi, &running);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(d.multi, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == d.easy && d.out != nullptr)
            d.Finish(message->data.result);
    if (d.out != nullptr)
        curl_multi_poll(d.multi, nullptr, 0, waitMs, nullptr);
    return true;
}

} // namespace kalvor::resources
