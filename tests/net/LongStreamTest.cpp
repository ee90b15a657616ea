// Long streams through every connection that runs here without a test
// account, checked byte for byte by their hash as they arrive, with the
// characters waiting before the interpreter bounded: the demonstration
// host's listing over Telnet (every seventh line holds a byte 255), a file
// listed by a shell under BusyBox telnetd (a byte 255 on every line), and a
// file listed by a local program. The SSH stream is in SshTest.cpp, which
// needs the shared test account.
#include "Listing.h"
#include "NetTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

#include <functional>

namespace kalvor::test {
namespace {

// The most characters a connection reads ahead of the interpreter: the
// receive buffer's high mark, the staging cap and one read.
constexpr std::size_t kBacklogBound = ReceiveThrottle::kHigh + net::InputThrottle::kStagingHigh + 128 * 1024;

// One stream's run: the far end, the terminal, the stream expected and what
// sets it off.
struct StreamRun {
    TempHome home;
    ServerProcess server;
    Harness h;
    StreamFile stream;
    std::function<void()> start;
};

struct Route {
    const char* Name;
    void (*Prepare)(StreamRun& run); // starts the far end and connects (or skips)
};

// The listing of `lines` lines as kalvor-demohost sends it.
StreamFile Listing(long lines)
{
    StreamFile listing;
    listing.Head = "Listing " + std::to_string(lines) + " lines\r\n";
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto add = [&](const std::string& text) {
        hash.addData(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
        listing.Size += text.size();
    };
    add(listing.Head);
    for (long n = 1; n <= lines; ++n)
        add(demohost::ListingLine(n));
    add("End of listing: " + std::to_string(lines) + " lines\r\n");
    listing.Digest = hash.result().toHex().toStdString();
    return listing;
}

const Route kRoutes[] = {
    {"DemoHostListing",
     [](StreamRun& r) {
         std::string error;
         const int port = StartDemoHost(r.server, {}, error);
         ASSERT_GT(port, 0) << error;
         r.h.Connect("127.0.0.1:" + std::to_string(port), NetworkKind::TelnetAdvanced);
         ASSERT_TRUE(WaitFor([&] { return r.h.ScreenHas("Choice:"); })) << r.h.Screen();
         const long lines = static_cast<long>(StreamBytes() / demohost::kListingLineBytes);
         r.stream = Listing(lines);
         r.start = [&r, lines] { r.h.Type("7 " + std::to_string(lines) + "\r"); };
     }},
    {"BusyBoxShell",
     [](StreamRun& r) {
         std::string error;
         const int port = StartBusyBoxTelnetd(r.server, error);
         if (port == 0) {
             ASSERT_TRUE(error.empty()) << error;
             GTEST_SKIP() << "\n*** SKIPPED LOUDLY: no BusyBox with telnetd (Debian package busybox-static) ***";
         }
         const std::string file = (r.home.Path() / "stream.bin").string();
         r.stream = WriteStreamFile(file, " sphinx of black quartz judge my vow \xff\xfe 0123456789");
         r.h.Connect("127.0.0.1 " + std::to_string(port), NetworkKind::TelnetAdvanced);
         ASSERT_TRUE(WaitFor([&] { return r.h.Trace.Has("SERVER Will:", "3"); }));
         Settle(200);
         r.start = [&r, file] { r.h.Type("stty -echo; cat " + file + "\r"); };
     }},
    {"LocalProgram",
     [](StreamRun& r) {
         const std::string file = (r.home.Path() / "stream.txt").string();
         r.stream = WriteStreamFile(file, " pack my box with five dozen liquor jugs 0123456789 ABCDEFGHIJ");
         r.start = [&r, file] { r.h.Connect("cat " + file, NetworkKind::LocalProgram); };
     }},
};

class LongStream : public ::testing::TestWithParam<Route> {};

TEST_P(LongStream, ArrivesIntactWithBoundedBacklog)
{
    StreamRun r;
    GetParam().Prepare(r);
    if (IsSkipped() || HasFatalFailure())
        return;
    ExpectStream(r.h, r.stream, r.start, GetParam().Name);
    EXPECT_LT(r.h.MaxBacklog, kBacklogBound);
}

INSTANTIATE_TEST_SUITE_P(Routes, LongStream, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace kalvor::test
