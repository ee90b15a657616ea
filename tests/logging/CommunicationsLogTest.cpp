// The communications log: header, trace line layout, folding, switching on
// and off, and the trace of a known exchange written byte for byte.
#include "FakeConnection.h"
#include "FileBytes.h"
#include "RecordingObserver.h"
#include "RecordingSideFiles.h"
#include "SessionInternals.h"
#include "ShownErrors.h"
#include "TempHome.h"

#include "base/Clock.h"
#include "logging/CommunicationsLog.h"
#include "session/Session.h"

#include <gtest/gtest.h>

namespace kalvor::logging {
namespace {

using test::ReadAll;
using test::ShownErrors;
using test::TempHome;

constexpr LocalDateTime kEvening{2024, 3, 5, 21, 7};

const std::string kEveningHeader = "Mar 5 2024 09:07 PM\r\n"
                                   "==========================================================================\r\n"
                                   " \r\n"
                                   "Kalvor-V3.1 Communications Log File\r\n"
                                   " \r\n"
                                   "All data received or transmitted while in trace mode is logged in this file. \r\n"
                                   "Non-printable characters are marked with a leading apostrophe and their\r\n"
                                   "decimal equivalent. A carriage return, for example, is written as '13.\r\n"
                                   " \r\n"
                                   "===========================================================================\r\n";

const std::string kClosing = "===========================================================================\r\n";

TEST(LogDate, MonthDayYearAndTwelveHourTime)
{
    EXPECT_EQ(FormatLogDate({2023, 12, 31, 0, 5}), "Dec 31 2023 12:05 AM");
    EXPECT_EQ(FormatLogDate({2023, 1, 1, 12, 0}), "Jan 1 2023 12:00 PM");
}

// Trace lines: elapsed seconds, the label's colon in column 23, codes of
// non-printable bytes, data folded after 50 characters under column 25.
TEST(TraceLine, Layout)
{
    const std::string x50(50, 'x');
    const std::string pad(24, ' ');
    struct Row {
        long long Ms;
        std::string Label;
        std::string Data;
        std::string Expected;
    };
    const Row rows[] = {
        {1250, "CLIENT   Do:", "1", "1.25       CLIENT   Do: 1\r\n"},
        {61001, "Received:", "\r\n", "61.001        Received: '13'10\r\n"},
        {2000, "Received:", std::string("a\0b~\x7f\xff", 6), "2             Received: a'0b~'127'255\r\n"},
        {0, "ABCDEFGHIJKLMNOP", "d", "0         DEFGHIJKLMNOP d\r\n"},
        {12345678912, "Received:", "d", "12345678.9    Received: d\r\n"},
        {0, "", "data", ""},
        {0, "Received:", "", ""},
        {0, "Received:", x50 + x50 + "y",
         "0             Received: " + x50 + "\r\n" + pad + x50 + "\r\n" + pad + "y\r\n"},
        {0, "Received:", std::string(49, 'x') + "\r",
         "0             Received: " + std::string(49, 'x') + "'\r\n" + pad + "13\r\n"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FormatTraceLines(r.Ms, r.Label, r.Data), r.Expected) << r.Label << " " << r.Data;
}

class CommLogTest : public ::testing::Test {
protected:
    TempHome home;
    ManualClock clock;
    ErrorReport errors;
    ShownErrors shown;
    test::RecordingSideFiles window;
    CommunicationsLog log{clock, errors, window};
    std::filesystem::path file = home.Path() / "temp" / "zkdebug.txt";

    void SetUp() override
    {
        shown.Attach(errors);
        log.HeaderTime = kEvening;
    }
};

// Nothing is written while the log is off; switching it on again starts a
// fresh file, and the elapsed time runs on past midnight.
TEST_F(CommLogTest, SwitchedOnAndOffWithHeaderLinesAndClosing)
{
    log.LogTrace("Received:", "while off");
    EXPECT_EQ(log.TurnOff(), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(log.TurnOn(), 0);
    EXPECT_EQ(log.StartTimeMs(), ManualClock::kNoon);
    EXPECT_EQ(ReadAll(file), kEveningHeader);
    log.LogTrace("Received:", "one");
    clock.Advance(12LL * 3600 * 1000 - 20); // 23:59:59.980
    ASSERT_EQ(log.TurnOn(), 0);
    clock.Advance(40);
    log.LogTrace("Telnet:", "<host contacted>\r\n");
    ASSERT_EQ(log.TurnOff(), 0);
    EXPECT_FALSE(log.Tracing());
    EXPECT_EQ(window.Opened, std::vector<std::filesystem::path>{file});
    log.LogTrace("Received:", "after");
    EXPECT_EQ(ReadAll(file), kEveningHeader + "0.04            Telnet: <host contacted>'13'10\r\n" + kClosing);
}

TEST_F(CommLogTest, FileThatCannotBeMadeIsReportedAndTracingStaysOff)
{
    std::filesystem::create_directories(file / "blocked");
    EXPECT_NE(log.TurnOn(), 0);
    EXPECT_FALSE(log.Tracing());
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0].Location, "UpdateDebugMode_Click");
    EXPECT_EQ(shown.Windows[0].FileName, "temp/zkdebug.txt");
}

// A session traces into its own log: a known exchange over Telnet.
TEST(SessionTrace, KnownExchangeByteForByte)
{
    TempHome home;
    ManualClock clock;
    Session session(clock);
    test::FakeConnection net;
    net.NetKind = NetworkKind::TelnetAdvanced;
    session.SetConnection(net);
    Internals(session).CommLog().HeaderTime = kEvening;
    test::RecordingObserver observer;
    session.SetObserver(&observer);

    ASSERT_EQ(Internals(session).CommLog().TurnOn(), 0);
    Internals(session).Transmit().XmitString("hello\r", false);
    clock.Advance(1250);
    Internals(session).Receive().DeliverNetworkData("login: \r\n\x1b&dB");
    session.Tick();
    clock.Advance(7);
    Internals(session).Transmit().XmitString("user", false);
    Internals(session).Errors().ReportToLog("XmitFunction", 57); // errors go to the log on request
    ASSERT_EQ(Internals(session).CommLog().TurnOff(), 0);

    EXPECT_EQ(ReadAll(home.Path() / "temp" / "zkdebug.txt"), kEveningHeader +
                                                                 "0          CLIENT Dont: 1\r\n"
                                                                 "0          Transmitted: hello'13\r\n"
                                                                 "1.25          Received: login: '13'10'27&dB\r\n"
                                                                 "1.257      Transmitted: user\r\n"
                                                                 "1.257            Error: [ 57:   XmitFunction ] "
                                                                 "Device I/O Error.\r\n" +
                                                                 kClosing);
    EXPECT_EQ(observer.Opened, std::vector<std::filesystem::path>{home.Path() / "temp" / "zkdebug.txt"});
    EXPECT_EQ(net.Written(), "hello\ruser");
}

} // namespace
} // namespace kalvor::logging
