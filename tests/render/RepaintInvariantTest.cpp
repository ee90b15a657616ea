// The window draws what display memory holds: host output fed in small
// pieces, one receive pass each, and after every pass the renderer's
// incremental image equals a full repaint of the same display memory, cell
// for cell. The host output comes from every screen case and from screens
// that curses programs draw (highlights in the middle of rows, rows that get
// shorter, runs changed after their row was drawn).
#include "CaseFile.h"
#include "EventScript.h"
#include "FileBytes.h"
#include "RenderFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kalvor::test {
namespace {

// The first cell whose pixels differ between two images of the same size,
// as "row R column C", or empty when the images are equal.
std::string FirstDifferentCell(const QImage& a, const QImage& b, int cellWidth, int cellHeight)
{
    if (a.size() != b.size())
        return "the image sizes differ";
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (pa[x] != pb[x])
                return "row " + std::to_string(y / cellHeight) + " column " + std::to_string(x / cellWidth);
    }
    return std::string();
}

struct Feed {
    std::string Name;
    int Cols = 80;
    int Rows = 24;
    std::vector<std::string> Chunks; // host output, in the order it arrives
};

// Feeds the host output `piece` bytes at a time; after every receive pass the
// incremental image is compared with a full repaint. Returns where they first
// differ, or empty.
std::string CheckFeed(const Feed& feed, std::size_t piece)
{
    RenderedScreen s(1, 1.0, feed.Cols, feed.Rows);
    render::Renderer full;
    full.SetCell(s.renderer.Cell(), 1.0);
    int pass = 0;
    for (const std::string& chunk : feed.Chunks) {
        for (std::size_t at = 0; at < chunk.size(); at += piece) {
            s.Host(std::string_view(chunk).substr(at, piece));
            s.Refresh();
            full.Invalidate();
            full.RefreshTerminal(s.State());
            ++pass;
            const std::string diff = FirstDifferentCell(s.renderer.Image(), full.Image(), s.W(), s.H());
            if (!diff.empty())
                return "pass " + std::to_string(pass) + " (byte " + std::to_string(at + piece) +
                       " of its chunk): " + diff;
        }
    }
    return std::string();
}

std::vector<Feed> ScreenCaseFeeds()
{
    std::vector<Feed> feeds;
    for (const auto& entry : std::filesystem::directory_iterator(KALVOR_CASES_DIR)) {
        if (entry.path().extension() != ".case")
            continue;
        std::string error;
        for (const ScreenCase& c : LoadCaseFile(entry.path().string(), error)) {
            Feed f;
            f.Name = entry.path().filename().string() + ":" + std::to_string(c.Line) + " " + c.Name;
            for (std::size_t i = 0; i + 1 < c.Args.size(); ++i) {
                if (c.Args[i] == "--cols")
                    f.Cols = std::stoi(c.Args[i + 1]);
                else if (c.Args[i] == "--rows")
                    f.Rows = std::stoi(c.Args[i + 1]);
            }
            for (const std::string& line : c.Events) {
                std::string lineError;
                const auto event = ParseEventLine(line, 0, lineError);
                if (event && event->Type == ScriptEvent::Kind::Host)
                    f.Chunks.push_back(event->Text);
            }
            if (!f.Chunks.empty())
                feeds.push_back(std::move(f));
        }
        EXPECT_TRUE(error.empty()) << error;
    }
    return feeds;
}

// Screens as curses programs draw them on this terminal: cursor addressing,
// enhancements switched in the middle of rows, clearing to the end of the
// row, and rows redrawn shorter than before.
std::vector<Feed> CursesFeeds()
{
    const std::string home = "\x1b&a0y0C";
    const auto at = [](int row, int col) { return "\x1b&a" + std::to_string(row) + "y" + std::to_string(col) + "C"; };
    std::vector<Feed> feeds;
    // A search highlight on two rows, the screen redrawn after a prompt.
    feeds.push_back(
        {"search highlight redrawn after a prompt",
         80,
         24,
         {home +
              "\x1b"
              "J" +
              at(2, 0) + "listen on \x1b&dJtcp\x1b&d@ port 22 and \x1b&dJtcp\x1b&d@ 80",
          at(3, 4) + "\x1b&dJtcp\x1b&d@/udp", at(23, 0) + "Swap file exists! [O]pen Read-Only, (E)dit anyway: ",
          home +
              "\x1b"
              "J" +
              at(2, 0) + "listen on \x1b&dJtcp\x1b&d@ port 22",
          at(3, 4) + "\x1b&dJtcp\x1b&d@",
          at(23, 0) + "\x1b"
                      "K\"file\" 4L, 80B"}});
    // A status line in inverse video at column 0, then the row rewritten.
    feeds.push_back({"inverse title bar rewritten shorter",
                     80,
                     24,
                     {home + "\x1b&dB  GNU nano 7.2      file.txt                    \x1b&d@",
                      at(0, 0) + "\x1b&dB  GNU nano 7.2   \x1b&d@\x1b"
                                 "K",
                      at(1, 10) + "\x1b&dDunder\x1b&d@ plain",
                      at(1, 0) +
                          "\x1b"
                          "K" +
                          at(1, 3) + "x"}});
    // Line drawing boxes: SO and SI around the edges, a title in the top edge.
    feeds.push_back({"boxes with a title",
                     80,
                     24,
                     {at(4, 10) + "\x0elqqqqqqqqqqk\x0f" + at(5, 10) + "\x0ex\x0f" + at(5, 21) + "\x0ex\x0f" +
                          at(6, 10) + "\x0emqqqqqqqqqqj\x0f",
                      at(4, 12) + "\x0e\x0f Title \x0e\x0f", at(5, 11) + "\x1b&dJ inside   \x1b&d@"}});
    // Insert and delete of characters and lines inside enhanced rows.
    feeds.push_back({"editing inside enhanced rows",
                     80,
                     24,
                     {at(1, 0) + "abc\x1b&dBdef\x1b&d@ghi\x1b&dDjkl\x1b&d@",
                      at(1, 2) +
                          "\x1b"
                          "P\x1b"
                          "P" +
                          at(1, 1) +
                          "\x1b"
                          "QXY\x1b"
                          "R",
                      at(0, 0) +
                          "\x1b"
                          "L" +
                          at(5, 0) +
                          "\x1b"
                          "M"}});
    return feeds;
}

// Recordings of real programs run with TERM=hp70092 in an 80 x 24
// pseudo-terminal (tests/render/recordings).
std::vector<Feed> RecordedFeeds()
{
    std::vector<Feed> feeds;
    for (const auto& entry : std::filesystem::directory_iterator(KALVOR_RECORDINGS_DIR))
        feeds.push_back({entry.path().filename().string(), 80, 24, {ReadAll(entry.path())}});
    return feeds;
}

TEST(RepaintInvariant, TheImageEqualsAFullRepaintAfterEveryReceivePass)
{
    std::vector<Feed> feeds = ScreenCaseFeeds();
    ASSERT_GT(feeds.size(), 100u);
    for (std::vector<Feed> more : {CursesFeeds(), RecordedFeeds()})
        for (Feed& f : more)
            feeds.push_back(std::move(f));
    for (const Feed& f : feeds)
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{64}}) {
            const std::string diff = CheckFeed(f, piece);
            EXPECT_TRUE(diff.empty()) << f.Name << ", pieces of " << piece << ": " << diff;
        }
}

} // namespace
} // namespace kalvor::test
