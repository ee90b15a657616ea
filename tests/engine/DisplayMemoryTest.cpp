#include "engine/DisplayMemory.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvor {
namespace {

using test::Runs;
using test::Show;

// Appends rows by line feeds on LastRow, labelling each new row with its
// number in writing order ("r1", "r2", ...; row 0 of a fresh memory is "r0").
void FeedRows(DisplayMemory& m, int count, int& written)
{
    for (int i = 0; i < count; ++i) {
        m.LineFeed();
        m.CursorRow().Text = "r" + std::to_string(++written);
    }
}

// ---------------------------------------------------------------- cursor rows

TEST(DisplayMemorySetRelCurRow, ShrinkingTheScreenKeepsTheCursorRow)
{
    const struct {
        const char* name;
        int oldRows, newRows, curRow;
        int expectCurRow, expectTopAge;
    } cases[] = {
        {"30 to 24, cursor on row 27", 30, 24, 27, 21, 6},
        {"30 to 24, cursor on row 10", 30, 24, 10, 10, 0},
        {"30 to 24, cursor on row 24", 30, 24, 24, 18, 6},
        {"24 to 30 (grew)", 24, 30, 20, 20, 0},
    };
    for (const auto& c : cases) {
        DisplayMemory m(99);
        m.RowsInTerm = c.oldRows;
        int written = 0;
        FeedRows(m, 40, written);
        m.TopRow = 5;
        m.CurRow = c.curRow;
        m.AbsCurRow = m.Wrap(m.TopRow + m.CurRow);
        const int cursorRing = m.AbsCurRow;

        m.RowsInTerm = c.newRows;
        m.SetRelCurRow(c.oldRows);
        EXPECT_EQ(m.CurRow, c.expectCurRow) << c.name;
        EXPECT_EQ(m.TopRow, 5 + c.expectTopAge) << c.name;
        EXPECT_EQ(m.Wrap(m.TopRow + m.CurRow), cursorRing) << c.name;
        EXPECT_EQ(m.AbsCurRow, cursorRing) << c.name;
    }
}

// ---------------------------------------------------------------- repaint marks

TEST(DisplayMemoryRepaint, MarkChangedKeepsTheLeftmostColumn)
{
    DisplayMemory m(9);
    m.MarkChanged(3, 12);
    EXPECT_EQ(m.RepaintFromCol[3], 12);
    m.MarkChanged(3, 20);
    EXPECT_EQ(m.RepaintFromCol[3], 12);
    m.MarkChanged(3, 4);
    EXPECT_EQ(m.RepaintFromCol[3], 4);
    m.MarkChanged(-1, 0);  // ignored
    m.MarkChanged(100, 0); // ignored
    m.ClearRepaint();
    EXPECT_EQ(m.RepaintFromCol[3], -1);
}

} // namespace
} // namespace kalvor
