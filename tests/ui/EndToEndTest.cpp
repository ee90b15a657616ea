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
    ServerProcess x;
    const std::string display = StartDisplay(x, home.Path());
    if (display.empty())
        GTEST_SKIP() << "\n*** END-TO-END TEST SKIPPED: Xvfb cannot start ***";
    std::string error;

    const fs::path dump = home.Path() / "screen.txt";
    ServerProcess kalvor;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, "--replay", std::string(KALVOR_SOURCE_DIR) + "/samples/demo-session.txt",
                              "--dump-screen", dump.string()},
                             error))
        << error;
    const auto screenHas = [&](const std::string& text) { return ReadAll(dump).find(text) != std::string::npos; };

    // The window is mapped and the replayed session is on the screen.
    const std::string window = FindWindow("Kalvor");
    ASSERT_FALSE(window.empty()) << "the Kalvor window did not appear on " << display;
    int status = 0;
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

TEST(EndToEnd, AClickOnAFormButtonSendsItsLineToTheHost)
{
    TempHome home;
    ServerProcess x;
    if (StartDisplay(x, home.Path()).empty())
        GTEST_SKIP() << "\n*** END-TO-END TEST SKIPPED: Xvfb cannot start ***";
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    const fs::path script = home.Path() / "forms.zkt";
    std::ofstream(script) << "ADDR 127.0.0.1:" << listener.serverPort() << "\nEXIT\n";
    ServerProcess kalvor;
    std::string error;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, script.string()}, error)) << error;
    TelnetPeer host;
    ASSERT_TRUE(host.Accept(listener, kStartLimitMs)) << "kalvor did not connect";

    host.Send("Sending a form\r\n\x1b%k1F/CAPTION (Forms end to end)\n/BUTTON (10 10 200 100 OK)\n"
                          "/CHECK (10 150 AGREE)\n\x1b%kC");
    const std::string window = FindWindow("Forms end to end");
    ASSERT_FALSE(window.empty()) << "the Canvo window did not appear";

    // A real click through the X server inside the button (at any display preset).
    int status = 0;
    RunCommandLine("xdotool mousemove --sync --window " + window + " 60 40 click 1", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(host.Received.substr(0, host.Await("\r", 0, kStartLimitMs) + 1), "OK:OK\r");
}

} // namespace
} // namespace kalvor::test
