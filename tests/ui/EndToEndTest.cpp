// End to end: kalvor runs on a virtual X display (Xvfb), shows a replayed
// host session, receives real key strokes through the X server (xdotool),
// and its screen is read back from the file that --dump-screen keeps. A
// screenshot of the window is saved next to the test (and into
// docs/screenshot.png when KALVOR_UPDATE_SCREENSHOT is set).
//
// The test is skipped, loudly, only when Xvfb cannot start.
#include "FileBytes.h"
#include "NetTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kalvor::test {
namespace {

namespace fs = std::filesystem;

// Waiting limit: a slow machine only waits longer, and nothing asserts on
// how long anything took.
constexpr int kStartLimitMs = 60000;

TEST(EndToEnd, TypedKeysReachTheScreenOfTheDesktopProgram)
{
    TempHome home;
    // Xvfb picks a free display number and reports it.
    ServerProcess x;
    std::string error;
    const bool started =
        x.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"}, error) &&
        WaitFor([&] { return x.Output().find('\n') != std::string::npos || !x.Running(); }, kStartLimitMs) &&
        x.Output().find('\n') != std::string::npos;
    if (!started)
        GTEST_SKIP() << "\n*** END-TO-END TEST SKIPPED: Xvfb cannot start " << error << " ***";
    const std::string display = ":" + x.Output().substr(0, x.Output().find('\n'));
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // In sanitizer builds: the system D-Bus library that Qt's X11 platform
    // loads keeps one buffer until exit; that is not Kalvor's to free.
    const fs::path suppressions = home.Path() / "lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    std::string lsan = "suppressions=" + suppressions.string();
    if (const char* old = std::getenv("LSAN_OPTIONS"); old != nullptr && *old != '\0')
        lsan = std::string(old) + ":" + lsan;
    ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);

    const fs::path dump = home.Path() / "screen.txt";
    ServerProcess kalvor;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, "--replay", std::string(KALVOR_SOURCE_DIR) + "/samples/demo-session.txt",
                              "--dump-screen", dump.string()},
                             error))
        << error;
    const auto screenHas = [&](const std::string& text) { return ReadAll(dump).find(text) != std::string::npos; };

    // The window is mapped and the replayed session is on the screen.
    std::string window;
    int status = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            window = RunCommandLine("xdotool search --onlyvisible --name '^Kalvor$'", status);
            window = window.substr(0, window.find('\n'));
            return status == 0 && !window.empty();
        },
        kStartLimitMs))
        << "the Kalvor window did not appear on " << display;
    ASSERT_TRUE(WaitFor([&] { return screenHas("Command>"); }, kStartLimitMs)) << "the replayed session was not shown";

    // Real key strokes through the X server to the focused window.
    RunCommandLine("xdotool windowfocus --sync " + window + " && xdotool type --delay 40 hello", status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(WaitFor([&] { return screenHas("Command> hello\n"); }, kStartLimitMs))
        << "typed text not on the screen; screen:\n"
        << ReadAll(dump);
    EXPECT_TRUE(screenHas("Account summary"));
    EXPECT_TRUE(screenHas("cursor 23 14\n")) << ReadAll(dump);

    // A screenshot of the window as the X server shows it.
    const std::string shot = std::string(KALVOR_BINARY_DIR) + "/screenshot.png";
    RunCommandLine("import -display " + display + " -window " + window + " '" + shot + "'", status);
    ASSERT_EQ(status, 0);
    EXPECT_GT(fs::file_size(shot), 1000u);
    if (std::getenv("KALVOR_UPDATE_SCREENSHOT") != nullptr)
        fs::copy_file(shot, fs::path(KALVOR_SOURCE_DIR) / "docs" / "screenshot.png",
                      fs::copy_options::overwrite_existing);

    // SIGTERM closes the window like File > Exit; the screen is written once more.
    EXPECT_EQ(kalvor.Stop(), 0);
    EXPECT_TRUE(screenHas("Command> hello\n"));
}

} // namespace
} // namespace kalvor::test
