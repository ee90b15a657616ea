// Writes that fail or are killed halfway never harm the file they replace:
// injected failures at each step of the safe write, a real full disk (a file
// size limit), and a writer killed between writing and renaming.
#include "ConfigTestSupport.h"

#include "base/AtomicFile.h"
#include "config/ConfigFiles.h"
#include "config/PointerFile.h"
#include "config/SettingsFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvor::config {
namespace {

using test::AllSet;
using test::ReadAll;
using test::ShownErrors;
using test::TempHome;

class FailAt : public WriteFaults {
public:
    explicit FailAt(WriteStep step, bool kill = false) : step_(step), kill_(kill) {}
    std::error_code At(WriteStep step, const std::filesystem::path&) override
    {
        if (step != step_)
            return {};
        if (kill_)
            std::raise(SIGKILL);
        return std::make_error_code(std::errc::no_space_on_device);
    }

private:
    WriteStep step_;
    bool kill_;
};

// The files of a folder other than `keep`: what a failed write left behind.
std::vector<std::string> Leftovers(const std::filesystem::path& folder, const std::string& keep)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename() != keep)
            names.push_back(e.path().filename().string());
    return names;
}

// Runs `write` in a child process and returns how it ended (the exit code,
// or 128 + the signal that stopped it).
template <typename F>
int InChild(F write)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(write());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

class SafeWritesTest : public ::testing::Test {
protected:
    TempHome home;
    std::filesystem::path config = home.Path() / "config";
    std::string old;

    void SetUp() override
    {
        std::filesystem::create_directories(config);
        ASSERT_EQ(CreateSettingsFile("config/default.zkd", AllSet()), 0);
        old = ReadAll(config / "default.zkd");
    }
};

// The report of a failed save says the file is unchanged, and it is.
TEST_F(SafeWritesTest, AFailureAtAnyStepLeavesTheOldFileAsItWas)
{
    logging::ErrorReport errors;
    ShownErrors shown;
    shown.Attach(errors);
    for (WriteStep step : {WriteStep::Writing, WriteStep::Syncing, WriteStep::Renaming}) {
        FailAt fault(step);
        ScopedWriteFaults faults(fault);
        EXPECT_EQ(SaveConfiguration("config/default.zkd", Settings{}, errors), logging::kErrDiskFull);
        EXPECT_EQ(UpdateConfigSection("config/default.zkd", Settings{}, "NewCommConfig"), logging::kErrDiskFull);
        EXPECT_EQ(ReadAll(config / "default.zkd"), old);
        EXPECT_EQ(Leftovers(config, "default.zkd"), std::vector<std::string>{});
    }
    ASSERT_EQ(shown.Windows.size(), 3u);
    EXPECT_EQ(shown.Windows[0].Location, "CreateSettingsFile");
    EXPECT_EQ(shown.Windows[0].Note, "Nothing was changed in config/default.zkd.");
}

TEST_F(SafeWritesTest, AFullDiskLeavesTheOldFileAsItWas)
{
    // A file size limit below the configuration's size stands for a disk
    // that fills up halfway through the write.
    const int ended = InChild([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return CreateSettingsFile("config/default.zkd", Settings{});
    });
    EXPECT_EQ(ended, logging::kErrDiskFull);
    EXPECT_EQ(ReadAll(config / "default.zkd"), old);
    EXPECT_EQ(Leftovers(config, "default.zkd"), std::vector<std::string>{});
}

TEST_F(SafeWritesTest, AWriterKilledBeforeTheRenameLosesNothing)
{
    for (WriteStep step : {WriteStep::Writing, WriteStep::Renaming}) {
        const int ended = InChild([step] {
            FailAt kill(step, true);
            ScopedWriteFaults faults(kill);
            CreateSettingsFile("config/default.zkd", Settings{});
            return UpdateDefaultFile("config/other.zkd");
        });
        EXPECT_EQ(ended, 128 + SIGKILL);
        EXPECT_EQ(ReadAll(config / "default.zkd"), old);
        Settings read;
        EXPECT_EQ(ReadSettingsFile("config/default.zkd", read), 0);
        test::ForgetUnread(read, AllSet());
        EXPECT_EQ(read, AllSet());
    }
}

} // namespace
} // namespace kalvor::config
