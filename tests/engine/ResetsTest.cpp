// Soft and hard reset of the terminal engine.
#include "engine/Resets.h"
#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvor {
namespace {

class ResetHooks : public test::RecordingHooks {
public:
    int StateChanges = 0;
    int CapsLockCalls = 0;
    std::vector<bool> LoggingCalls;

    void StateChanged() override { ++StateChanges; }
    void CapsLockChanged() override { ++CapsLockCalls; }
    void EscapeLogging(bool on) override { LoggingCalls.push_back(on); }
};

struct Rig {
    ResetHooks hooks;
    Terminal term{hooks};
    TerminalState& st = term.State;
    DisplayMemory& mem = term.State.Mem;

    void Host(std::string_view text) { term.Writer.Write(text); }
    void Esc(std::string_view seq) { term.Escapes.Dispatch(seq); }
};

// Moves every switch away from its initial value.
void ChangeEverySwitch(TerminalState& st)
{
    st.MarginWrap = true;
    st.InsertMode = true;
    st.FormatMode = true;
    st.DisplayFunctions = true;
    st.RecordMode = 2;
    st.BellOn = false;
    st.LineDrawingSelection = false;
    st.RemoteMode = true;
    st.OutputRouting = 1 | 4;
    st.EscapeLogging = true;
    st.HostRoman8 = false;
    st.AutoLineFeed = true;
    st.Strap.A = st.Strap.B = st.Strap.G = st.Strap.H = true;
    st.Strap.LineStrapping = true;
    st.ModeBits = kLineModify | kModifyAll | kBlockMode;
    st.CapsLock = true;
    st.EightBitData = false;
    st.PreferenceC = st.PreferenceL = true;
    st.InputOption = true;
    st.StatusFlag = true;
    st.KeyboardLocked = true;
    st.ShadowRowMode = true;
    st.ShadowRow = 7;
    st.MemLock.On = true;
    st.MemLock.LastLockedRow = 3;
    st.CursorForm = 2;
    st.CursorHidden = true;
    st.SavedCursorForm = 3;
    st.ColorScheme = 5;
    st.InverseScreen = true;
    st.Foreground = 1;
    st.Background = 2;
    st.HalfBright = 3;
    st.HalfBright2 = 4;
    st.PrintFontSize = 20;
    st.PrintCopies = 3;
    st.PrintPageHeader = false;
    st.PrintFontSizeSet = true;
    st.TabStops.fill(false);
    st.TabStops[3] = true;
    st.KeyRemap[37] = "left";
    st.KeyRemap[256] = "last";
}

// The switches as text, one per line, so that a failure names the switch.
std::string Describe(const TerminalSettings& s)
{
    std::string out;
    auto add = [&](const char* name, long value) { out += std::string(name) + "=" + std::to_string(value) + "\n"; };
    add("MarginWrap", s.MarginWrap);
    add("InsertMode", s.InsertMode);
    add("FormatMode", s.FormatMode);
    add("DisplayFunctions", s.DisplayFunctions);
    add("RecordMode", s.RecordMode);
    add("BellOn", s.BellOn);
    add("LineDrawingSelection", s.LineDrawingSelection);
    add("RemoteMode", s.RemoteMode);
    add("OutputRouting", s.OutputRouting);
    add("EscapeLogging", s.EscapeLogging);
    add("HostRoman8", s.HostRoman8);
    add("AutoLineFeed", s.AutoLineFeed);
    add("StrapA", s.Strap.A);
    add("StrapB", s.Strap.B);
    add("StrapG", s.Strap.G);
    add("StrapH", s.Strap.H);
    add("LineStrapping", s.Strap.LineStrapping);
    add("ModeBits", s.ModeBits);
    add("CapsLock", s.CapsLock);
    add("EightBitData", s.EightBitData);
    add("PreferenceC", s.PreferenceC);
    add("PreferenceL", s.PreferenceL);
    add("InputOption", s.InputOption);
    add("StatusFlag", s.StatusFlag);
    add("KeyboardLocked", s.KeyboardLocked);
    add("ShadowRowMode", s.ShadowRowMode);
    add("ShadowRow", s.ShadowRow);
    add("MemLockOn", s.MemLock.On);
    add("LastLockedRow", s.MemLock.LastLockedRow);
    add("CursorForm", s.CursorForm);
    add("CursorHidden", s.CursorHidden);
    add("SavedCursorForm", s.SavedCursorForm);
    add("ColorScheme", s.ColorScheme);
    add("InverseScreen", s.InverseScreen);
    add("Foreground", static_cast<long>(s.Foreground));
    add("Background", static_cast<long>(s.Background));
    add("HalfBright", static_cast<long>(s.HalfBright));
    add("HalfBright2", static_cast<long>(s.HalfBright2));
    add("PrintFontSize", s.PrintFontSize);
    add("PrintCopies", s.PrintCopies);
    add("PrintPageHeader", s.PrintPageHeader);
    add("PrintFontSizeSet", s.PrintFontSizeSet);
    std::string tabs;
    for (std::size_t c = 0; c < s.TabStops.size(); ++c)
        if (s.TabStops[c])
            tabs += std::to_string(c) + ",";
    out += "TabStops=" + tabs + "\n";
    for (std::size_t k = 0; k < s.KeyRemap.size(); ++k)
        if (!s.KeyRemap[k].empty())
            out += "KeyRemap[" + std::to_string(k) + "]=" + s.KeyRemap[k] + "\n";
    return out;
}

// ----------------------------------------------------------------- soft reset

TEST(ResetSoftTest, KeepsScreenAndCursorAndEndsTheTransientModes)
{
    Rig rig;
    rig.Host("line one\r\nline two");
    rig.Esc("\x1b&a3c0Y");
    rig.st.InsertMode = true;
    rig.st.KeyboardLocked = true;
    rig.st.ShadowRowMode = true;
    rig.st.ShadowRow = 9;
    rig.st.DisplayFunctions = true;
    rig.st.CursorHidden = true;
    rig.st.CursorForm = 1;
    rig.st.SavedCursorForm = 2;

    ResetSoft(rig.term);

    EXPECT_EQ(rig.mem.Row(0).Text, "line one");
    EXPECT_EQ(rig.mem.Row(1).Text, "line two");
    EXPECT_EQ(rig.mem.CurRow, 0);
    EXPECT_EQ(rig.mem.CurCol, 3);
    EXPECT_EQ(rig.mem.LastRow, 1);
    EXPECT_FALSE(rig.st.InsertMode);
    EXPECT_FALSE(rig.st.KeyboardLocked);
    EXPECT_FALSE(rig.st.ShadowRowMode);
    EXPECT_FALSE(rig.st.DisplayFunctions);
    EXPECT_FALSE(rig.st.CursorHidden);
    EXPECT_EQ(rig.st.CursorForm, 2);
    EXPECT_GE(rig.hooks.StateChanges, 1);

    // Text written afterwards overwrites again (insert mode is off).
    rig.Host("XY");
    EXPECT_EQ(rig.mem.Row(0).Text, "linXYone");
}

TEST(ResetSoftTest, AVisibleCursorKeepsItsForm)
{
    Rig rig;
    rig.st.CursorForm = 2;
    rig.st.SavedCursorForm = 1;
    ResetSoft(rig.term);
    EXPECT_EQ(rig.st.CursorForm, 2);
}

TEST(ResetSoftTest, RecordModeEndsWithItsFileOutputs)
{
    struct Row {
        int RecordMode;
        int Routing;
        int RoutingAfter;
    };
    const Row rows[] = {
        {2, 1 | 4, 1},                    // display and record file: the file copy ends
        {1, 2, 1},                        // printer only: back to the display
        {2, 1, 1},     {0, 1 | 2, 1 | 2}, // no record mode: the routing stays
        {0, 4, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.RecordMode) + " " + std::to_string(r.Routing));
        Rig rig;
        rig.st.RecordMode = r.RecordMode;
        rig.st.OutputRouting = r.Routing;
        ResetSoft(rig.term);
        EXPECT_EQ(rig.st.RecordMode, 0);
        EXPECT_EQ(rig.st.OutputRouting, r.RoutingAfter);
    }
}

TEST(ResetSoftTest, ConfigurationTabsMarginsAndRemappingsStay)
{
    Rig rig;
    ChangeEverySwitch(rig.st);
    rig.st.RecordMode = 0;
    rig.mem.LeftMargin = 4;
    rig.mem.RightMargin = 60;
    TerminalSettings expected = rig.st;
    expected.CursorHidden = false;
    expected.CursorForm = expected.SavedCursorForm;
    expected.KeyboardLocked = false;
    expected.InsertMode = false;
    expected.ShadowRowMode = false;
    expected.DisplayFunctions = false;

    ResetSoft(rig.term);

    EXPECT_EQ(Describe(rig.st), Describe(expected));
    EXPECT_EQ(rig.mem.LeftMargin, 4);
    EXPECT_EQ(rig.mem.RightMargin, 60);
    EXPECT_TRUE(rig.hooks.LoggingCalls.empty());
}

// ----------------------------------------------------------------- hard reset

TEST(ResetHardTest, EverySwitchReturnsToItsInitialValue)
{
    Rig rig;
    const std::string initial = Describe(TerminalSettings{});
    ChangeEverySwitch(rig.st);
    ASSERT_NE(Describe(rig.st), initial);

    ResetHard(rig.term);

    EXPECT_EQ(Describe(rig.st), initial);
    // The log that was open is closed, caps lock is released.
    EXPECT_EQ(rig.hooks.LoggingCalls, std::vector<bool>{false});
    EXPECT_EQ(rig.hooks.CapsLockCalls, 1);
    EXPECT_GE(rig.hooks.StateChanges, 1);
}

TEST(ResetHardTest, NoLogNoCapsLockNoCalls)
{
    Rig rig;
    ResetHard(rig.term);
    EXPECT_TRUE(rig.hooks.LoggingCalls.empty());
    EXPECT_EQ(rig.hooks.CapsLockCalls, 0);
}

TEST(ResetHardTest, TabStopsEveryEighthColumnAgain)
{
    Rig rig;
    rig.Esc("\x1b"
            "3");
    rig.Esc("\x1b&a5C");
    rig.Esc("\x1b"
            "1");
    ResetHard(rig.term);
    for (int c = 0; c < DisplayMemory::kMaxCols; ++c)
        EXPECT_EQ(rig.st.TabStops[static_cast<std::size_t>(c)], c > 0 && c % 8 == 0) << c;
}

TEST(ResetHardTest, KeepsTheExtendCharacterTable)
{
    Rig rig;
    rig.st.ExtendChar['e'] = 0xe9;
    ResetHard(rig.term);
    EXPECT_EQ(rig.st.ExtendChar['e'], 0xe9);
}

void ExpectEmptyMemory(const DisplayMemory& mem)
{
    int dirty = 0;
    for (int r = 0; r <= mem.MaxRow; ++r)
        dirty += mem.Row(r).AllEmpty() ? 0 : 1;
    EXPECT_EQ(dirty, 0);
    EXPECT_EQ(mem.FirstRow, 0);
    EXPECT_EQ(mem.LastRow, 0);
    EXPECT_EQ(mem.TopRow, 0);
    EXPECT_EQ(mem.AbsCurRow, 0);
    EXPECT_EQ(mem.CurRow, 0);
    EXPECT_EQ(mem.CurCol, 0);
    EXPECT_EQ(mem.PendingAbsRow, -1);
    EXPECT_FALSE(mem.RowBeyondEnd);
    EXPECT_EQ(mem.LeftMargin, 0);
    EXPECT_EQ(mem.RightMargin, 79);
    EXPECT_EQ(mem.ColsInTerm, 80);
    EXPECT_EQ(mem.RowsInTerm, 24);
    EXPECT_FALSE(mem.IsWrapped());
}

TEST(ResetHardTest, EmptiesDisplayMemory)
{
    Rig rig;
    rig.mem.SetWidth(132);
    rig.mem.RowsInTerm = 30;
    rig.Esc("\x1b&dB");
    for (int i = 0; i < 40; ++i)
        rig.Host("row " + std::to_string(i) + "\r\n");
    rig.Esc("\x1b&a10c5Y");
    rig.Esc("\x1b"
            "4");
    rig.Esc("\x1b[");
    rig.Host("\x0eline");
    ASSERT_FALSE(rig.mem.Row(rig.mem.AbsCurRow).Form.empty());

    ResetHard(rig.term);

    ExpectEmptyMemory(rig.mem);

    // The terminal writes from the top again.
    rig.Host("again");
    EXPECT_EQ(rig.mem.Row(0).Text, "again");
    EXPECT_TRUE(rig.mem.Row(0).Cntl.empty());
}

TEST(ResetHardTest, EmptiesAWrappedRing)
{
    Rig rig;
    const int rows = rig.mem.MaxRow + 1;
    std::string text;
    for (int i = 0; i < rows + 10; ++i)
        text += "r" + std::to_string(i) + "\r\n";
    rig.Host(text);
    ASSERT_TRUE(rig.mem.IsWrapped());

    ResetHard(rig.term);

    ExpectEmptyMemory(rig.mem);
    rig.Host("a\r\nb");
    EXPECT_EQ(rig.mem.Row(0).Text, "a");
    EXPECT_EQ(rig.mem.Row(1).Text, "b");
    EXPECT_EQ(rig.mem.LastRow, 1);
}

} // namespace
} // namespace kalvor
