// /RESOURCES against real servers on loopback (Python's http.server and
// pyftpdlib, started and stopped by each test): files land in cache/ of the
// program folder, cached files open no connection, a missing file is logged
// and skipped, a large file reports its progress, proxies come from the
// environment.
#include "FileBytes.h"
#include "LoopbackServer.h"
#include "RecordingDrawing.h"
#include "TempHome.h"

#include "base/ProgramFolder.h"
#include "forms/InterpretScript.h"
#include "resources/ResourceCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <cstdlib>

namespace fs = std::filesystem;
using namespace kalvor;
using namespace kalvor::resources;
using kalvor::test::LoopbackServer;
using kalvor::test::ReadAll;
using kalvor::test::WriteAll;

namespace {

// Every byte value, then `size` bytes in all: a text-mode transfer would change it.
std::string Picture(std::size_t size, char seed)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + static_cast<std::size_t>(seed)) & 0xff);
    return bytes;
}

std::size_t Count(const std::vector<std::string>& lines, std::string_view prefix)
{
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
}

class Download : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* v : {"http_proxy", "https_proxy", "ftp_proxy", "no_proxy", "HTTPS_PROXY", "FTP_PROXY",
                              "NO_PROXY", "all_proxy", "ALL_PROXY"})
            ::unsetenv(v);
        fs::create_directories(served_);
    }

    // Runs a form through the interpreter with the cache as its resources.
    void RunForm(const std::string& form)
    {
        forms::FormModel model;
        forms::InterpreterState state;
        kalvor::test::RecordingDrawing drawing;
        forms::InterpretScript(form, model, state, drawing, forms::FormSettings{}, &cache_);
    }

    std::string ServerLine(LoopbackServer& server, const char* scheme, const std::string& path = "") const
    {
        return std::string("/RESOURCESERVER (") + scheme + "127.0.0.1/" + path + " PORT " +
               std::to_string(server.Port());
    }

    fs::path Cached(const std::string& name) const { return ProgramFolder() / "cache" / name; }
    bool TempEmpty() const { return fs::is_empty(ProgramFolder() / "temp"); }

    kalvor::test::TempHome home_;
    fs::path served_ = home_.Path() / "served";
    fs::path log_ = home_.Path() / "requests.log";
    SystemClock clock_;
    DownloadRecord record_;
    ResourceCache cache_{ProgramFolder(), record_, clock_};
};

// Every file the server has lands in the cache; a missing one is logged and
// skipped; a large one reports its progress.
TEST_F(Download, FetchesEveryFileIntoTheCache)
{
    struct Case {
        LoopbackServer::Kind Kind;
        const char* Scheme;
        const char* Properties;
        const char* User; // the FTP log-on
        bool Passive;
        const char* Logged; // the missing file's failure
    };
    using K = LoopbackServer::Kind;
    const Case cases[] = {
        {K::Http, "HTTP://", "", nullptr, false, "HTTP1.Error [404] "},
        {K::Ftp, "FTP://", "", "USER anonymous", false, "FTP1.Error [550] "},
        {K::Ftp, "ftp://", " PASSIVE", "USER anonymous", true, "FTP1.Error [550] "},
        {K::Ftp, "FTP://", " USER kalvor PASSWORD secret", "USER kalvor", false, "FTP1.Error [550] "},
    };
    const std::vector<std::string> names = {"one.gif", "two words.gif", "three.bmp", "large.bmp"};
    const std::size_t large = 6'000'000;
    fs::create_directories(served_ / "pics");
    for (std::size_t i = 0; i < names.size(); ++i)
        WriteAll(served_ / "pics" / names[i], Picture(i == 3 ? large : 3000 + i * 1000, static_cast<char>(i)));

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Scheme) + c.Properties);
        fs::remove_all(ProgramFolder() / "cache");
        fs::remove(log_);
        record_.Failures.clear();
        record_.Progress.clear();
        LoopbackServer server(c.Kind, served_, log_);
        ASSERT_NE(server.Port(), 0) << server.Error();
        RunForm(ServerLine(server, c.Scheme, "pics") + c.Properties +
                ")\n/RESOURCES (one.gif \"two words.gif\" gone.gif three.bmp large.bmp)\n");

        for (const std::string& name : names)
            EXPECT_TRUE(ReadAll(Cached(name)) == ReadAll(served_ / "pics" / name)) << name;
        EXPECT_FALSE(fs::exists(Cached("gone.gif")));
        EXPECT_TRUE(TempEmpty());
        ASSERT_EQ(record_.Failures.size(), 1u);
        EXPECT_TRUE(record_.Failures[0].starts_with(std::string("DownloadResources - ") + c.Logged))
            << record_.Failures[0];
        std::vector<TransferProgress> p;
        std::copy_if(record_.Progress.begin(), record_.Progress.end(), std::back_inserter(p),
                     [](const TransferProgress& t) { return t.Name == "large.bmp"; });
        ASSERT_GE(p.size(), 3u);
        EXPECT_EQ(p.front().Bytes, 0);
        // The size (Content-Length, SIZE reply) is known before the file is complete.
        EXPECT_TRUE(std::any_of(p.begin(), p.end(), [&](const TransferProgress& t) {
            return t.Total == static_cast<std::int64_t>(large) && t.Bytes < t.Total;
        }));
        EXPECT_EQ(p.back().Bytes, static_cast<std::int64_t>(large));
        EXPECT_GT(p.back().RateKbps, 0);
        EXPECT_FALSE(record_.Open) << "the progress is closed";
        const std::vector<std::string> requests = server.Requests();
        if (c.Kind == K::Http) {
            EXPECT_EQ(Count(requests, "GET /pics/"), names.size() + 1);
            continue;
        }
        // One log-on for all the files.
        EXPECT_EQ(Count(requests, "USER "), 1u);
        EXPECT_EQ(Count(requests, c.User), 1u);
        EXPECT_EQ(Count(requests, "EPSV") + Count(requests, "PASV") > 0, c.Passive);
        EXPECT_EQ(Count(requests, "EPRT") + Count(requests, "PORT") > 0, !c.Passive);
    }
}

TEST_F(Download, OpensNoConnectionWhenNothingIsToBeFetched)
{
    struct Case {
        const char* What;
        const char* Scheme;
        const char* Names;
    };
    const Case cases[] = {
        {"every file already cached", "HTTP://", "a.gif b.gif"},
        {"a server neither FTP nor HTTP", "GOPHER://", "new.gif"},
        {"names that are not plain file names", "HTTP://", "../up.gif sub/x.gif"},
    };
    fs::create_directories(ProgramFolder() / "cache");
    WriteAll(Cached("a.gif"), "cached a");
    WriteAll(Cached("b.gif"), "cached b");
    WriteAll(served_ / "new.gif", "new");
    LoopbackServer server(LoopbackServer::Kind::Http, served_, log_);
    ASSERT_NE(server.Port(), 0) << server.Error();
    for (const Case& c : cases) {
        RunForm(ServerLine(server, c.Scheme) + ")\n/RESOURCES (" + c.Names + ")\n");
        EXPECT_EQ(record_.Downloads, 0) << c.What;
        EXPECT_TRUE(server.Requests().empty()) << c.What;
    }
    EXPECT_EQ(ReadAll(Cached("a.gif")), "cached a");
    EXPECT_FALSE(fs::exists(Cached("new.gif")));
}

// The proxy of http_proxy carries the request; a no_proxy entry naming the
// proxy's host turns it off (ProxySettings.ReadFromVariables).
TEST_F(Download, ProxyFromTheEnvironment)
{
    WriteAll(served_ / "via.gif", "through the proxy");
    LoopbackServer server(LoopbackServer::Kind::Http, served_, log_);
    LoopbackServer proxy(LoopbackServer::Kind::Proxy, {}, home_.Path() / "proxy.log");
    ASSERT_NE(server.Port(), 0) << server.Error();
    ASSERT_NE(proxy.Port(), 0) << proxy.Error();
    ::setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.Port()) + "/").c_str(), 1);
    // The server by another name than the proxy's.
    RunForm("/RESOURCESERVER (HTTP://localhost/ PORT " + std::to_string(server.Port()) + ")\n/RESOURCES (via.gif)\n");
    ::unsetenv("http_proxy");
    EXPECT_EQ(ReadAll(Cached("via.gif")), "through the proxy");
    const std::vector<std::string> proxied = proxy.Requests();
    ASSERT_EQ(proxied.size(), 1u);
    EXPECT_TRUE(proxied[0].starts_with("GET http://localhost:")) << proxied[0];
}

TEST(ProxySettings, ReadFromVariables)
{
    struct Case {
        const char* Http;
        const char* Ftp;
        const char* NoProxy;
        const char* HttpHost; // "" when no HTTP proxy is used
        const char* FtpHost;
    };
    const Case cases[] = {
        {"http://user:pw@Proxy.Example:3128/", nullptr, nullptr, "Proxy.Example", ""},
        {"h1:8080", "h2:2121", nullptr, "h1", "h2"},
        {"h1:8080", "h2:2121", "H1", "", "h2"},
        {"http://[::1]:3128", "ftp://gw", "other;GW", "::1", ""},
    };
    for (const Case& c : cases) {
        const ProxySettings s = ReadProxySettings([&](const char* name) -> const char* {
            const std::string n = name;
            return n == "http_proxy" ? c.Http : n == "ftp_proxy" ? c.Ftp : n == "no_proxy" ? c.NoProxy : nullptr;
        });
        EXPECT_EQ(s.Http.Host, c.HttpHost) << c.Http;
        EXPECT_EQ(s.Ftp.Host, c.FtpHost) << c.Http;
        EXPECT_EQ(s.Http.Address.empty(), std::string(c.HttpHost).empty()) << c.Http;
    }
}

// kalvor-screen in forms mode fetches the resources of a form the host sends
// into cache/ of the program folder, as the desktop program does.
TEST_F(Download, TheHeadlessTerminalFetchesAFormsPicture)
{
    fs::create_directories(served_ / "pics");
    WriteAll(served_ / "pics" / "logo.gif", Picture(5000, 3));
    LoopbackServer server(LoopbackServer::Kind::Http, served_, log_);
    ASSERT_NE(server.Port(), 0) << server.Error();
    const fs::path events = home_.Path() / "events.txt";
    WriteAll(events, "host \\e%k1F" + ServerLine(server, "HTTP://", "pics") +
                         ")\\n/RESOURCES (logo.gif)\\n/IMAGE (10 10 logo.gif)\\n/CHECK (5 5 A)\\n\\e%kC\n");
    const fs::path out = home_.Path() / "out.json";
    const std::string command = std::string(KALVOR_SCREEN_PATH) + " --format json --rows 2 --events '" +
                                events.string() + "' > '" + out.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadAll(out).find(R"("forms":{"active":true)"), std::string::npos) << ReadAll(out);
    EXPECT_TRUE(ReadAll(Cached("logo.gif")) == ReadAll(served_ / "pics" / "logo.gif"));
    EXPECT_EQ(Count(server.Requests(), "GET /pics/logo.gif"), 1u);
}

} // namespace
