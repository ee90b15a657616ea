// Terminal configuration escapes: ESC & k switches and keyboard remapping,
// ESC & s straps, ESC & x, and the program folder.
#include "base/ProgramFolder.h"
#include "engine/ConfigEscapes.h"
#include "engine/Terminal.h"

#include "EngineTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace kalvor {
namespace {

class ConfigHooks : public test::RecordingHooks {
public:
    int StateChanges = 0;
    int EightBitCalls = 0;
    std::vector<bool> LoggingCalls;

    void StateChanged() override { ++StateChanges; }
    void EightBitDataChanged() override { ++EightBitCalls; }
    void EscapeLogging(bool on) override { LoggingCalls.push_back(on); }
};

// Every configuration switch by name, so that a test can check that one
// sequence changed exactly the switches it names.
using Switches = std::map<std::string, int>;

Switches Snapshot(const TerminalState& st)
{
    return {
        {"AutoLineFeed", st.AutoLineFeed},
        {"ModeBits", st.ModeBits},
        {"PreferenceC", st.PreferenceC},
        {"PreferenceL", st.PreferenceL},
        {"BellOn", st.BellOn},
        {"EightBitData", st.EightBitData},
        {"CapsLock", st.CapsLock},
        {"RemoteMode", st.RemoteMode},
        {"StrapA", st.Strap.A},
        {"StrapB", st.Strap.B},
        {"MarginWrap", st.MarginWrap},
        {"LineStrapping", st.Strap.LineStrapping},
        {"StrapG", st.Strap.G},
        {"StrapH", st.Strap.H},
        {"EscapeLogging", st.EscapeLogging},
        {"InputOption", st.InputOption},
    };
}

struct Rig {
    ConfigHooks hooks;
    Terminal term{hooks};
    TerminalState& st = term.State;

    EscapeResult Send(std::string_view seq) { return term.Escapes.Dispatch(seq); }
};

std::string Describe(const EscapeResult& r)
{
    switch (r.Status) {
    case EscapeStatus::Done: return "Done";
    case EscapeStatus::Invalid: return "Invalid";
    case EscapeStatus::NeedMore: return "NeedMore " + std::to_string(r.MoreChars);
    }
    return "?";
}

// ESC & k, ESC & s and ESC & x after an optional first sequence: the status
// and the switches that changed. An invalid sequence changes nothing and
// tells no one.
TEST(ConfigEscapes, SwitchesStrapsAndInputOption)
{
    struct Row {
        const char* Before;
        const char* Seq;
        const char* Result;
        Switches Changed;
    };
    const Row rows[] = {
        // Lower-case letters continue the sequence.
        {"",
         "\x1b&k1a 1b 1m 0d1R",
         "Done",
         {{"AutoLineFeed", 1}, {"ModeBits", kBlockMode | kModifyAll}, {"BellOn", 0}, {"RemoteMode", 1}}},
        {"\x1b&k1A", "\x1b&kA", "Done", {{"AutoLineFeed", 0}}}, // an empty number is 0
        {"", "\x1b&k1a0A", "Done", {}},                         // the last value wins
        {"", "\x1b&k0a1A", "Done", {{"AutoLineFeed", 1}}},
        {"", "\x1b&k1a1Q", "Invalid", {}}, // Q is no switch
        {"", "\x1b&k1a1E", "Invalid", {}},
        {"", "\x1b&k1b+1A", "Invalid", {}}, // no signs in this class
        {"", "\x1b&k1a1@", "Invalid", {}},
        {"", "\x1b&k1a,1A", "Invalid", {}},
        // Several straps in one sequence; strap D cleared is line strapping.
        {"\x1b&s1A",
         "\x1b&s0a1c1g1h0D",
         "Done",
         {{"StrapA", 0}, {"MarginWrap", 1}, {"StrapG", 1}, {"StrapH", 1}, {"LineStrapping", 1}}},
        {"", "\x1b&s1c1n1K", "Invalid", {}},
        {"", "\x1b&s1c1E", "Invalid", {}},
        {"", "\x1b&s+1C", "Invalid", {}},
        {"", "\x1b&s1c1^", "Invalid", {}},
        // ESC & x: the input option, 1 on, 0 off, anything else unchanged.
        {"", "\x1b&x1C", "Done", {{"InputOption", 1}}},
        {"\x1b&x1C", "\x1b&x0C", "Done", {{"InputOption", 0}}},
        {"\x1b&x1C", "\x1b&x2C", "Done", {}},
        {"", "\x1b&x2C", "Done", {}},
        {"", "\x1b&x 1 C", "Done", {{"InputOption", 1}}},
        {"\x1b&x1C", "\x1b&x1c0C", "Done", {{"InputOption", 0}}},
        {"", "\x1b&x1Q", "Invalid", {}},
        {"", "\x1b&x1c1Q", "Invalid", {}}, // no partial effect
        {"", "\x1b&x+1C", "Invalid", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.Before).substr(r.Before[0] != 0) + " " + (r.Seq + 1));
        Rig rig;
        if (r.Before[0] != 0)
            rig.Send(r.Before);
        Switches expected = Snapshot(rig.st);
        for (const auto& [name, value] : r.Changed)
            expected[name] = value;
        const int changes = rig.hooks.StateChanges;
        EXPECT_EQ(Describe(rig.Send(r.Seq)), r.Result);
        EXPECT_EQ(Snapshot(rig.st), expected);
        if (std::string_view(r.Result) == "Invalid") {
            EXPECT_EQ(rig.hooks.StateChanges, changes);
            EXPECT_EQ(rig.hooks.EightBitCalls, 0);
            EXPECT_TRUE(rig.hooks.LoggingCalls.empty());
        }
    }
}

// ------------------------------------------------------- keyboard remapping

TEST(KeyRemap, OnlySequencesWithSOrKAreDefinitions)
{
    EXPECT_TRUE(IsKeyRemapDefinition("\x1b&k37K"));
    EXPECT_TRUE(IsKeyRemapDefinition("\x1b&k37k3L"));
    EXPECT_TRUE(IsKeyRemapDefinition("\x1b&k0S"));
    EXPECT_TRUE(IsKeyRemapDefinition("\x1b&k0s1A"));
    EXPECT_FALSE(IsKeyRemapDefinition("\x1b&k1L"));
    EXPECT_FALSE(IsKeyRemapDefinition("\x1b&k1a1B"));
    // Only the header counts, not text after the terminator.
    EXPECT_FALSE(IsKeyRemapDefinition("\x1b&k1Lks"));
}

TEST(KeyRemap, LeavesTheSwitchesAlone)
{
    Rig rig;
    const Switches before = Snapshot(rig.st);
    // L is the length here, not preference L; s and k are no switches.
    EXPECT_EQ(Describe(rig.Send("\x1b&k1s37k1Lx")), "Done");
    EXPECT_EQ(Snapshot(rig.st), before);
    EXPECT_EQ(rig.st.KeyRemap[37], "x");
}

// ------------------------------------------------------------------ ESC & s

TEST(Straps, StrapNOpensAndClosesTheEscapeLogOnChange)
{
    Rig rig;
    rig.Send("\x1b&s1N");
    EXPECT_TRUE(rig.st.EscapeLogging);
    rig.Send("\x1b&s1N"); // already open: not opened (and emptied) again
    rig.Send("\x1b&s0N");
    EXPECT_FALSE(rig.st.EscapeLogging);
    rig.Send("\x1b&s5N");   // already closed
    rig.Send("\x1b&s1n0N"); // the last value counts: stays closed
    EXPECT_EQ(rig.hooks.LoggingCalls, (std::vector<bool>{true, false}));
}

// ----------------------------------------------------------- the program folder

TEST(ProgramFolderTest, KalvorHomeFirstThenTheUsersDataFolder)
{
    test::TempHome home;
    EXPECT_EQ(ProgramFolder(), home.Path());

    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("KALVOR_HOME", "", 1);
    EXPECT_EQ(ProgramFolder(), std::filesystem::path("/home/someone/.local/share/kalvor"));
    ::unsetenv("KALVOR_HOME");
    EXPECT_EQ(ProgramFolder(), std::filesystem::path("/home/someone/.local/share/kalvor"));
    if (oldHome != nullptr)
        ::setenv("HOME", savedHome.c_str(), 1);
    else
        ::unsetenv("HOME");
}

} // namespace
} // namespace kalvor
