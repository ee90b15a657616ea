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

TEST(ResetHardTest, KeepsTheExtendCharacterTable)
{
    Rig rig;
    rig.st.ExtendChar['e'] = 0xe9;
    ResetHard(rig.term);
    EXPECT_EQ(rig.st.ExtendChar['e'], 0xe9);
}

} // namespace
} // namespace kalvor
