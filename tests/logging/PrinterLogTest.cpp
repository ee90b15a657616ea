// Printer logging: the log file, its modes, the cursor line written when
// bottom logging ends, and the soft keys that switch it.
#include "FileBytes.h"
#include "RecordingObserver.h"
#include "RecordingSideFiles.h"
#include "SessionInternals.h"
#include "ShownErrors.h"
#include "TempHome.h"

#include "base/Clock.h"
#include "logging/PrinterLog.h"
#include "session/Session.h"

#include <gtest/gtest.h>

namespace kalvor::logging {
namespace {

using test::ReadAll;
using test::ShownErrors;
using test::TempHome;

class PrinterLogTest : public ::testing::Test {
protected:
    TempHome home;
    ErrorReport errors;
    ShownErrors shown;
    test::RecordingSideFiles window;
    PrinterLog log{errors, window};
    std::filesystem::path file = home.Path() / "temp" / "zklog.txt";
    std::vector<std::string>& printed = window.Printed; // the file's content when it was printed

    void SetUp() override { shown.Attach(errors); }
};

// Log type 1 is bottom logging, any other top logging; only the lines of
// the active mode are written, and nothing while the log is off.
TEST_F(PrinterLogTest, LinesOfTheActiveModeOnly)
{
    log.SwitchLogType(PrinterLog::kTop);
    EXPECT_EQ(log.Mode(), PrinterLog::kOff);
    log.LogDisplayLine(PrinterLog::kBottom, "x");
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(log.TurnOnLogging(1), 0);
    EXPECT_EQ(log.Mode(), PrinterLog::kBottom);
    ASSERT_EQ(log.TurnOnLogging(7), 0);
    EXPECT_EQ(log.Mode(), PrinterLog::kTop);
    log.LogDisplayLine(PrinterLog::kTop, "scrolled off the top");
    log.LogDisplayLine(PrinterLog::kBottom, "completed at the bottom");
    log.SwitchLogType(PrinterLog::kBottom);
    EXPECT_EQ(log.Mode(), PrinterLog::kBottom);
    log.LogDisplayLine(PrinterLog::kTop, "not this one");
    log.LogDisplayLine(PrinterLog::kBottom, "bottom line \xe9");
    EXPECT_EQ(ReadAll(file), "scrolled off the top\r\nbottom line \xe9\r\n");
}

TEST_F(PrinterLogTest, CursorLineWrapsAtTheEndOfDisplayMemory)
{
    DisplayMemory mem(9); // ten rows
    mem.Row(1).Text = "wrapped row";
    mem.TopRow = 8;
    mem.CurRow = 3; // 8 + 3 = 11 -> ring row 1
    EXPECT_EQ(CursorLineText(mem), "wrapped row");
}

TEST_F(PrinterLogTest, FailureToOpenIsReported)
{
    test::WriteAll(home.Path() / "temp", "a file where the folder should be");
    EXPECT_NE(log.TurnOnLogging(PrinterLog::kBottom), 0);
    EXPECT_EQ(log.Mode(), PrinterLog::kOff);
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0].Location, "TurnOnLogging");
    EXPECT_EQ(shown.Windows[0].FileName, "temp/zklog.txt");
    DisplayMemory mem(9);
    EXPECT_EQ(log.TurnOffLogging(PrinterLog::kBottom, mem), 0);
    EXPECT_TRUE(printed.empty());
}

// The record-set soft keys drive the session's printer log.
TEST(PrinterLogKeys, BottomAndTopKeysSwitchTheLog)
{
    TempHome home;
    ManualClock clock;
    Session session(clock);
    test::RecordingObserver observer;
    session.SetObserver(&observer);
    const std::vector<std::string>& printed = observer.Printed;
    FunctionKeys& keys = Internals(session).FuncKeys();
    PrinterLog& log = Internals(session).PrinterLogging();

    keys.ExecFuncKey(FunctionKeys::kRecordSet, 2, 0); // bottom on
    EXPECT_EQ(log.Mode(), PrinterLog::kBottom);
    keys.ExecFuncKey(FunctionKeys::kRecordSet, 3, 0); // switch to top
    EXPECT_EQ(log.Mode(), PrinterLog::kTop);
    log.LogDisplayLine(PrinterLog::kTop, "gone off the top");
    keys.ExecFuncKey(FunctionKeys::kRecordSet, 3, 0); // top off
    EXPECT_EQ(log.Mode(), PrinterLog::kOff);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], "gone off the top\r\n");

    DisplayMemory& mem = Internals(session).Memory();
    mem.Row(mem.AbsCurRow).Text = "typed here";
    keys.ExecFuncKey(FunctionKeys::kRecordSet, 2, 0); // bottom on
    keys.ExecFuncKey(FunctionKeys::kRecordSet, 2, 0); // bottom off: the cursor line goes last
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[1], "typed here\r\n");
}

} // namespace
} // namespace kalvor::logging
