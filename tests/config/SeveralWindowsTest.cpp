// Two windows on one program folder: each keeps its own temporary files
// while it runs, start-up removes only those of instances that have ended,
// and saving keeps the settings the other window changed.
#include "ConfigTestSupport.h"

#include "base/ProgramInstance.h"
#include "config/Configuration.h"
#include "config/ProgramStart.h"
#include "config/SettingsFile.h"
#include "logging/SideFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace kalvor::config {
namespace {

using test::ReadAll;
using test::TempHome;
using test::WriteAll;

TEST(SeveralWindows, EachInstanceKeepsItsTraceAndStartUpRemovesOnlyEndedOnes)
{
    TempHome home;
    const std::filesystem::path temp = home.Path() / "temp";
    logging::ErrorReport errors;
    std::optional<ProgramInstance> first = ProgramInstance::Claim();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Number(), 0);
    ASSERT_EQ(PrepareProgramFolder(errors), 0);
    logging::SideFile trace("temp/zkdebug.txt");
    ASSERT_EQ(trace.Create(), 0);
    ASSERT_EQ(trace.Write("first window's trace"), 0);
    WriteAll(temp / "7" / "zkdebug.txt", "left by an instance that has ended");
    // A save killed before its rename left its temporary file long ago; one
    // that another window is writing now is left alone.
    const std::filesystem::path config = home.Path() / "config";
    WriteAll(config / ".default.zkd.saving-AbC123", "half a file");
    std::filesystem::last_write_time(config / ".default.zkd.saving-AbC123",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    WriteAll(config / ".default.zkd.saving-XyZ789", "being written");

    // A second window starts while the first runs.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::optional<ProgramInstance> second = ProgramInstance::Claim();
        logging::ErrorReport childErrors;
        if (!second || second->Number() != 1 || PrepareProgramFolder(childErrors) != 0)
            ::_exit(1);
        logging::SideFile own("temp/zkdebug.txt");
        ::_exit(own.Create() == 0 && own.Write("second window's trace") == 0 ? 0 : 2);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(ReadAll(temp / "zkdebug.txt"), "first window's trace");
    EXPECT_EQ(ReadAll(temp / "1" / "zkdebug.txt"), "second window's trace");
    EXPECT_FALSE(std::filesystem::exists(temp / "7"));
    EXPECT_FALSE(std::filesystem::exists(config / ".default.zkd.saving-AbC123"));
    EXPECT_TRUE(std::filesystem::exists(config / ".default.zkd.saving-XyZ789"));
    trace.Close();
}

TEST(SeveralWindows, SavingKeepsTheOtherWindowsChanges)
{
    TempHome home;
    logging::ErrorReport errors;
    test::ShownErrors shown;
    shown.Attach(errors);
    Configuration a(errors);
    Configuration b(errors);
    a.Load();
    b.Load();
    a.Values().BaudRate = "300";
    b.Values().Parity = "Odd";
    b.Values().Keys[2].Text = "from b";
    ASSERT_EQ(a.Save(), 0);
    ASSERT_EQ(b.Save(), 0); // the last window to exit
    ASSERT_EQ(a.Save(), 0); // and one more save of the first

    Settings read;
    ASSERT_EQ(ReadSettingsFile("config/default.zkd", read), 0);
    EXPECT_EQ(read.BaudRate, "300");
    EXPECT_EQ(read.Parity, "Odd");
    EXPECT_EQ(read.Keys[2].Text, "from b");
    EXPECT_TRUE(shown.Windows.empty());
}

} // namespace
} // namespace kalvor::config
