// Terminal configuration escapes where configuration.case cannot look: the
// escape log of strap N, and the program folder.
#include "base/ProgramFolder.h"
#include "engine/ConfigEscapes.h"
#include "engine/Terminal.h"

#include "EngineTestSupport.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace kalvor {
namespace {

class ConfigHooks : public test::RecordingHooks {
public:
    std::vector<bool> LoggingCalls;

    void EscapeLogging(bool on) override { LoggingCalls.push_back(on); }
};

struct Rig {
    ConfigHooks hooks;
    Terminal term{hooks};
    TerminalState& st = term.State;

    EscapeResult Send(std::string_view seq) { return term.Escapes.Dispatch(seq); }
};

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
