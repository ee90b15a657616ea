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

struct Feed {
    std::string Name;
    int Cols = 80;
    int Rows = 24;
    std::vector<std::string> Chunks; // host output, in the order it arrives
};

// Feeds the host output `piece` bytes at a time; after every receive pass the
// incremental image is compared with a full repaint. Returns the first pass
// where they differ, or empty.
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
            if (s.renderer.Image() != full.Image())
                return "pass " + std::to_string(pass) + " (byte " + std::to_string(at + piece) + " of its chunk)";
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

// Host output for an 80 x 24 screen (tests/render/recordings): real programs
// recorded with TERM=hp70092, and screens as curses programs draw them
// (highlights switched in the middle of rows, rows cleared to their end and
// redrawn shorter, boxes with a title in their edge, editing inside
// enhanced rows).
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
    for (Feed& f : RecordedFeeds())
        feeds.push_back(std::move(f));
    for (const Feed& f : feeds)
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{64}}) {
            const std::string diff = CheckFeed(f, piece);
            EXPECT_TRUE(diff.empty()) << f.Name << ", pieces of " << piece << ": " << diff;
        }
}

} // namespace
} // namespace kalvor::test
