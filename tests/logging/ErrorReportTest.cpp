// The "Kalvor Error" window content and the mapping of system errors onto
// the table.
#include "FileBytes.h"
#include "TempHome.h"

#include "logging/ErrorReport.h"
#include "logging/SideFile.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kalvor::logging {
namespace {

using test::TempHome;

TEST(ErrorWindowContent, DetailLineWithAndWithoutFile)
{
    EXPECT_EQ(DetailLine(8002, "Connect_Click", ""), "[ 8002:   Connect_Click ]");
    const ErrorWindow w = MakeErrorWindow(61, "CreateSettingsFile", "config/a.zkd");
    EXPECT_EQ(w.Title, "Kalvor Error");
    EXPECT_EQ(w.Message, "Disk is full.");
    EXPECT_EQ(w.Detail, "[ 61:   CreateSettingsFile,  config/a.zkd ]");
}

TEST(SystemErrors, MappedOntoTheTableOrKeptAsTheSystemSaysThem)
{
    TempHome home;
    const auto enoent = std::make_error_code(std::errc::no_such_file_or_directory);
    EXPECT_EQ(ErrorNumberFor(enoent, home.Path() / "missing.txt"), 53);
    EXPECT_EQ(ErrorNumberFor(enoent, home.Path() / "nofolder" / "missing.txt"), 76);

    const auto ec = std::make_error_code(std::errc::interrupted);
    const ErrorWindow w = MakeErrorWindow(ec, "ZKFileWrite", "temp/zklog.txt");
    EXPECT_EQ(w.Number, EINTR);
    EXPECT_EQ(w.Message, ec.message());
    EXPECT_EQ(MakeErrorWindow(std::make_error_code(std::errc::no_space_on_device), "X", "").Number, 61);
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
    EXPECT_TRUE(TableMessage(err).has_value()) << err;
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.Write("abc"), 52);
}

} // namespace
} // namespace kalvor::logging
