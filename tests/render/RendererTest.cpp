// The renderer draws display memory into its image: enhancements, colours,
// the cursor, blinking, and only what changed.
#include "RenderFixture.h"
#include "SessionInternals.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace kalvor {
namespace {

using test::RenderedScreen;

std::string At(int col, int row) { return "\x1b&a" + std::to_string(col) + "c" + std::to_string(row) + "Y"; }

class RendererTest : public ::testing::Test {
protected:
    RendererTest() { s.State().CursorHidden = true; }
    RenderedScreen s;
};

TEST(Renderer, CellsShowTheirEnhancementsAndTheCursor)
{
    const struct {
        const char* What;
        std::string Host;
        bool Cursor;
        std::vector<std::tuple<int, int, std::string>> Looks; // row, column, look
    } rows[] = {
        {"plain text", At(0, 0) + "A ", false, {{0, 0, "fg on bg"}, {0, 1, "bg"}, {3, 40, "bg"}}},
        {"inverse fills with the foreground and draws in the background, to the end of the row",
         At(10, 2) + "\x1b&dB W",
         false,
         {{2, 9, "bg"}, {2, 10, "fg"}, {2, 11, "bg on fg"}, {2, 30, "fg"}}},
        {"secured codes are drawn like their upper-case forms", At(0, 1) + "\x1b&dsB  ", false, {{1, 0, "fg"}}},
        {"half-bright text and solid block",
         At(0, 4) + "\x1b&dHM\x1b)B\x0e"
                    "c\x0f",
         false,
         {{4, 0, "half on bg"}, {4, 1, "half"}}},
        {"inverse half-bright dims the fill", At(0, 5) + "\x1b&dJM ", false, {{5, 0, "bg on half"}, {5, 1, "half"}}},
        {"display functions draw ESC", At(0, 2) + "\x1bY\x1b\x1bZ", false, {{2, 0, "fg on bg"}}},
        {"the block cursor exchanges the colours", At(5, 7), true, {{7, 5, "fg"}, {7, 6, "bg"}}},
        {"on an inverse cell it shows it plain", At(5, 7) + "\x1b&dB" + At(5, 7), true, {{7, 5, "bg"}, {7, 6, "fg"}}},
        {"a hidden cursor is not drawn", At(5, 7) + "\x1b*dR", true, {{7, 5, "bg"}}},
    };
    for (const auto& row : rows) {
        RenderedScreen s;
        s.State().CursorHidden = !row.Cursor;
        s.Host(row.Host);
        s.Refresh();
        for (const auto& [r, c, look] : row.Looks)
            EXPECT_EQ(s.Look(r, c), look) << row.What << " at row " << r << " column " << c;
    }
}

// At a device pixel ratio the image has that many pixels to a logical one.
// The underline: one pixel row two pixels above the cell bottom across every
// cell of the run; at a ratio of 2, two device rows four above.
TEST(Renderer, DevicePixelRatioAndTheUnderline)
{
    for (const double dpr : {1.0, 2.0}) {
        RenderedScreen s(1, dpr);
        s.State().CursorHidden = true;
        s.Host("\x1b&dD  ");
        s.Refresh();
        const int h = s.H(), line = static_cast<int>(dpr);
        EXPECT_EQ(s.renderer.Image().size(), QSize(640 * line, 384 * line));
        EXPECT_DOUBLE_EQ(s.renderer.Image().devicePixelRatio(), dpr);
        EXPECT_EQ(s.renderer.LogicalSize(), QSize(640, 384));
        EXPECT_TRUE(s.RowAll(0, 1, h - 2 * line - 1, s.Fg())) << dpr;
        EXPECT_TRUE(s.RowAll(0, 0, h - 2 * line, s.Bg())) << dpr;
        EXPECT_TRUE(s.RowAll(0, 0, h - 3 * line - 1, s.Bg())) << dpr;
        EXPECT_EQ(s.Count(0, 0, s.Fg()), line * s.W()) << dpr;
    }
}

TEST_F(RendererTest, BlinkingCharactersDisappearInTheOffPhaseAndOnlyTheirRowsRedraw)
{
    s.Host(At(0, 6) + "\x1b&dA" + "X" + At(0, 8) + "\x1b&d@" + "Y" + At(0, 9) + "\x1b&dsC" + "Z");
    s.Refresh();
    EXPECT_GT(s.Count(6, 0, s.Fg()), 4);
    s.renderer.ToggleBlink(s.State());
    EXPECT_FALSE(s.renderer.BlinkPhase());
    EXPECT_TRUE(s.All(6, 0, s.Bg())) << "blinking character left out";
    EXPECT_TRUE(s.All(9, 0, s.Fg())) << "inverse blink keeps its fill";
    EXPECT_GT(s.Count(8, 0, s.Fg()), 4) << "plain text stays";
    EXPECT_EQ(s.renderer.LastRefresh().RowsDrawn, 2) << "rows 6 and 9 hold blink codes";
    s.renderer.ToggleBlink(s.State());
    EXPECT_GT(s.Count(6, 0, s.Fg()), 4);
}

// Only what changed is drawn: a changed row from its first changed column;
// nothing once the marks are consumed; everything after a scroll or a move
// of the window through memory.
TEST_F(RendererTest, OnlyWhatChangedIsDrawn)
{
    s.Host(At(10, 5));
    s.Refresh();
    s.Host("Z");
    EXPECT_EQ(s.Refresh(), QRect(10 * 8, 5 * 16, 70 * 8, 16));
    EXPECT_TRUE(s.Refresh().isEmpty()) << "nothing changed";
    const auto& st = s.renderer.LastRefresh();

    s.Host(At(0, 5) + "last");
    s.Host(At(0, 23) + "\r\n");
    s.Refresh();
    EXPECT_TRUE(st.Full);
    EXPECT_EQ(st.RowsDrawn, 24);
    EXPECT_GT(s.Count(4, 0, s.Fg()), 4) << "the text moved up a row";

    for (int i = 0; i < 40; ++i)
        s.Host("line " + std::to_string(i) + "\r\n");
    s.Refresh();
    Internals(s.session).Term().Scroll.ScrollTermUp(5);
    s.Memory().ClearRepaint(); // the TopRow change alone must be enough
    s.Refresh();
    EXPECT_TRUE(st.Full);
}

TEST_F(RendererTest, AMarkedRegionIsDrawnInverseAndStaysWithItsRowsWhenTheScreenScrolls)
{
    for (int i = 0; i < 30; ++i)
        s.Host("line " + std::to_string(i) + "\r\n");
    const DisplayMemory& m = s.Memory();
    // Columns 2..3 of screen row 5 to column 1 of screen row 6; an inverse
    // cell inside the mark turns plain.
    const int top = m.TopRow;
    s.Host(At(2, 5) + "\x1b&dB" + "XY" + "\x1b&d@");
    s.renderer.SetMarked({true, m.Wrap(top + 5), 3, m.Wrap(top + 6), 1, false});
    s.Refresh();
    EXPECT_TRUE(s.renderer.LastRefresh().Full) << "a new mark redraws everything";
    EXPECT_GT(s.Count(5, 2, s.Fg()), s.W() * s.H() / 2) << "inverse before the mark";
    EXPECT_GT(s.Count(5, 3, s.Bg()), s.W() * s.H() / 2) << "inverse inside the mark is plain";
    EXPECT_TRUE(s.All(5, 10, s.Fg())) << "the mark runs to the end of its first row";
    EXPECT_GT(s.Count(6, 1, s.Fg()), s.W() * s.H() / 2);
    EXPECT_GT(s.Count(6, 2, s.Bg()), s.W() * s.H() / 2) << "and stops after the end column of its last row";

    // Two rows of output later the marked rows stand two screen rows higher.
    s.Host(At(0, 23) + "\r\n\r\n");
    s.Refresh();
    EXPECT_TRUE(s.All(3, 10, s.Fg()));
    EXPECT_GT(s.Count(4, 1, s.Fg()), s.W() * s.H() / 2);

    s.renderer.SetMarked({});
    s.Refresh();
    EXPECT_TRUE(s.All(3, 10, s.Bg())) << "an unmarked region is drawn plain again";
}

// The cursor: blinking with the phase (only its cell drawn), the cell it
// left restored, and the underline form a bar over the bottom two rows.
TEST(Cursor, BlinksMovesAndTakesTheUnderlineForm)
{
    RenderedScreen s;
    s.Host(At(5, 7));
    s.Refresh();
    s.renderer.ToggleBlink(s.State());
    EXPECT_TRUE(s.All(7, 5, s.Bg()));
    EXPECT_EQ(s.renderer.LastRefresh().CellsDrawn, 1) << "only the cursor cell";
    s.renderer.ToggleBlink(s.State());
    EXPECT_TRUE(s.All(7, 5, s.Fg()));

    s.Memory().CurRow = 3; // the cursor moves without a change of display memory
    s.Memory().CurCol = 20;
    s.Refresh();
    EXPECT_TRUE(s.All(7, 5, s.Bg()));
    EXPECT_TRUE(s.All(3, 20, s.Fg()));
    EXPECT_EQ(s.renderer.LastRefresh().CellsDrawn, 2);

    s.State().CursorForm = 2;
    s.Host(At(5, 7));
    s.Refresh();
    const int h = s.H();
    EXPECT_TRUE(s.RowAll(7, 5, h - 1, s.Fg()));
    EXPECT_TRUE(s.RowAll(7, 5, h - 2, s.Fg()));
    EXPECT_EQ(s.Count(7, 5, s.Fg()), 2 * s.W());
}

} // namespace
} // namespace kalvor
