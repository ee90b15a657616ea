// ESC & d: grammar, security, the format-mode bell, repaint requests and
// escape logging; ESC * d Q / R: the cursor form; ESC % x: colour schemes.
// Runs on screen rows are checked in tests/screen/cases/enhancements.case.
#include "engine/RunString.h"
#include "engine/Terminal.h"

#include "Runs.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kalvor {
namespace {

using test::Runs;
using test::Show;

class Hooks : public TerminalHooks {
public:
    int Bells = 0;
    std::string EscapeLogged;

    void Bell() override { ++Bells; }
    void EscapeLog(std::string_view text) override { EscapeLogged.append(text); }
};

class EnhancementTest : public ::testing::Test {
protected:
    Hooks hooks;
    Terminal t{hooks};
    DisplayMemory& m = t.State.Mem;

    EscapeStatus Esc(std::string_view seq) { return t.Escapes.Dispatch(seq).Status; }
    void Text(std::string_view text) { t.Writer.Write(text); }
    void At(int col) { m.CurCol = col; }
    std::string Cntl() { return Show(m.CursorRow().Cntl); }
};

// Grammar and security: each sequence at column 4 of an empty row, with the
// code it records (0: nothing recorded).
struct GrammarCase {
    const char* Seq;
    bool FormatMode;
    bool Bell;
    EscapeStatus Status;
    char Recorded;
    int Bells;
};

class EnhancementGrammar : public EnhancementTest, public ::testing::WithParamInterface<GrammarCase> {};

TEST_P(EnhancementGrammar, RecordsTheCode)
{
    const GrammarCase& c = GetParam();
    t.State.FormatMode = c.FormatMode;
    t.State.BellOn = c.Bell;
    At(4);
    EXPECT_EQ(Esc(c.Seq), c.Status);
    if (c.Recorded == 0)
        EXPECT_EQ(Cntl(), "<empty>");
    else
        EXPECT_EQ(Cntl(), Show(Runs({4, ' ', 4, c.Recorded, 0})));
    EXPECT_EQ(hooks.Bells, c.Bells);
}

constexpr auto kDone = EscapeStatus::Done;
constexpr auto kInvalid = EscapeStatus::Invalid;

INSTANTIATE_TEST_SUITE_P(
    Cases, EnhancementGrammar,
    ::testing::Values(
        // "@".."O" and "S" end the sequence and are the code; spaces are skipped.
        GrammarCase{"\x1b&d@", false, true, kDone, '@', 0}, GrammarCase{"\x1b&dO", false, true, kDone, 'O', 0},
        GrammarCase{"\x1b&d  S", false, true, kDone, 'S', 0},
        // Security: "s" in any position before the code; "@" becomes "S".
        GrammarCase{"\x1b&d s B", false, true, kDone, 'b', 0}, GrammarCase{"\x1b&dssJ", false, true, kDone, 'j', 0},
        GrammarCase{"\x1b&ds@", false, true, kDone, 'S', 0},
        // Format mode keeps the plain enhancement; "@" still becomes "S".
        GrammarCase{"\x1b&dsO", true, true, kDone, 'O', 0}, GrammarCase{"\x1b&ds@", true, false, kDone, 'S', 0},
        // Format mode with the bell on: security alone sounds the bell instead.
        GrammarCase{"\x1b&dS", true, true, kDone, 0, 1}, GrammarCase{"\x1b&ds@", true, true, kDone, 0, 1},
        GrammarCase{"\x1b&dS", true, false, kDone, 'S', 0},
        // Anything else is invalid and records nothing.
        GrammarCase{"\x1b&d!", false, true, kInvalid, 0, 0}, GrammarCase{"\x1b&daB", false, true, kInvalid, 0, 0},
        GrammarCase{"\x1b&ds", false, true, kInvalid, 0, 0}, GrammarCase{"\x1b&dsT", true, true, kInvalid, 0, 0}));

TEST_F(EnhancementTest, EscapeLogShowsEscAs251)
{
    ASSERT_EQ(Esc("\x1b&dB"), kDone);
    EXPECT_EQ(hooks.EscapeLogged, "");

    t.State.EscapeLogging = true;
    ASSERT_EQ(Esc("\x1b&dB"), kDone);
    ASSERT_EQ(Esc("\x1b&d s A"), kDone);
    EXPECT_EQ(Esc("\x1b&dP"), kInvalid); // invalid sequences are not logged
    t.State.FormatMode = true;
    ASSERT_EQ(Esc("\x1b&dS"), kDone); // logged even when it only sounds the bell
    EXPECT_EQ(hooks.EscapeLogged, "\xfb&dB\xfb&d s A\xfb&dS");
}

// ESC * d Q and R: the cursor form.
TEST_F(EnhancementTest, CursorOffAndOn)
{
    struct Step {
        const char* Seq;
        int Form;
        bool Hidden;
        int Saved;
    };
    const Step steps[] = {
        {"\x1b*dR", 1, true, 1},                               // off: the form is saved
        {"\x1b*d2Q", 2, false, 2},                             // form 2, saved
        {"\x1b*dR", 2, true, 2},     {"\x1b*dQ", 2, false, 2}, // on with the saved form
        {"\x1b*d7Q", 2, false, 2},                             // any value but 1 is the second form
        {"\x1b*d 1 Q", 1, false, 1},
    };
    for (const Step& s : steps) {
        ASSERT_EQ(Esc(s.Seq), kDone) << s.Seq + 1;
        EXPECT_EQ(t.State.CursorForm, s.Form) << s.Seq + 1;
        EXPECT_EQ(t.State.CursorHidden, s.Hidden) << s.Seq + 1;
        EXPECT_EQ(t.State.SavedCursorForm, s.Saved) << s.Seq + 1;
    }
}

TEST_F(EnhancementTest, DisplayControlChainsLowerCaseParameters)
{
    ASSERT_EQ(Esc("\x1b*d1e2Q"), kDone);
    EXPECT_TRUE(t.State.InverseScreen);
    EXPECT_EQ(t.State.CursorForm, 2);
    ASSERT_EQ(Esc("\x1b*d0eR"), kDone);
    EXPECT_FALSE(t.State.InverseScreen);
    EXPECT_TRUE(t.State.CursorHidden);
}

// ESC % x NAME X / I: a colour scheme by name, on the normal or the inverse
// screen (the inverse one swaps character and fill).
TEST_F(EnhancementTest, SchemeByNameOnTheNormalOrTheInverseScreen)
{
    ASSERT_EQ(Esc("\x1b%xyokX"), kDone);
    EXPECT_EQ(t.State.ColorScheme, 1);
    EXPECT_FALSE(t.State.InverseScreen);
    const auto fg = t.State.Foreground;
    const auto bg = t.State.Background;
    ASSERT_EQ(Esc("\x1b%xyokI"), kDone);
    EXPECT_TRUE(t.State.InverseScreen);
    EXPECT_EQ(t.State.Foreground, bg);
    EXPECT_EQ(t.State.Background, fg);
    ASSERT_EQ(Esc("\x1b%xaokX"), kDone);
    EXPECT_EQ(t.State.ColorScheme, 0);
    EXPECT_FALSE(t.State.InverseScreen);
    for (const char* seq : {"\x1b%xyokZ", "\x1b%xzzzX", "\x1b%xyokkX", "\x1b%xyoX"})
        EXPECT_EQ(Esc(seq), kInvalid) << seq + 1;
    EXPECT_EQ(t.State.ColorScheme, 0);
}

TEST_F(EnhancementTest, InvalidDisplayControlChangesNothing)
{
    for (const char* seq : {"\x1b*dX", "\x1b*d1S", "\x1b*d@", "\x1b*d+1Q", "\x1b*d", "\x1b*d1e", "\x1b*d1a"}) {
        EXPECT_EQ(Esc(seq), kInvalid) << seq + 1;
        EXPECT_EQ(t.State.CursorForm, 1) << seq + 1;
        EXPECT_FALSE(t.State.CursorHidden) << seq + 1;
        EXPECT_FALSE(t.State.InverseScreen) << seq + 1;
    }
}

} // namespace
} // namespace kalvor
