// The selection in the desktop program under Xvfb, through the real X
// server: a drag with the mouse marks text and makes it the primary
// selection, Ctrl+Shift+C puts it on the clipboard (read back with xclip),
// and a middle click pastes the primary selection another program owns.
//
// Skipped, loudly, only when Xvfb cannot start.
#include "FileBytes.h"
#include "NetTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kalvor::test {
namespace {

namespace fs = std::filesystem;

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

TEST(DesktopSelection, DragCopiesAndMiddleClickPastesThePrimarySelection)
{
    TempHome home;
    ServerProcess x;
    if (StartDisplay(x, home.Path()).empty())
        GTEST_SKIP() << "\n*** DESKTOP SELECTION TEST SKIPPED: Xvfb cannot start ***";
    const fs::path dump = home.Path() / "screen.txt";
    const std::string replay = std::string(KALVOR_SOURCE_DIR) + "/samples/demo-session.txt";
    ServerProcess kalvor;
    std::string error;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, "--replay", replay, "--dump-screen", dump.string()}, error)) << error;
    const std::string window = FindWindow("Kalvor");
    ASSERT_FALSE(window.empty()) << "the Kalvor window did not appear";
    ASSERT_TRUE(WaitFor([&] { return ReadAll(dump).find("Command>") != std::string::npos; }, kStartLimitMs));
    Shell("xdotool windowfocus --sync " + window);

    const std::string shell = Shell("xdotool getwindowgeometry --shell " + window);
    const int width = GeometryValue(shell, "WIDTH"), height = GeometryValue(shell, "HEIGHT");
    ASSERT_GT(width, 100);
    ASSERT_GT(height, 100);
    // From the left edge of rows in the upper middle of the display to the
    // middle of rows a little lower: always inside the text.
    const std::string x1 = "20", y1 = std::to_string(height * 35 / 100);
    const std::string x2 = std::to_string(width * 55 / 100), y2 = std::to_string(height * 50 / 100);
    const std::string xm = std::to_string(width / 2);
    const std::string move = " mousemove --window " + window + " ";
    Shell("xdotool" + move + x1 + " " + y1 + " mousedown 1 sleep 0.2" + move + xm + " " + y1 + " sleep 0.2" + move + x2 +
        " " + y2 + " sleep 0.2 mouseup 1");

    // The marked text is the primary selection: rows of the screen, CR LF between.
    ASSERT_TRUE(WaitFor([] { return !Selection("primary").empty(); }, kStartLimitMs)) << "nothing marked";
    const std::string marked = Selection("primary");
    EXPECT_NE(marked.find("\r\n"), std::string::npos) << marked;
    const std::string screen = ReadAll(dump);
    std::istringstream lines(marked);
    int rows = 0;
    std::string last;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line.erase(line.find_last_not_of(' ') + 1);
        if (line.empty())
            continue;
        ++rows;
        last = line;
        EXPECT_NE(screen.find(line), std::string::npos) << "\"" << line << "\" is not on the screen:\n" << screen;
    }
    EXPECT_GT(rows, 0) << marked;
    // The cursor followed the pointer: it stands on the row where the drag
    // ended (the dump's rows, then "cursor ROW COL").
    const auto rowOf = [](const std::string& text, std::size_t at) {
        return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    };
    const std::size_t lastAt = screen.find("\n" + last);
    ASSERT_NE(lastAt, std::string::npos) << screen;
    const std::size_t cursorAt = screen.rfind("cursor ");
    ASSERT_NE(cursorAt, std::string::npos) << screen;
    EXPECT_EQ(std::stoi(screen.substr(cursorAt + 7)), rowOf(screen, lastAt + 1)) << screen;

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
    EXPECT_TRUE(WaitFor([&] { return ReadAll(dump).find("zebra") != std::string::npos; }, kStartLimitMs))
        << ReadAll(dump);
}

} // namespace
} // namespace kalvor::test
