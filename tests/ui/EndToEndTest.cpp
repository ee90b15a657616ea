// End to end: kalvor runs on a virtual X display (Xvfb), shows a replayed
// host session, receives real key strokes and mouse drags through the X
// server (xdotool), and its screen is read back from the file that
// --dump-screen keeps. A screenshot of the window is saved next to the test
// (and into docs/screenshot.png when KALVOR_UPDATE_SCREENSHOT is set). The
// selection is read back with xclip.
//
// The tests are skipped, loudly, only when Xvfb cannot start.
#include "FileBytes.h"
#include "NetTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kalvor::test {
namespace {

namespace fs = std::filesystem;

// Waiting limit: a slow machine only waits longer, and nothing asserts on
// how long anything took.
constexpr int kStartLimitMs = 60000;

// A command line's output, or "" when it failed.
std::string Shell(const std::string& command)
{
    int status = 0;
    const std::string out = RunCommandLine(command, status);
    return status == 0 ? out : std::string();
}

std::string Selection(const std::string& which) { return Shell("xclip -o -selection " + which); }

int GeometryValue(const std::string& shell, const std::string& key)
{
    const std::size_t at = shell.find(key + "=");
    return at == std::string::npos ? -1 : std::stoi(shell.substr(at + key.size() + 1));
}

TEST(EndToEnd, TypingAndTheSelectionOfTheDesktopProgram)
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
    ASSERT_TRUE(WaitFor([&] { return screenHas("Command>"); }, kStartLimitMs)) << "the replayed session was not shown";

    // Real key strokes through the X server to the focused window.
    ASSERT_FALSE(
        Shell("xdotool windowfocus --sync " + window + " && xdotool type --delay 40 hello && echo ok").empty());
    ASSERT_TRUE(WaitFor([&] { return screenHas("Command> hello\n"); }, kStartLimitMs))
        << "typed text not on the screen; screen:\n"
        << ReadAll(dump);
    EXPECT_TRUE(screenHas("cursor 23 14\n")) << ReadAll(dump);

    // A screenshot of the window as the X server shows it.
    const std::string shot = std::string(KALVOR_BINARY_DIR) + "/screenshot.png";
    ASSERT_FALSE(Shell("import -display " + display + " -window " + window + " '" + shot + "' && echo ok").empty());
    EXPECT_GT(fs::file_size(shot), 1000u);
    if (std::getenv("KALVOR_UPDATE_SCREENSHOT") != nullptr)
        fs::copy_file(shot, fs::path(KALVOR_SOURCE_DIR) / "docs" / "screenshot.png",
                      fs::copy_options::overwrite_existing);

    // A drag from the left edge of rows in the upper middle of the display
    // to the middle of rows a little lower: always inside the text.
    const std::string shell = Shell("xdotool getwindowgeometry --shell " + window);
    const int width = GeometryValue(shell, "WIDTH"), height = GeometryValue(shell, "HEIGHT");
    ASSERT_GT(width, 100);
    ASSERT_GT(height, 100);
    const std::string x1 = "20", y1 = std::to_string(height * 35 / 100);
    const std::string x2 = std::to_string(width * 55 / 100), y2 = std::to_string(height * 50 / 100);
    const std::string xm = std::to_string(width / 2);
    const std::string move = " mousemove --window " + window + " ";
    Shell("xdotool" + move + x1 + " " + y1 + " mousedown 1 sleep 0.2" + move + xm + " " + y1 + " sleep 0.2" + move +
          x2 + " " + y2 + " sleep 0.2 mouseup 1");

    // The marked text is the primary selection: rows of the screen, CR LF between.
    ASSERT_TRUE(WaitFor([] { return !Selection("primary").empty(); }, kStartLimitMs)) << "nothing marked";
    const std::string marked = Selection("primary");
    EXPECT_NE(marked.find("\r\n"), std::string::npos) << marked;
    const std::string screen = ReadAll(dump);
    std::istringstream lines(marked);
    std::string last;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty()) {
            EXPECT_NE(screen.find(last = line), std::string::npos) << "\"" << line << "\" is not on:\n" << screen;
        }
    }
    // The cursor followed the pointer: it stands on the row where the drag
    // ended (the dump's rows, then "cursor ROW COL").
    const std::size_t lastAt = screen.find("\n" + last);
    const std::size_t cursorAt = screen.rfind("cursor ");
    ASSERT_FALSE(last.empty() || lastAt == std::string::npos || cursorAt == std::string::npos) << screen;
    EXPECT_EQ(std::stoi(screen.substr(cursorAt + 7)), std::count(screen.begin(), screen.begin() + lastAt + 1, '\n'))
        << screen;

    // Ctrl+Shift+C copies it to the clipboard whatever the Ctrl setting.
    Shell("xdotool key --clearmodifiers ctrl+shift+c");
    EXPECT_TRUE(WaitFor([&] { return Selection("clipboard") == marked; }, kStartLimitMs))
        << "clipboard: \"" << Selection("clipboard") << "\"";

    // Another program takes the primary selection; a middle click pastes it
    // at the cursor (the terminal is in local mode).
    const fs::path zebra = home.Path() / "zebra.txt";
    std::ofstream(zebra) << "zebra";
    ServerProcess xclip;
    ASSERT_TRUE(xclip.Start({"xclip", "-quiet", "-selection", "primary", "-i", zebra.string()}, error)) << error;
    ASSERT_TRUE(WaitFor([] { return Selection("primary") == "zebra"; }, kStartLimitMs));
    Shell("xdotool" + move + x1 + " " + y1 + " click 2");
    EXPECT_TRUE(WaitFor([&] { return screenHas("zebra"); }, kStartLimitMs)) << ReadAll(dump);

    // SIGTERM closes the window like File > Exit.
    EXPECT_EQ(kalvor.Stop(), 0);
}

TEST(EndToEnd, AClickOnAFormButtonSendsItsLineToTheHost)
{
    TempHome home;
    ServerProcess x;
    if (StartDisplay(x, home.Path()).empty())
        GTEST_SKIP() << "\n*** END-TO-END TEST SKIPPED: Xvfb cannot start ***";
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    // kalvor given a log-on script on its command line connects to its target.
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
    ASSERT_FALSE(Shell("xdotool mousemove --sync --window " + window + " 60 40 click 1 && echo ok").empty());
    EXPECT_EQ(host.Received.substr(0, host.Await("\r", 0, kStartLimitMs) + 1), "OK:OK\r");
}

} // namespace
} // namespace kalvor::test
