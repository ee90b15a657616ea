// The "Kalvor Error" window content, the debug-log line and
// the mapping of system errors onto the table.
#include "FakeTrace.h"
#include "FileBytes.h"
#include "ShownErrors.h"
#include "TempHome.h"

#include "logging/ErrorReport.h"
#include "logging/SideFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace kalvor::logging {
namespace {

using test::ShownErrors;
using test::TempHome;

TEST(ErrorWindowContent, DetailLineWithAndWithoutFile)
{
    EXPECT_EQ(DetailLine(53, "ReadSettingsFile", "config/default.zkd"),
              "[ 53:   ReadSettingsFile,  config/default.zkd ]");
    EXPECT_EQ(DetailLine(8002, "Connect_Click", ""), "[ 8002:   Connect_Click ]");

    const ErrorWindow w = MakeErrorWindow(61, "CreateSettingsFile", "config/a.zkd");
    EXPECT_EQ(w.Title, "Kalvor Error");
    EXPECT_EQ(w.Message, "Disk is full.");
    EXPECT_EQ(w.Detail, "[ 61:   CreateSettingsFile,  config/a.zkd ]");
    EXPECT_EQ(w.Number, 61);
    EXPECT_EQ(w.Location, "CreateSettingsFile");
    EXPECT_EQ(w.FileName, "config/a.zkd");
}

TEST(SystemErrors, MissingFolderOnTheWayIsPathNotFound)
{
    TempHome home;
    const auto enoent = std::make_error_code(std::errc::no_such_file_or_directory);
    EXPECT_EQ(ErrorNumberFor(enoent, home.Path() / "missing.txt"), 53);
    EXPECT_EQ(ErrorNumberFor(enoent, home.Path() / "nofolder" / "missing.txt"), 76);
}

TEST(SystemErrors, UnmappedErrorsKeepTheSystemNumberAndText)
{
    const auto ec = std::make_error_code(std::errc::interrupted);
    EXPECT_EQ(TableNumberFor(ec), 0);
    EXPECT_EQ(ErrorNumberFor(ec), EINTR);
    const ErrorWindow w = MakeErrorWindow(ec, "ZKFileWrite", "temp/zklog.txt");
    EXPECT_EQ(w.Number, EINTR);
    EXPECT_EQ(w.Message, ec.message());
    EXPECT_EQ(w.Detail, "[ " + std::to_string(EINTR) + ":   ZKFileWrite,  temp/zklog.txt ]");

    const ErrorWindow mapped = MakeErrorWindow(std::make_error_code(std::errc::no_space_on_device), "X", "");
    EXPECT_EQ(mapped.Number, 61);
    EXPECT_EQ(mapped.Message, "Disk is full.");
}

TEST(ErrorReportRoutine, ShowsTheWindowThroughTheHook)
{
    ErrorReport report;
    ShownErrors shown;
    shown.Attach(report);
    report.Report("UpdateDefaultFile", 5995, "config/long.zkd");
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0], MakeErrorWindow(5995, "UpdateDefaultFile", "config/long.zkd"));
    EXPECT_EQ(report.Count(), 1);
    EXPECT_EQ(report.Last(), shown.Windows[0]);
}

TEST(ErrorReportRoutine, DebugLogLineInsteadOfTheWindow)
{
    ErrorReport report;
    ShownErrors shown;
    shown.Attach(report);
    test::FakeTrace trace;
    report.SetDebugLog(&trace);
    report.ReportToLog("XmitFunction", 57);
    EXPECT_TRUE(shown.Windows.empty());
    ASSERT_EQ(trace.Lines.size(), 1u);
    EXPECT_EQ(trace.Lines[0].first, "Error:");
    EXPECT_EQ(trace.Lines[0].second, "[ 57:   XmitFunction ] Device I/O Error.");

    trace.On = false;
    report.ReportToLog("XmitFunction", 57);
    EXPECT_EQ(trace.Lines.size(), 1u);
    EXPECT_EQ(report.Count(), 2);
}

TEST(SideFileErrors, ReportTheTableNumbers)
{
    TempHome home;
    std::filesystem::create_directories(home.Path() / "temp" / "zklog.txt" / "inside");
    EXPECT_NE(SideFile("temp/zklog.txt").Create(), 0) << "a folder in place of the file";
    // "temp" is a file: the folder cannot be made.
    std::filesystem::remove_all(home.Path() / "temp");
    test::WriteAll(home.Path() / "temp", "x");
    SideFile f("temp/zklog.txt");
    const int err = f.Create();
    EXPECT_NE(err, 0);
    EXPECT_TRUE(TableMessage(err).has_value()) << err;
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.Write("abc"), 52);
}

TEST(SideFileErrors, WritesLinesWithCrLf)
{
    TempHome home;
    SideFile f("temp/x.txt");
    ASSERT_EQ(f.Create(), 0);
    EXPECT_EQ(f.WriteLine("one"), 0);
    EXPECT_EQ(f.Write("two"), 0);
    EXPECT_EQ(test::ReadAll(home.Path() / "temp" / "x.txt"), "one\r\ntwo"); // flushed at once
    EXPECT_EQ(f.Close(), 0);
    EXPECT_EQ(f.Close(), 0);
    EXPECT_EQ(f.Remove(), 0);
    EXPECT_FALSE(std::filesystem::exists(home.Path() / "temp" / "x.txt"));
}

} // namespace
} // namespace kalvor::logging
