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

TEST(DisplayMemoryRing, TheDefaultRingHoldsFifteenThousandRows)
{
    DisplayMemory m;
    ASSERT_EQ(m.MaxRow, 14999);
    m.CursorRow().Text = "first";
    for (int i = 0; i < 14999; ++i)
        m.LineFeed();
    EXPECT_EQ(m.LastRow, 14999);
    EXPECT_EQ(m.FirstRow, 0);
    EXPECT_FALSE(m.IsWrapped());
    m.Row(1).Text = "second";

    m.LineFeed(); // row 15001
    EXPECT_TRUE(m.IsWrapped());
    EXPECT_EQ(m.LastRow, 0);
    EXPECT_EQ(m.FirstRow, 1);
    EXPECT_EQ(m.Row(0).Text, "");
    EXPECT_EQ(m.Row(1).Text, "second");
    EXPECT_EQ(m.UsedRows(), 15000);
}

TEST(DisplayMemoryRing, MovingTheCursorTenRowsBelowLastRowOfAFullRingExtendsIt)
{
    DisplayMemory m(29); // thirty rows
    m.RowsInTerm = 24;
    int written = 0;
    m.CursorRow().Text = "r0";
    FeedRows(m, 34, written); // wrapped: rows r5 .. r34 in memory
    ASSERT_TRUE(m.IsWrapped());
    const int oldFirst = m.FirstRow;
    const int oldLast = m.LastRow;
    ASSERT_EQ(m.Row(oldFirst).Text, "r5");
    m.Row(oldLast).LineStartCol = 3;

    // Show the newest row on screen row 13 and put the cursor on row 23.
    m.TopRow = m.Wrap(oldLast - 13);
    m.CurRow = 23;
    m.RowBeyondEnd = m.SetNewCurRow();
    EXPECT_TRUE(m.RowBeyondEnd);
    EXPECT_EQ(m.PendingAbsRow, m.Wrap(oldLast + 10));
    m.ApplyPendingRow();

    EXPECT_EQ(m.LastRow, m.Wrap(oldLast + 10));
    EXPECT_EQ(m.AbsCurRow, m.LastRow);
    EXPECT_EQ(m.FirstRow, m.Wrap(oldFirst + 10));
    EXPECT_EQ(m.Row(m.FirstRow).Text, "r15");
    EXPECT_EQ(m.PendingAbsRow, -1);
    EXPECT_FALSE(m.RowBeyondEnd);
    for (int k = 1; k <= 10; ++k) {
        const DisplayRow& r = m.Row(m.Wrap(oldLast + k));
        EXPECT_TRUE(r.AllEmpty()) << "new row " << k;
        EXPECT_EQ(r.LineStartCol, m.LineStartDefault);
    }
    EXPECT_EQ(m.Row(oldLast).Text, "r34");
    EXPECT_EQ(m.Row(oldLast).LineStartCol, 3);
}

TEST(DisplayMemoryRing, InitDisplayBufOnAWrappedRingClearsEveryRow)
{
    DisplayMemory m(9);
    m.RowsInTerm = 5;
    int written = 0;
    FeedRows(m, 14, written);
    ASSERT_TRUE(m.IsWrapped());
    for (int i = 0; i <= m.MaxRow; ++i) {
        m.Row(i).Cntl = Runs({0, 'B', 0});
        m.Row(i).Shift = Runs({0, 'O', 0});
        m.Row(i).Form = Runs({0, '[', 0});
        m.Row(i).LineStartCol = 7;
    }
    m.PendingAbsRow = 4;
    m.RowBeyondEnd = true;
    m.CurCol = 12;

    m.InitDisplayBuf();
    for (int i = 0; i <= m.MaxRow; ++i) {
        EXPECT_TRUE(m.Row(i).AllEmpty()) << "row " << i;
        EXPECT_EQ(m.Row(i).LineStartCol, 0) << "row " << i;
    }
    EXPECT_EQ(m.FirstRow, 0);
    EXPECT_EQ(m.LastRow, 0);
    EXPECT_EQ(m.TopRow, 0);
    EXPECT_EQ(m.AbsCurRow, 0);
    EXPECT_EQ(m.CurRow, 0);
    EXPECT_EQ(m.CurCol, 0);
    EXPECT_EQ(m.PendingAbsRow, -1);
    EXPECT_FALSE(m.RowBeyondEnd);
    EXPECT_FALSE(m.IsWrapped());
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

TEST(DisplayMemoryCursorRow, AnUnwrappedSumAboveMaxRowIsReducedByTheExtension)
{
    DisplayMemory m(9);
    m.RowsInTerm = 8;
    int written = 0;
    FeedRows(m, 9, written); // rows 0..9 in use, not wrapped
    m.TopRow = 5;
    m.CurRow = 7;
    m.RowBeyondEnd = m.SetNewCurRow();
    EXPECT_TRUE(m.RowBeyondEnd);
    EXPECT_EQ(m.PendingAbsRow, 12);

    m.ApplyPendingRow();
    EXPECT_EQ(m.AbsCurRow, 2);
    EXPECT_EQ(m.LastRow, 2);
    EXPECT_EQ(m.FirstRow, 3);
    EXPECT_EQ(m.Row(3).Text, "r3");
    EXPECT_TRUE(m.Row(0).AllEmpty());
}

TEST(DisplayMemoryCursorRow, ApplyWithoutAPendingRowChangesNothing)
{
    DisplayMemory m(9);
    m.AbsCurRow = 0;
    m.ApplyPendingRow();
    EXPECT_EQ(m.AbsCurRow, 0);
    EXPECT_EQ(m.LastRow, 0);
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

// ---------------------------------------------------------------- line feed

TEST(DisplayMemoryLineFeed, MovesDownScrollsAndAppends)
{
    const struct {
        const char* name;
        int usedRows; // rows in memory before the line feed (LastRow = usedRows - 1)
        int topRow, curRow;
        int expectTop, expectCurRow, expectAbs, expectLast;
        bool scrolled;
    } cases[] = {
        {"on LastRow at the bottom", 10, 5, 4, 6, 4, 10, 10, true},
        {"on LastRow above the bottom", 10, 7, 2, 7, 3, 10, 10, false},
        {"not on LastRow", 10, 2, 3, 2, 4, 6, 9, false},
        {"not on LastRow at the bottom", 10, 1, 4, 2, 4, 6, 9, true},
    };
    for (const auto& c : cases) {
        DisplayMemory m(49);
        m.RowsInTerm = 5;
        int written = 0;
        FeedRows(m, c.usedRows - 1, written);
        m.TopRow = c.topRow;
        m.CurRow = c.curRow;
        m.AbsCurRow = c.topRow + c.curRow;
        m.ClearRepaint();

        m.LineFeed();
        EXPECT_EQ(m.TopRow, c.expectTop) << c.name;
        EXPECT_EQ(m.CurRow, c.expectCurRow) << c.name;
        EXPECT_EQ(m.AbsCurRow, c.expectAbs) << c.name;
        EXPECT_EQ(m.LastRow, c.expectLast) << c.name;
        EXPECT_EQ(m.ScreenScrolled, c.scrolled) << c.name;
        EXPECT_EQ(m.Wrap(m.TopRow + m.CurRow), m.AbsCurRow) << c.name;
    }
}

TEST(DisplayMemoryLineFeed, TheAppendedRowIsCleared)
{
    DisplayMemory m(3);
    m.RowsInTerm = 2;
    int written = 0;
    FeedRows(m, 3, written);
    m.Row(0).LineStartCol = 9; // the oldest row, about to be reused
    m.Row(0).Cntl = Runs({0, 'B', 0});
    m.LineFeed();
    EXPECT_EQ(m.LastRow, 0);
    EXPECT_TRUE(m.Row(0).AllEmpty());
    EXPECT_EQ(m.Row(0).LineStartCol, 0);
    EXPECT_EQ(m.FirstRow, 1);
}

// ---------------------------------------------------------------- ModCntlBuf

struct EnhCase {
    const char* name;
    std::string cntl;
    std::string shift;
    char enh;
    int col;
    std::string expected;
};

TEST(DisplayMemoryModCntlBuf, RecordsWhereAnEnhancementStarts)
{
    const std::string shift20 = Runs({20, ' ', 5, 'O', 15, 'I', 0}); // extent 20
    const EnhCase cases[] = {
        // Empty row. (That "@" at column 0 of an all-empty row stores nothing
        // is decided by the ESC & d recording before ModCntlBuf is called.)
        {"empty row, column 0, @", "", "", '@', 0, Runs({0, '@', 0})},
        {"empty row, column 0, letter", "", "", 'B', 0, Runs({0, 'B', 0})},
        {"empty row, column 10", "", "", 'B', 10, Runs({10, ' ', 10, 'B', 0})},
        // The character-set runs reach beyond the cursor.
        {"E beyond the cursor", "", shift20, 'B', 8, Runs({20, ' ', 8, 'B', 12, '@', 0})},
        {"E beyond the cursor at column 0", "", shift20, 'B', 0, Runs({20, 'B', 20, '@', 0})},
        {"E equal to the cursor", "", shift20, 'B', 20, Runs({20, ' ', 20, 'B', 0})},
        {"E before the cursor", "", shift20, 'B', 30, Runs({30, ' ', 30, 'B', 0})},
        {"three-character ShiftBuf has no extent", "", Runs({0, 'O', 0}), 'B', 8, Runs({8, ' ', 8, 'B', 0})},
        // The three-character rule: a lone run of no enhancement is forgotten,
        // a real enhancement from column 0 is kept.
        {"three-character CntlBuf of @ counts as empty", Runs({0, '@', 0}), "", 'D', 10, Runs({10, ' ', 10, 'D', 0})},
        {"three-character CntlBuf of @ with E", Runs({0, '@', 0}), shift20, 'D', 10,
         Runs({20, ' ', 10, 'D', 10, '@', 0})},
        {"three-character CntlBuf of B is kept", Runs({0, 'B', 0}), "", 'D', 10, Runs({10, 'B', 10, 'D', 0})},
        // Existing runs, C == header.
        {"C at the header", Runs({10, ' ', 10, 'B', 0}), "", 'D', 10, Runs({10, ' ', 10, 'D', 0})},
        {"C at the header, E beyond", Runs({10, ' ', 10, 'B', 0}), shift20, 'D', 10,
         Runs({20, ' ', 10, 'D', 10, '@', 0})},
        // C > header.
        {"C beyond the header", Runs({10, ' ', 10, 'B', 0}), "", 'D', 25, Runs({25, ' ', 10, 'B', 15, 'D', 0})},
        {"C beyond the header, E irrelevant", Runs({10, ' ', 10, 'B', 0}), shift20, 'D', 15,
         Runs({15, ' ', 10, 'B', 5, 'D', 0})},
        // C < header: the run is split, the new enhancement reaches to its end.
        {"split inside a run", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'H', 12,
         Runs({25, ' ', 10, 'B', 2, 'H', 13, 'D', 0})},
        {"split at the start of a run", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'H', 10,
         Runs({25, ' ', 10, 'H', 15, 'D', 0})},
        {"split equal to the next run keeps its own start", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'D', 12,
         Runs({25, ' ', 10, 'B', 2, 'D', 13, 'D', 0})},
        {"equal to the run before, at its start", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'B', 25,
         Runs({25, ' ', 10, 'B', 15, 'B', 0})},
        {"equal to the open run, beyond the header", Runs({10, ' ', 10, 'B', 0}), "", 'B', 15,
         Runs({15, ' ', 10, 'B', 5, 'B', 0})},
        {"split in the first run", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'A', 3,
         Runs({25, ' ', 3, 'A', 7, 'B', 15, 'D', 0})},
    };
    for (const EnhCase& c : cases) {
        DisplayMemory m(9);
        m.CursorRow().Cntl = c.cntl;
        m.CursorRow().Shift = c.shift;
        m.ModCntlBuf(c.enh, c.col);
        EXPECT_EQ(Show(m.CursorRow().Cntl), Show(c.expected)) << c.name;
        EXPECT_EQ(m.CursorRow().Shift, c.shift) << c.name;
    }
}

TEST(DisplayMemoryModCntlBuf, WritesTheCursorRowOnly)
{
    DisplayMemory m(9);
    m.LineFeed();
    m.LineFeed();
    m.ModCntlBuf('B', 4);
    EXPECT_EQ(Show(m.Row(2).Cntl), Show(Runs({4, ' ', 4, 'B', 0})));
    EXPECT_TRUE(m.Row(1).Cntl.empty());
}

// ---------------------------------------------------------------- UpdateFormBuf

TEST(DisplayMemoryUpdateFormBuf, RecordsFieldMarksAtTheCursor)
{
    const struct {
        const char* name;
        std::string form;
        int col;
        char mark;
        std::string expected;
    } cases[] = {
        {"empty row, column 0", "", 0, '[', Runs({0, '[', 0})},
        {"empty row, column 5", "", 5, '[', Runs({5, ' ', 5, '[', 0})},
        {"three-character form string is split", Runs({0, '[', 0}), 10, ']', Runs({10, '[', 10, ']', 0})},
        {"three-character form string replaced at column 0", Runs({0, '[', 0}), 0, '{', Runs({0, '{', 0})},
        {"field closed after the header", Runs({5, ' ', 5, '[', 0}), 15, ']', Runs({15, ' ', 5, '[', 10, ']', 0})},
        {"split inside a field", Runs({15, ' ', 5, '[', 10, ']', 0}), 8, '{',
         Runs({15, ' ', 5, '[', 3, '{', 7, ']', 0})},
    };
    for (const auto& c : cases) {
        DisplayMemory m(9);
        m.CursorRow().Form = c.form;
        m.CurCol = c.col;
        m.UpdateFormBuf(c.mark);
        EXPECT_EQ(Show(m.CursorRow().Form), Show(c.expected)) << c.name;
    }
}

// ---------------------------------------------------------------- DelEnhChar

TEST(DisplayMemoryDelEnhChar, RemovesTheCursorColumn)
{
    // Columns 0-4 blank, 5-14 B, 15-19 blank, D from 20 on.
    const std::string base = Runs({20, ' ', 5, 'B', 10, ' ', 5, 'D', 0});
    const struct {
        const char* name;
        std::string in;
        int curCol;
        int rightMargin;
        std::string expected;
    } cases[] = {
        {"inside a run", base, 7, 79, Runs({19, ' ', 5, 'B', 9, ' ', 5, 'D', 0})},
        {"first column", base, 0, 79, Runs({19, ' ', 4, 'B', 10, ' ', 5, 'D', 0})},
        {"last explicit column", base, 19, 79, Runs({19, ' ', 5, 'B', 10, ' ', 4, 'D', 0})},
        {"one-column run removed, neighbours merge", Runs({11, ' ', 5, 'B', 1, ' ', 5, 'D', 0}), 5, 79,
         Runs({10, ' ', 10, 'D', 0})},
        {"at the header nothing changes", base, 20, 79, base},
        {"beyond the header nothing changes", base, 30, 79, base},
        {"empty string", "", 3, 79, ""},
        // Runs crossing the right margin: the crossing run regains the column.
        {"run crossing the margin", base, 2, 9, Runs({20, ' ', 4, 'B', 11, ' ', 5, 'D', 0})},
        {"cursor in the crossing run", base, 6, 9, base},
        {"run ending at the margin", Runs({20, ' ', 10, 'B', 10, 'D', 0}), 3, 9, Runs({20, ' ', 10, 'B', 10, 'D', 0})},
        {"margin inside, run starting after it", Runs({20, ' ', 3, 'B', 7, ' ', 10, 'D', 0}), 1, 9,
         Runs({20, ' ', 2, 'B', 8, ' ', 10, 'D', 0})},
        {"cursor right of the margin", base, 12, 9, Runs({19, ' ', 5, 'B', 9, ' ', 5, 'D', 0})},
    };
    for (const auto& c : cases) {
        DisplayMemory m(9);
        m.CurCol = c.curCol;
        m.RightMargin = c.rightMargin;
        EXPECT_EQ(Show(m.DelEnhChar(c.in)), Show(c.expected)) << c.name;
    }
}

// Enhancement strings keep the starts of equal neighbours: they move with the
// columns, and a start among the removed columns moves to the cursor.
TEST(DisplayMemoryDelEnhChar, KeepsTheStartsOfEnhancements)
{
    // B from 0 and again from 5, blank 15-19, D from 20 on.
    const std::string base = Runs({20, 'B', 5, 'B', 10, ' ', 5, 'D', 0});
    const struct {
        const char* name;
        std::string in;
        int curCol;
        int rightMargin;
        std::string expected;
    } cases[] = {
        {"before a start", base, 2, 79, Runs({19, 'B', 4, 'B', 10, ' ', 5, 'D', 0})},
        {"at a start", base, 5, 79, Runs({19, 'B', 5, 'B', 9, ' ', 5, 'D', 0})},
        {"one-column run removed", Runs({11, 'B', 5, 'B', 1, 'B', 5, 'D', 0}), 5, 79,
         Runs({10, 'B', 5, 'B', 5, 'D', 0})},
        {"run crossing the margin", base, 2, 9, Runs({20, 'B', 4, 'B', 11, ' ', 5, 'D', 0})},
        {"cursor at the margin", base, 9, 9, base},
    };
    for (const auto& c : cases) {
        DisplayMemory m(9);
        m.CurCol = c.curCol;
        m.RightMargin = c.rightMargin;
        EXPECT_EQ(Show(m.DelEnhChar(c.in, Neighbours::KeepStarts)), Show(c.expected)) << c.name;
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
