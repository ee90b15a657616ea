#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace kalvor {
namespace {

using test::RecordingHooks;
using test::Runs;
using test::Show;

// A terminal with recording hooks; the text writer is used as the terminal
// wires it.
// A fresh one per case is taken apart as [hooks, terminal, state, writer].
struct Rig {
    RecordingHooks hooks;
    Terminal term{hooks};
    TerminalState& st = term.State;
    HostTextWriter& writer = term.Writer;
};

class HostTextWriterTest : public ::testing::Test, protected Rig {
protected:
    DisplayMemory& mem() { return st.Mem; }
    const std::string& text(int ring) { return st.Mem.Row(ring).Text; }
    void write(std::string_view run) { writer.Write(run); }
};

// ---------------------------------------------------------------- placing text

TEST_F(HostTextWriterTest, CrLfStartsTheNextRowAtTheLeftMargin)
{
    write("AB\r\nCD");
    EXPECT_EQ(text(0), "AB");
    EXPECT_EQ(text(1), "CD");
    EXPECT_EQ(mem().AbsCurRow, 1);
    EXPECT_EQ(mem().CurRow, 1);
    EXPECT_EQ(mem().CurCol, 2);
    EXPECT_EQ(mem().LastRow, 1);
    EXPECT_TRUE(writer.PendingText().empty());
}

TEST_F(HostTextWriterTest, CrReturnsToTheLeftMarginOrToColumnZeroInFormatMode)
{
    mem().LeftMargin = 4;
    write("ABCDEFG\r\nCD");
    EXPECT_EQ(text(1), "    CD");

    st.FormatMode = true;
    write("\r");
    EXPECT_EQ(mem().CurCol, 0);
}

TEST_F(HostTextWriterTest, WritingBeyondTheTextPadsWithBlanks)
{
    mem().CurCol = 5;
    write("X");
    EXPECT_EQ(text(0), "     X");
    mem().CurCol = 2;
    write("ab");
    EXPECT_EQ(text(0), "  ab X");
    EXPECT_EQ(mem().CurCol, 4);
    EXPECT_EQ(mem().RepaintFromCol[0], 2);
}

TEST_F(HostTextWriterTest, LongTextWrapsAtTheRightMargin)
{
    const struct {
        const char* name;
        int length;
        bool marginWrap;
        std::size_t firstRow, secondRow;
        int curRow, curCol, lastRow;
    } cases[] = {
        {"85 characters", 85, false, 80, 5, 1, 5, 1},         {"exactly 80, strap clear", 80, false, 80, 0, 1, 0, 1},
        {"exactly 80, strap set", 80, true, 80, 0, 0, 79, 0}, {"81, strap set", 81, true, 80, 1, 1, 1, 1},
        {"160, strap clear", 160, false, 80, 80, 2, 0, 2},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.MarginWrap = c.marginWrap;
        std::string run;
        for (int i = 0; i < c.length; ++i)
            run.push_back(static_cast<char>('A' + i % 26));
        w.Write(run);
        EXPECT_EQ(s.Mem.Row(0).Text.size(), c.firstRow) << c.name;
        EXPECT_EQ(s.Mem.Row(1).Text.size(), c.secondRow) << c.name;
        EXPECT_EQ(s.Mem.CurRow, c.curRow) << c.name;
        EXPECT_EQ(s.Mem.CurCol, c.curCol) << c.name;
        EXPECT_EQ(s.Mem.LastRow, c.lastRow) << c.name;
        EXPECT_EQ(s.Mem.Row(0).Text + s.Mem.Row(1).Text + s.Mem.Row(2).Text, run) << c.name;
    }
}

TEST_F(HostTextWriterTest, MarginsLimitTheRowUnlessTheStrapIsSet)
{
    mem().LeftMargin = 10;
    mem().RightMargin = 19;
    mem().CurCol = 10;
    write("abcdefghijklmno");
    EXPECT_EQ(text(0), std::string(10, ' ') + "abcdefghij");
    EXPECT_EQ(text(1), std::string(10, ' ') + "klmno");
    EXPECT_EQ(mem().CurCol, 15);

    Rig r;
    auto& [h, t, s, w] = r;
    s.MarginWrap = true;
    s.Mem.LeftMargin = 10;
    s.Mem.RightMargin = 19;
    s.Mem.CurCol = 10;
    w.Write("abcdefghijklmno");
    EXPECT_EQ(s.Mem.Row(0).Text, std::string(10, ' ') + "abcdefghijklmno");
    EXPECT_EQ(s.Mem.CurCol, 25);
}

TEST_F(HostTextWriterTest, RightOfTheRightMarginTheScreenEdgeLimits)
{
    mem().RightMargin = 19;
    mem().CurCol = 70;
    write("0123456789XY");
    EXPECT_EQ(text(0), std::string(70, ' ') + "0123456789");
    EXPECT_EQ(text(1), "XY");
}

// ---------------------------------------------------------------- insert mode

TEST_F(HostTextWriterTest, InsertModeShiftsTheRow)
{
    const std::string row = "0123456789ABCDEF";
    const struct {
        const char* name;
        int curCol;
        int rightMargin;
        bool marginWrap;
        bool formatMode;
        std::string expected;
        int expectCol;
    } cases[] = {
        {"inside the margins", 2, 9, false, false, "01xy234567ABCDEF", 4},
        {"right of the right margin", 12, 9, false, false, "0123456789ABxyCDEF", 14},
        {"with the margin-wrap strap", 2, 9, true, false, "01xy23456789ABCDEF", 4},
        {"margin at the screen edge", 2, 79, false, false, "01xy23456789ABCDEF", 4},
        {"beyond the text inside the margins", 20, 29, false, false, "0123456789ABCDEF    xy", 22},
        {"format mode overwrites", 2, 9, false, true, "01xy456789ABCDEF", 4},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.InsertMode = true;
        s.FormatMode = c.formatMode;
        s.MarginWrap = c.marginWrap;
        s.Mem.RightMargin = c.rightMargin;
        s.Mem.Row(0).Text = row;
        s.Mem.CurCol = c.curCol;
        w.Write("xy");
        EXPECT_EQ(s.Mem.Row(0).Text, c.expected) << c.name;
        EXPECT_EQ(s.Mem.CurCol, c.expectCol) << c.name;
    }
}

TEST_F(HostTextWriterTest, InsertModeCutsTheRowAtTheScreenWidth)
{
    st.InsertMode = true;
    st.MarginWrap = true;
    mem().Row(0).Text = std::string(79, '.');
    write("abc");
    EXPECT_EQ(text(0), "abc" + std::string(77, '.'));
}

// ---------------------------------------------------------------- BS and HT

TEST_F(HostTextWriterTest, BackspaceStopsAtColumnZeroOrAtLineStartColInRemoteMode)
{
    const struct {
        const char* name;
        bool remote;
        int lineStart;
        int curCol;
        int expectCol;
    } cases[] = {
        {"column 0", false, 0, 0, 0},
        {"column 8", false, 0, 8, 7},
        {"local mode ignores LineStartCol", false, 5, 5, 4},
        {"remote, right of LineStartCol", true, 5, 8, 7},
        {"remote, one right of LineStartCol", true, 5, 6, 5},
        {"remote, on LineStartCol", true, 5, 5, 5},
        {"remote, left of LineStartCol", true, 5, 3, 5},
        {"remote, column 0 and default start", true, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.RemoteMode = c.remote;
        s.Mem.CursorRow().LineStartCol = c.lineStart;
        s.Mem.CurCol = c.curCol;
        w.Write("\b");
        EXPECT_EQ(s.Mem.CurCol, c.expectCol) << c.name;
    }
}

TEST_F(HostTextWriterTest, TabMovesToTheNextStopOrWraps)
{
    const struct {
        const char* name;
        int curCol;
        int leftMargin, rightMargin;
        int expectRow, expectCol;
    } cases[] = {
        {"from column 0", 0, 0, 79, 0, 8},
        {"from a stop", 8, 0, 79, 0, 16},
        {"from between stops", 13, 0, 79, 0, 16},
        {"no stop before the margin", 75, 0, 79, 1, 0},
        {"at the right margin", 79, 0, 79, 1, 0},
        {"next stop beyond a narrow margin", 10, 4, 12, 1, 4},
        {"beyond the right margin", 30, 0, 20, 1, 0},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.Mem.LeftMargin = c.leftMargin;
        s.Mem.RightMargin = c.rightMargin;
        s.Mem.CurCol = c.curCol;
        w.Write("\t");
        EXPECT_EQ(s.Mem.CurRow, c.expectRow) << c.name;
        EXPECT_EQ(s.Mem.CurCol, c.expectCol) << c.name;
    }
}

TEST_F(HostTextWriterTest, TabUsesTheTabStopTable)
{
    st.TabStops.fill(false);
    st.TabStops[5] = true;
    st.TabStops[30] = true;
    write("\tA\tB");
    EXPECT_EQ(text(0), "     A" + std::string(24, ' ') + "B");
}

// ---------------------------------------------------------------- SO and SI

TEST_F(HostTextWriterTest, WrittenCharactersRecordTheSetInForce)
{
    const struct {
        const char* name;
        bool lineDrawing;
        const char* run;
        std::string shift;
    } cases[] = {
        {"SO then SI", true,
         "AB\x0e"
         "CD\x0f"
         "EF",
         Runs({4, ' ', 2, 'O', 2, ' ', 0})},
        {"SO without SI", true,
         "AB\x0e"
         "CD",
         Runs({4, ' ', 2, 'O', 2, ' ', 0})},
        {"SO at column 0", true,
         "\x0e"
         "ABC\x0f"
         "D",
         Runs({3, 'O', 3, ' ', 0})},
        {"SO with the line-drawing selection off", false,
         "AB\x0e"
         "CD",
         ""},
        {"SO and SI with nothing between", true,
         "AB\x0e\x0f"
         "CD",
         ""},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.LineDrawingSelection = c.lineDrawing;
        w.Write(c.run);
        EXPECT_EQ(Show(s.Mem.Row(0).Shift), Show(c.shift)) << c.name;
    }
}

// ---------------------------------------------------------------- DC1

TEST_F(HostTextWriterTest, Dc1RecordsWhereTheHostStoppedAndCallsTheHook)
{
    const struct {
        const char* name;
        int rows;      // line feeds before the prompt
        bool cursorUp; // move the cursor off LastRow
        int lineStart; // LineStartCol before the DC1
        int backUp;    // BS characters after the prompt
        int expectLineStart;
    } cases[] = {
        {"after a prompt on LastRow", 0, false, 0, 0, 8},
        {"on a later row", 3, false, 0, 0, 8},
        {"cursor inside the text", 0, false, 0, 2, 0},
        {"LineStartCol already set", 0, false, 4, 0, 4},
        {"not on LastRow", 3, true, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        for (int i = 0; i < c.rows; ++i)
            w.Write("\n");
        if (c.cursorUp) {
            s.Mem.CurRow -= 1;
            s.Mem.AbsCurRow -= 1;
        }
        s.Mem.CursorRow().LineStartCol = c.lineStart;
        w.Write("Prompt> ");
        w.Write(std::string(static_cast<std::size_t>(c.backUp), '\b') + "\x11");
        EXPECT_EQ(s.Mem.CursorRow().LineStartCol, c.expectLineStart) << c.name;
        EXPECT_EQ(h.Dc1s, 1) << c.name;
    }
}

TEST_F(HostTextWriterTest, Dc1IsNotShownAndTextAroundItIsWritten)
{
    write("AB\x11"
          "CD");
    EXPECT_EQ(text(0), "ABCD");
    EXPECT_EQ(hooks.Dc1s, 1);
}

// A hook that answers DC1 with more host text, as local echo does.
class EchoingHooks : public RecordingHooks {
public:
    HostTextWriter* Writer = nullptr;
    void HostDc1() override
    {
        RecordingHooks::HostDc1();
        Writer->Write("<echo>");
    }
};

TEST(HostTextWriterReentry, TextAddedByAHookIsWrittenAfterTheRun)
{
    EchoingHooks h;
    Terminal t(h);
    h.Writer = &t.Writer;
    t.Writer.Write("AB\x11"
                   "CD");
    EXPECT_EQ(t.State.Mem.Row(0).Text, "ABCD<echo>");
    EXPECT_TRUE(t.Writer.PendingText().empty());
}

// ---------------------------------------------------------------- filtering

TEST_F(HostTextWriterTest, ControlCharactersWithoutEffectAreRemoved)
{
    for (int c = 0; c < 32; ++c) {
        if (c == 8 || c == 9 || c == 10 || c == 13 || c == 14 || c == 15 || c == 17)
            continue; // carried out at the cursor
        Rig r;
        auto& [h, t, s, w] = r;
        std::string run = "X";
        run.push_back(static_cast<char>(c));
        run += "Y";
        w.Write(run);
        EXPECT_EQ(s.Mem.Row(0).Text, "XY") << "code " << c;
        EXPECT_EQ(s.Mem.LastRow, 0) << "code " << c;
        EXPECT_EQ(h.Dc1s, 0) << "code " << c;
        EXPECT_TRUE(h.Recorded.empty()) << "code " << c;
    }
}

TEST_F(HostTextWriterTest, CharactersFrom127UpAreShown)
{
    st.HostRoman8 = false;
    write("\x7f\x80\xff");
    EXPECT_EQ(text(0), "\x7f\x80\xff");
}

TEST_F(HostTextWriterTest, BellSoundsOncePerBelOnlyWhenOn)
{
    write("A\aB\a\a");
    EXPECT_EQ(hooks.Bells, 3);
    st.BellOn = false;
    write("C\a");
    EXPECT_EQ(hooks.Bells, 3);
    EXPECT_EQ(text(0), "ABC");
}

TEST_F(HostTextWriterTest, HostTextIsTranslatedFromRoman8)
{
    write("a\xa1\xfc");
    EXPECT_EQ(text(0), "a\xc0\x95");
    st.HostRoman8 = false;
    write("\xa1");
    EXPECT_EQ(text(0), "a\xc0\x95\xa1");
}

// ---------------------------------------------------------------- record mode

TEST_F(HostTextWriterTest, RecordModeShowsControlCharactersAsMnemonics)
{
    using namespace std::string_literals;
    const struct {
        std::string run;
        std::string row0;
    } cases[] = {
        {"A\x0c"
         "B"s,
         "A<ff>B"},
        {"\x00\x01\x07"s, "<null><soh><bell>"},
        {"A\bB\tC"s, "A<bs>B<ht>C"},
        {"\x0b\x0e\x0f\x10"s, "<vt><so><si><dle>"},
        {"\x12\x13\x1b&dB"s, "<dc2><dc3><esc>&dB"},
        {"\x14\x15\x16\x17\x18\x19\x1a"s, "<dc4><nak><syn><etb><can><em><sub>"},
        {"\x1c\x1d\x1e\x1f"s, "<fs><gs><rs><us>"},
        {"\x02\x03\x04\x05\x06"s, "<stx><etx><eot><enq><ack>"},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.RecordMode = 1;
        w.Write(c.run);
        EXPECT_EQ(s.Mem.Row(0).Text, c.row0) << c.row0;
        EXPECT_EQ(h.Recorded, c.row0) << c.row0;
        EXPECT_EQ(h.Bells, 0) << c.row0;
        EXPECT_EQ(s.Mem.CurCol, static_cast<int>(c.row0.size())) << c.row0;
        EXPECT_TRUE(s.Mem.Row(0).Shift.empty()) << c.row0;
    }
}

TEST_F(HostTextWriterTest, RecordModeKeepsCrLfAndDc1)
{
    st.RecordMode = 2;
    write("AB\r\nC\x11"
          "D");
    EXPECT_EQ(text(0), "AB");
    EXPECT_EQ(text(1), "CD");
    EXPECT_EQ(hooks.Dc1s, 1);
    EXPECT_EQ(hooks.Recorded, "AB\r\nC\x11"
                              "D");
}

// ---------------------------------------------------------------- display functions

TEST_F(HostTextWriterTest, DisplayFunctionsShowEscapeSequencesUntilEscZ)
{
    st.DisplayFunctions = true;
    write("\x1b&dB");
    EXPECT_EQ(text(0), "\x1b&dB");
    EXPECT_TRUE(st.DisplayFunctions);

    write("x\x1bZ\a");
    EXPECT_EQ(text(0), "\x1b&dBx\x1bZ");
    EXPECT_FALSE(st.DisplayFunctions);
    EXPECT_EQ(hooks.Bells, 1) << "text after ESC Z is interpreted normally";
}

TEST_F(HostTextWriterTest, DisplayFunctionsShowControlsAndKeepTheHandshake)
{
    st.DisplayFunctions = true;
    write("A\x12"
          "B\x11"
          "C\a\x0e\rD");
    EXPECT_EQ(text(0), "AB\x11"
                       "C\a\x0e\r");
    EXPECT_EQ(text(1), "D");
    EXPECT_EQ(hooks.Dc1s, 1);
    EXPECT_EQ(hooks.Bells, 0);
    EXPECT_TRUE(mem().Row(0).Shift.empty());
    EXPECT_TRUE(st.DisplayFunctions);
}

TEST_F(HostTextWriterTest, DisplayFunctionsEndAtEscZAfterADroppedDc2)
{
    const char* runs[] = {
        "A\x12\x1bZ\a",
        "\x12\x1bZ\a",
        "\x12\x12\x1bZ\a",
        "A\x12"
        "B\x12"
        "C\x12\x1bZ\a",
    };
    for (std::size_t i = 0; i < std::size(runs); ++i) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.DisplayFunctions = true;
        w.Write(runs[i]);
        EXPECT_FALSE(s.DisplayFunctions) << "run " << i;
        EXPECT_EQ(h.Bells, 1) << "run " << i;
    }
}

TEST_F(HostTextWriterTest, DisplayFunctionsDoNotEndAtALoneZ)
{
    st.DisplayFunctions = true;
    write("\x1b\x12?Z");
    write("Z");
    write("\x1b\x12Z"); // not adjacent: the receive pass does not cut here either
    EXPECT_TRUE(st.DisplayFunctions);
    EXPECT_EQ(text(0), "\x1b?ZZ\x1bZ");
}

// ---------------------------------------------------------------- routing and logs

TEST_F(HostTextWriterTest, OutputRoutingDecidesBetweenDisplayAndLog)
{
    const struct {
        int routing;
        const char* row0;
        const char* logged;
    } cases[] = {
        {1, "AB", ""}, {2, "", "A\aB"}, {4, "", "A\aB"}, {3, "AB", "A\aB"}, {0, "", ""},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.OutputRouting = c.routing;
        w.Write("A\aB");
        EXPECT_EQ(s.Mem.Row(0).Text, c.row0) << "routing " << c.routing;
        EXPECT_EQ(h.Logged, c.logged) << "routing " << c.routing;
        EXPECT_TRUE(w.PendingText().empty()) << "routing " << c.routing;
    }
}

TEST_F(HostTextWriterTest, EscapeLogGetsMarksForSoSiCrAndHt)
{
    st.EscapeLogging = true;
    write("A\x0e"
          "B\x0f"
          "C\r\n\tD\b");
    EXPECT_EQ(hooks.EscapeLogged, "\xee\xef\xed\xe9");

    Rig r;
    auto& [h, t, s, w] = r;
    w.Write("A\x0e"
            "B\x0f"
            "C\r\n\t");
    EXPECT_TRUE(h.EscapeLogged.empty());
}

// ---------------------------------------------------------------- enhancements

// ESC & d records through ModCntlBuf, except that "@" at column 0 of a row
// whose four strings are all empty stores nothing.
TEST_F(HostTextWriterTest, EnhancementAtColumnZeroOfAnEmptyRow)
{
    const struct {
        const char* name;
        const char* before; // host text written first (then CR)
        const char* seq;
        std::string cntl;
    } cases[] = {
        {"@ on an empty row", "", "\x1b&d@", ""},
        {"letter on an empty row", "", "\x1b&dB", Runs({0, 'B', 0})},
        {"@ on a row with text", "AB", "\x1b&d@", Runs({0, '@', 0})},
        {"@ on a row with a ShiftBuf",
         "\x0e"
         "A",
         "\x1b&d@", Runs({0, '@', 0})},
    };
    for (const auto& c : cases) {
        Rig r;
        r.writer.Write(c.before);
        r.writer.Write("\r");
        r.term.Escapes.Dispatch(c.seq);
        EXPECT_EQ(Show(r.st.Mem.Row(0).Cntl), Show(c.cntl)) << c.name;
    }
}

// ---------------------------------------------------------------- pending row

TEST_F(HostTextWriterTest, APendingCursorRowIsAppliedBeforeWriting)
{
    mem().CurRow = 4;
    mem().RowBeyondEnd = mem().SetNewCurRow();
    write("X");
    EXPECT_EQ(mem().AbsCurRow, 4);
    EXPECT_EQ(mem().LastRow, 4);
    EXPECT_EQ(text(4), "X");
    EXPECT_EQ(mem().PendingAbsRow, -1);
}

} // namespace
} // namespace kalvor
