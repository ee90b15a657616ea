// Format mode: the field routines on one row's layout, and the cursor moves
// and edits of FormatMode on display memory.
#include "BlocksFixture.h"

#include "keyboard/FormatMode.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kalvor::test {
namespace {

// A row's layout: "Name " protected 0..4, unprotected 5..14, protected
// 15..20, transmit-only 21..24, protected from 25 to the end.
const std::string kForm = Runs({25, ' ', 5, '[', 10, ']', 6, '{', 4, ']', 0});

class FieldRoutinesTest : public ::testing::Test {
protected:
    TerminalState st;
    DisplayMemory& m = st.Mem;
    FieldRoutinesTest() { m.Row(0).Form = kForm; }
};

TEST_F(FieldRoutinesTest, FieldWidth)
{
    struct Case {
        int Col;
        int Width;
    };
    const Case cases[] = {{5, 10}, {14, 1}, {4, -1}, {21, -1}, {-1, -1}, {80, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("column " + std::to_string(c.Col));
        EXPECT_EQ(FormGetFieldWidth(m, c.Col, 0), c.Width);
    }
    // A row without a layout has no fields.
    EXPECT_EQ(FormGetFieldWidth(m, 5, 1), -1);
}

TEST_F(FieldRoutinesTest, OneFieldOverTheWholeRow)
{
    m.Row(1).Form = Runs({0, '[', 0});
    EXPECT_EQ(FormGetFieldWidth(m, 10, 1), 70);
    EXPECT_EQ(FormGetFieldWidth(m, 0, 1), 80);
    EXPECT_EQ(FormGetFieldWidth(m, 79, 1), 1);
    EXPECT_EQ(FormGetFieldWidth(m, 80, 1), -1);
    m.SetWidth(132);
    EXPECT_EQ(FormGetFieldWidth(m, 10, 1), 122);
}

TEST_F(FieldRoutinesTest, RunsAreClippedToTheScreenWidth)
{
    // A layout written on a wider screen: the field reaches past column 79.
    m.Row(1).Form = Runs({100, ' ', 70, '[', 30, ']', 0});
    EXPECT_EQ(FormGetFieldWidth(m, 75, 1), 5);
    EXPECT_EQ(FormFindNextField(m, 0, 1), (FormField{70, 80, '['}));
}

using Finder = std::optional<FormField> (*)(const DisplayMemory&, int, int);

struct FindCase {
    const char* Name;
    Finder Find;
    int Col;
    std::optional<FormField> Expected;
};

TEST_F(FieldRoutinesTest, FieldSearches)
{
    const FormField name{5, 15, '['};
    const FormField note{21, 25, '{'};
    const FindCase cases[] = {
        // The unprotected or transmit-only field at or after the column; from
        // inside a field its rest.
        {"AField in a protected area", FormFindAField, 0, name},
        {"AField inside", FormFindAField, 8, FormField{8, 15, '['}},
        {"AField after the first field", FormFindAField, 15, note},
        {"AField inside the transmit-only field", FormFindAField, 22, FormField{22, 25, '{'}},
        {"AField after the last", FormFindAField, 25, std::nullopt},
        // The last unprotected field starting before the column.
        {"PrevField inside", FormFindPrevField, 8, name},
        {"PrevField at its start", FormFindPrevField, 5, std::nullopt},
        {"PrevField at the end", FormFindPrevField, 80, name},
        // The first unprotected field starting at or after the column.
        {"NextField at its start", FormFindNextField, 5, name},
        {"NextField inside", FormFindNextField, 6, std::nullopt},
        // The unprotected field under the column, whole.
        {"CurrentField inside", FormGetCurrentField, 14, name},
        {"CurrentField protected", FormGetCurrentField, 15, std::nullopt},
        {"CurrentField transmit-only", FormGetCurrentField, 22, std::nullopt},
        // Transmitted fields under or after the column, whole.
        {"CurXmitField inside", FormFindCurXmitField, 9, name},
        {"CurXmitField after", FormFindCurXmitField, 16, note},
        {"CurXmitField none", FormFindCurXmitField, 25, std::nullopt},
        {"NextXmitField from inside", FormFindNextXmitField, 6, note},
        {"NextXmitField at a start", FormFindNextXmitField, 21, note},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Find(m, c.Col, 0), c.Expected);
    }
    // No layout, no fields.
    EXPECT_EQ(FormFindAField(m, 0, 1), std::nullopt);
    EXPECT_EQ(FormFindCurXmitField(m, 0, 1), std::nullopt);
}

// ------------------------------------------------------------- FormatMode

class FormatModeTest : public BlocksFixture {
protected:
    FormatModeTest()
    {
        // Row 0: "Name " [Ann       ] " Note " {ok  } ; row 1: "Age " [42 ].
        Host("Name \x1b[Ann       \x1b] Note \x1b{ok  \x1b]\r\nAge \x1b[42 \x1b]\x1bW");
    }
};

TEST_F(FormatModeTest, ClearDisplayReachesOnlyTheScreen)
{
    mem.RowsInTerm = 1;
    fields.FormClearDisplay();
    EXPECT_EQ(Row(0), "Name " + std::string(10, ' ') + " Note ok  ");
    EXPECT_EQ(mem.Row(1).Text, "Age 42 ");
}

TEST_F(FormatModeTest, CopyTakesTheFieldsOfTheScreen)
{
    EXPECT_EQ(Visible(fields.FormCopy()), Visible("Ann\tok\r\n42"));
}

TEST_F(FormatModeTest, FormatModeOnResetsTheBlockStart)
{
    Host("\x1bX");
    blocks.BlockStartRow = 0;
    blocks.BlockStartCol = 3;
    Host("\x1bW");
    EXPECT_EQ(blocks.BlockStartRow, -1);
    EXPECT_EQ(blocks.BlockStartCol, -1);
}

TEST_F(FormatModeTest, TabStaysOnTheScreenWhileMemoryLockIsOn)
{
    // A two-row screen showing memory rows 2 and 3, row 2 locked; row 3 has
    // one field. Without the lock Tab would reach row 0's field above.
    mem.RowsInTerm = 2;
    Host("\x1bX\r\n\r\nX \x1b[  \x1b]\x1bW\x1b&a1Y\x1bl\x1b&a1y2C");
    ASSERT_TRUE(st.MemLock.On);
    ASSERT_EQ(mem.TopRow, 2);
    EXPECT_TRUE(fields.TabForward());
    EXPECT_EQ(mem.AbsCurRow, 3);
    EXPECT_EQ(mem.CurCol, 2);
    EXPECT_EQ(mem.TopRow, 2);

    Host("\x1bm");
    EXPECT_TRUE(fields.TabForward());
    EXPECT_EQ(mem.AbsCurRow, 0);
    EXPECT_EQ(mem.CurCol, 5);
    EXPECT_EQ(mem.TopRow, 0);
}

TEST_F(FormatModeTest, InsertAtTheEndOfAShortRowStaysInsideTheField)
{
    Host("\x1b&a1y4C\x1bQ");
    EXPECT_TRUE(fields.WriteInFields("12345"));
    // "123" fills the field, pushing "42 " out of it; the rest is inserted
    // into the next field (row 0's, after the wrap), pushing "Ann" right.
    EXPECT_EQ(Row(1), "Age 123");
    EXPECT_EQ(Row(0), "Name 45Ann" + std::string(6, ' ') + "Note ok  ");
    EXPECT_EQ(mem.AbsCurRow, 0);
    EXPECT_EQ(mem.CurCol, 7);
}

} // namespace
} // namespace kalvor::test
