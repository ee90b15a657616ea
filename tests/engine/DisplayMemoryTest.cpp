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

// ---------------------------------------------------------------- screen size

TEST(DisplayMemorySetRelCurRow, ShrinkingTheScreenKeepsTheCursorRow)
{
    const struct {
        const char* name;
        int oldRows, newRows, curRow;
        int expectCurRow, expectTopAge;
    } cases[] = {
        {"30 to 24, cursor on row 27", 30, 24, 27, 21, 6},
        {"30 to 24, cursor on row 10", 30, 24, 10, 10, 0},
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

// ---------------------------------------------------------------- run strings

// ModCntlBuf and DelEnhChar: the cases of their run strings that
// enhancements.case and editing.case do not make through ESC & d and ESC P.
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
        // The character-set runs reach beyond the cursor.
        {"E equal to the cursor", "", shift20, 'B', 20, Runs({20, ' ', 20, 'B', 0})},
        {"E before the cursor", "", shift20, 'B', 30, Runs({30, ' ', 30, 'B', 0})},
        {"three-character ShiftBuf has no extent", "", Runs({0, 'O', 0}), 'B', 8, Runs({8, ' ', 8, 'B', 0})},
        // A lone run of no enhancement is forgotten.
        {"three-character CntlBuf of @ with E", Runs({0, '@', 0}), shift20, 'D', 10,
         Runs({20, ' ', 10, 'D', 10, '@', 0})},
        // Existing runs, C == header.
        {"C at the header, E beyond", Runs({10, ' ', 10, 'B', 0}), shift20, 'D', 10,
         Runs({20, ' ', 10, 'D', 10, '@', 0})},
        // C > header.
        {"C beyond the header", Runs({10, ' ', 10, 'B', 0}), "", 'D', 25, Runs({25, ' ', 10, 'B', 15, 'D', 0})},
        // C < header: the run is split, the new enhancement reaches to its end.
        {"split equal to the next run keeps its own start", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'D', 12,
         Runs({25, ' ', 10, 'B', 2, 'D', 13, 'D', 0})},
        {"equal to the run before, at its start", Runs({25, ' ', 10, 'B', 15, 'D', 0}), "", 'B', 25,
         Runs({25, ' ', 10, 'B', 15, 'B', 0})},
        {"equal to the open run, beyond the header", Runs({10, ' ', 10, 'B', 0}), "", 'B', 15,
         Runs({15, ' ', 10, 'B', 5, 'B', 0})},
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
        {"at the header nothing changes", base, 20, 79, base},
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
