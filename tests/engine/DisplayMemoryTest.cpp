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

// ---------------------------------------------------------------- ring

TEST(DisplayMemoryRing, WritingOneRowMoreThanTheRingDropsTheOldest)
{
    DisplayMemory m(9); // ten rows
    m.RowsInTerm = 5;
    int written = 0;
    m.CursorRow().Text = "r0";
    FeedRows(m, 9, written);
    EXPECT_EQ(m.FirstRow, 0);
    EXPECT_EQ(m.LastRow, 9);
    EXPECT_FALSE(m.IsWrapped());
    EXPECT_EQ(m.UsedRows(), 10);

    FeedRows(m, 1, written); // the eleventh row
    EXPECT_TRUE(m.IsWrapped());
    EXPECT_EQ(m.LastRow, 0);
    EXPECT_EQ(m.FirstRow, 1);
    EXPECT_EQ(m.AbsCurRow, 0);
    EXPECT_EQ(m.Row(0).Text, "r10");
    EXPECT_EQ(m.Row(1).Text, "r1");
    EXPECT_EQ(m.UsedRows(), 10);

    // From then on FirstRow stays LastRow + 1 cyclically.
    for (int i = 0; i < 25; ++i) {
        FeedRows(m, 1, written);
        ASSERT_EQ(m.FirstRow, m.Wrap(m.LastRow + 1)) << "after row " << written;
        ASSERT_EQ(m.Row(m.FirstRow).Text, "r" + std::to_string(written - 9));
    }
    // The screen follows the cursor: it stays on the bottom screen line.
    EXPECT_EQ(m.CurRow, 4);
    EXPECT_EQ(m.TopRow, m.Wrap(m.LastRow - 4));
}

// ---------------------------------------------------------------- cursor rows

struct PendingCase {
    const char* name;
    bool wrap;  // fill the ring past its end first
    int topAge; // TopRow as an age (0 = oldest row)
    int curRow;
    bool beyond;   // expected SetNewCurRow result
    int targetAge; // expected cursor row age after ApplyPendingRow
    int lastAgeAfter;
};

TEST(DisplayMemoryCursorRow, SetNewCurRowAndApplyPendingRow)
{
    const PendingCase cases[] = {
        {"inside used rows", false, 0, 3, false, 3, 5},
        {"on LastRow", false, 2, 3, false, 5, 5},
        {"beyond LastRow", false, 2, 6, true, 8, 8},
        {"wrapped, top in the older segment", true, 3, 5, false, 8, 9},
        {"wrapped, beyond LastRow", true, 6, 5, true, 11, 9},
    };
    for (const PendingCase& c : cases) {
        DisplayMemory m(9);
        m.RowsInTerm = 8;
        int written = 0;
        FeedRows(m, c.wrap ? 15 : 5, written);
        m.TopRow = m.Wrap(m.FirstRow + c.topAge);
        m.CurRow = c.curRow;
        const int firstBefore = m.FirstRow;
        const int ringRow = m.Wrap(firstBefore + c.targetAge);

        m.RowBeyondEnd = m.SetNewCurRow();
        EXPECT_EQ(m.RowBeyondEnd, c.beyond) << c.name;
        EXPECT_EQ(m.Wrap(m.PendingAbsRow), ringRow) << c.name;
        EXPECT_GE(m.PendingAbsRow, 0) << c.name;
        if (m.IsWrapped()) {
            EXPECT_LE(m.PendingAbsRow, m.MaxRow) << c.name << ": reduced when wrapped";
        }

        m.ApplyPendingRow();
        EXPECT_EQ(m.AbsCurRow, ringRow) << c.name;
        EXPECT_EQ(m.Age(m.LastRow), c.lastAgeAfter) << c.name;
        EXPECT_EQ(m.PendingAbsRow, -1) << c.name;
        EXPECT_FALSE(m.RowBeyondEnd) << c.name;
    }
}

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
