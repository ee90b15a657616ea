// End to end: kalvor runs on a virtual X display (Xvfb), shows a replayed
// host session, receives real key strokes through the X server (xdotool),
// and its screen is read back from the file that --dump-screen keeps. A
// screenshot of the window is saved next to the test (and into
// docs/screenshot.png when KALVOR_UPDATE_SCREENSHOT is set).
//
// The test is skipped, loudly, only when Xvfb cannot start.
#include "DesktopSupport.h"
#include "FileBytes.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

#ifndef KALVOR_PATH
#error "KALVOR_PATH must name the kalvor executable"
#endif
#ifndef KALVOR_SOURCE_DIR
#error "KALVOR_SOURCE_DIR must name the source tree"
#endif

namespace kalvor {
namespace {

namespace fs = std::filesystem;
using test::kStartLimit;
using test::RunCommand;
using test::Spawn;
using test::WaitFor;

TEST(EndToEnd, TypedKeysReachTheScreenOfTheDesktopProgram)
{
    test::TempHome home;
    test::VirtualDisplay x;
    std::string error;
    if (!x.Start(error)) {
        std::fprintf(stderr, "\n*** END-TO-END TEST SKIPPED: %s ***\n\n", error.c_str());
        GTEST_SKIP() << "Xvfb cannot start: " << error;
    }
    test::UseDisplay(x, home.Path().string());

    const fs::path dump = home.Path() / "screen.txt";
    const std::string replay = std::string(KALVOR_SOURCE_DIR) + "/samples/demo-session.txt";
    const pid_t kalvor = Spawn({KALVOR_PATH, "--replay", replay, "--dump-screen", dump.string()});
    ASSERT_GT(kalvor, 0);
    test::Reaper reaper{kalvor};

    // The window is mapped and the replayed session is on the screen.
    const std::string window = test::FindKalvorWindow();
    ASSERT_FALSE(window.empty()) << "the Kalvor window did not appear on " << x.Name();
    ASSERT_TRUE(WaitFor([&] { return test::ReadAll(dump).find("Command>") != std::string::npos; }, kStartLimit))
        << "the replayed session was not shown";

    // Real key strokes through the X server to the focused window.
    ASSERT_EQ(RunCommand({"xdotool", "windowfocus", "--sync", window}), 0);
    ASSERT_EQ(RunCommand({"xdotool", "type", "--delay", "40", "hello"}), 0);
    ASSERT_TRUE(WaitFor([&] { return test::ReadAll(dump).find("Command> hello\n") != std::string::npos; }, kStartLimit))
        << "typed text not on the screen; screen:\n"
        << test::ReadAll(dump);
    const std::string screen = test::ReadAll(dump);
    EXPECT_NE(screen.find("Account summary"), std::string::npos);
    EXPECT_NE(screen.find("cursor 23 14\n"), std::string::npos) << screen;

    // A screenshot of the window as the X server shows it.
    const std::string shot = std::string(KALVOR_BINARY_DIR) + "/screenshot.png";
    ASSERT_EQ(RunCommand({"import", "-display", x.Name(), "-window", window, shot}), 0);
    EXPECT_GT(fs::file_size(shot), 1000u);
    if (std::getenv("KALVOR_UPDATE_SCREENSHOT") != nullptr)
        fs::copy_file(shot, fs::path(KALVOR_SOURCE_DIR) / "docs" / "screenshot.png",
                      fs::copy_options::overwrite_existing);

    // SIGTERM closes the window like File > Exit; the screen is written once more.
    ASSERT_EQ(::kill(kalvor, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(kalvor, &status, 0), kalvor);
    reaper.Done = true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(test::ReadAll(dump).find("Command> hello\n"), std::string::npos);
}

} // namespace
} // namespace kalvor
