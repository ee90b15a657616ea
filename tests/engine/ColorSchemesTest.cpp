// Colour schemes: names, both palettes in normal and inverse form, and the
// escapes that choose them (ESC % x, ESC * d E).
#include "engine/ColorSchemes.h"
#include "engine/Terminal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kalvor {
namespace {

struct Colors {
    std::uint32_t Fg, Bg, Half;
};

struct SchemeCase {
    int Number;
    const char* Name;
    Colors Full, FullInverse, Reduced, ReducedInverse;
};

// One row per scheme: the colours expected on the normal and the inverse
// screen, with the full and the reduced palette.
const SchemeCase kSchemes[] = {
    {0,
     "aok",
     {0xffc000, 0x000000, 0xcf9400},
     {0x000000, 0xffc000, 0x906000},
     {0xffffff, 0x000000, 0xc0c0c0},
     {0x000000, 0xffffff, 0x808080}},
    {1,
     "yok",
     {0xffff00, 0x000000, 0xc0c000},
     {0x000000, 0xffff00, 0x8c8c00},
     {0xffff00, 0x000000, 0x808000},
     {0x000000, 0xffff00, 0x808000}},
    {2,
     "gok",
     {0xb0ff00, 0x000000, 0x80c000},
     {0x000000, 0xb0ff00, 0x608c00},
     {0x00ff00, 0x000000, 0x008000},
     {0x000000, 0x00ff00, 0x008000}},
    {3,
     "bok",
     {0x00ffff, 0x000000, 0x00c0c0},
     {0x000000, 0x00ffff, 0x008c8c},
     {0x00ffff, 0x000000, 0x008080},
     {0x000000, 0x00ffff, 0x008080}},
    {4,
     "wok",
     {0xffffff, 0x000000, 0xc0c0c0},
     {0x000000, 0xffffff, 0x8c8c8c},
     {0xffffff, 0x000000, 0xc0c0c0},
     {0x000000, 0xffffff, 0x808080}},
    {5,
     "wob",
     {0xffffff, 0x000080, 0xc0c0c0},
     {0x000080, 0xffffff, 0x8c8c8c},
     {0xffffff, 0x000080, 0xc0c0c0},
     {0x000080, 0xffffff, 0x808080}},
    {6,
     "wog",
     {0xffffff, 0x007000, 0xc0c0c0},
     {0x007000, 0xffffff, 0x8c8c8c},
     {0xffffff, 0x008000, 0xe0e0e0},
     {0x008000, 0xffffff, 0x808080}},
    {7,
     "woy",
     {0xffffff, 0x808000, 0xe0e0e0},
     {0x808000, 0xffffff, 0x8c8c8c},
     {0xffffff, 0x808000, 0xe0e0e0},
     {0x808000, 0xffffff, 0x808080}},
    {8,
     "wor",
     {0xffffff, 0x800000, 0xc0c0c0},
     {0x800000, 0xffffff, 0x8c8c8c},
     {0xffffff, 0x800000, 0xc0c0c0},
     {0x800000, 0xffffff, 0x808080}},
    {9,
     "kow",
     {0x000000, 0xffffff, 0x808080},
     {0xffffff, 0x000000, 0xc0c0c0},
     {0x000000, 0xffffff, 0x808080},
     {0xffffff, 0x000000, 0x808080}},
    {10,
     "bow",
     {0x000080, 0xf8fcff, 0x008080},
     {0xf8fcff, 0x000080, 0x00c0c0},
     {0x000080, 0xffffff, 0x008080},
     {0xffffff, 0x000080, 0x008080}},
    {11,
     "boc",
     {0x800000, 0xfff8f0, 0x808000},
     {0xfff8f0, 0x800000, 0xc0c000},
     {0x008000, 0xffffff, 0x808000},
     {0xffffff, 0x008000, 0xe0e0e0}},
    {12,
     "bob",
     {0x600000, 0xfaebd7, 0x804040},
     {0xfaebd7, 0x600000, 0xd09080},
     {0x800000, 0xffffff, 0x808000},
     {0xffffff, 0x800000, 0xc0c0c0}},
};

class ColorScheme : public ::testing::TestWithParam<SchemeCase> {};

void ExpectState(const TerminalState& st, const Colors& c, const char* what)
{
    EXPECT_EQ(st.Foreground, c.Fg) << what;
    EXPECT_EQ(st.Background, c.Bg) << what;
    EXPECT_EQ(st.HalfBright, c.Half) << what;
    EXPECT_EQ(st.HalfBright2, c.Half) << what;
}

TEST_P(ColorScheme, UpdateColorSchemeSetsAllFourColours)
{
    const SchemeCase& sc = GetParam();
    struct Variant {
        bool Inverse, Full;
        const Colors& Expected;
        const char* What;
    };
    const Variant variants[] = {
        {false, true, sc.Full, "full"},
        {true, true, sc.FullInverse, "full inverse"},
        {false, false, sc.Reduced, "reduced"},
        {true, false, sc.ReducedInverse, "reduced inverse"},
    };
    for (const Variant& v : variants) {
        TerminalState st;
        st.ColorScheme = sc.Number;
        st.InverseScreen = v.Inverse;
        UpdateColorScheme(st, v.Full);
        ExpectState(st, v.Expected, v.What);
        const SchemeColors direct = ColorSchemeColors(sc.Number, v.Inverse, v.Full);
        EXPECT_EQ(direct, (SchemeColors{v.Expected.Fg, v.Expected.Bg, v.Expected.Half})) << v.What;
    }
}

// Every enhancement stays readable: normal, inverse, half-bright and
// half-bright inverse keep a contrast of at least 3:1 between the character
// and the fill, in both palettes, on the normal and the inverse screen.
TEST_P(ColorScheme, EveryEnhancementKeepsContrast)
{
    const SchemeCase& sc = GetParam();
    for (const bool full : {true, false})
        for (const bool inverseScreen : {false, true})
            for (const bool inverse : {false, true})
                for (const bool half : {false, true}) {
                    const CellColors c =
                        EnhancementColors(ColorSchemeColors(sc.Number, inverseScreen, full), inverse, half);
                    EXPECT_GE(ContrastRatio(c.Ink, c.Fill), 3.0)
                        << (full ? "full" : "reduced") << (inverseScreen ? ", inverse screen" : "")
                        << (inverse ? ", inverse" : "") << (half ? ", half-bright" : "");
                }
    // Half-bright inverse dims the fill; the character keeps the background.
    const SchemeColors colors = ColorSchemeColors(sc.Number, false);
    const CellColors c = EnhancementColors(colors, true, true);
    EXPECT_EQ(c.Fill, colors.HalfBright);
    EXPECT_EQ(c.Ink, colors.Background);
}

TEST_P(ColorScheme, NameAndNumberLookUpEachOther)
{
    const SchemeCase& sc = GetParam();
    EXPECT_EQ(ColorSchemeName(sc.Number), sc.Name);
    EXPECT_EQ(ColorSchemeNumber(sc.Name), sc.Number);
    std::string upper = sc.Name;
    for (char& c : upper)
        c = static_cast<char>(c - 32);
    EXPECT_EQ(ColorSchemeNumber(upper), sc.Number);
}

// ESC % x name X selects the normal screen, name I the inverse one; both save
// the preferences and announce the change.
class CountingHooks : public TerminalHooks {
public:
    int Saves = 0;
    int Changes = 0;
    void SavePreferences() override { ++Saves; }
    void StateChanged() override { ++Changes; }
};

TEST_P(ColorScheme, HostSelectsTheSchemeByName)
{
    const SchemeCase& sc = GetParam();
    for (const bool inverse : {false, true}) {
        CountingHooks hooks;
        Terminal t(hooks);
        t.State.ColorScheme = sc.Number == 0 ? 1 : 0;
        t.State.InverseScreen = !inverse;
        const std::string seq = std::string("\x1b%x") + sc.Name + (inverse ? "I" : "X");
        EXPECT_EQ(t.Escapes.Dispatch(seq).Status, EscapeStatus::Done) << seq;
        EXPECT_EQ(t.State.ColorScheme, sc.Number);
        EXPECT_EQ(t.State.InverseScreen, inverse);
        ExpectState(t.State, inverse ? sc.FullInverse : sc.Full, seq.c_str());
        EXPECT_EQ(hooks.Saves, 1);
        EXPECT_GE(hooks.Changes, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(AllThirteen, ColorScheme, ::testing::ValuesIn(kSchemes),
                         [](const ::testing::TestParamInfo<SchemeCase>& info) { return std::string(info.param.Name); });

TEST(ColorSchemes, UnknownNamesAndNumbers)
{
    EXPECT_EQ(ColorSchemeName(-1), "");
    EXPECT_EQ(ColorSchemeName(kColorSchemeCount), "");
    for (const char* name : {"", "ao", "aokk", "xyz", "wo ", "ok", "wobI"})
        EXPECT_EQ(ColorSchemeNumber(name), -1) << '"' << name << '"';
}

TEST(ColorSchemes, NumbersOutsideTheTableUseSchemeZero)
{
    TerminalState st;
    st.ColorScheme = 42;
    UpdateColorScheme(st);
    EXPECT_EQ(st.Foreground, 0xffc000u);
    EXPECT_EQ(st.Background, 0x000000u);
    EXPECT_EQ(st.HalfBright, 0xcf9400u);
}

TEST(ColorSchemes, FullPaletteFromNineBitsPerPixel)
{
    EXPECT_FALSE(FullPaletteForDepth(4));
    EXPECT_FALSE(FullPaletteForDepth(8));
    EXPECT_TRUE(FullPaletteForDepth(9));
    EXPECT_TRUE(FullPaletteForDepth(16));
    EXPECT_TRUE(FullPaletteForDepth(32));
}

TEST(ColorSchemes, WobInverseIsNavyOnWhite)
{
    CountingHooks hooks;
    Terminal t(hooks);
    ASSERT_EQ(t.Escapes.Dispatch("\x1b%xwobI").Status, EscapeStatus::Done);
    EXPECT_EQ(t.State.ColorScheme, 5);
    EXPECT_TRUE(t.State.InverseScreen);
    EXPECT_EQ(t.State.Foreground, 0x000080u);
    EXPECT_EQ(t.State.Background, 0xffffffu);
}

TEST(ColorSchemes, InvalidSchemeEscapesChangeNothing)
{
    const char* const invalid[] = {
        "\x1b%xzzzX",  // unknown name
        "\x1b%xwobY",  // neither X nor I
        "\x1b%xwoX",   // two letters
        "\x1b%xwobbX", // four letters
        "\x1b%xX",     // no name
        "\x1b%xwo I",  // a space is not a letter of a name
    };
    for (const char* seq : invalid) {
        CountingHooks hooks;
        Terminal t(hooks);
        t.State.ColorScheme = 3;
        UpdateColorScheme(t.State);
        const std::uint32_t fg = t.State.Foreground;
        EXPECT_EQ(t.Escapes.Dispatch(seq).Status, EscapeStatus::Invalid) << seq + 1;
        EXPECT_EQ(t.State.ColorScheme, 3) << seq + 1;
        EXPECT_FALSE(t.State.InverseScreen) << seq + 1;
        EXPECT_EQ(t.State.Foreground, fg) << seq + 1;
        EXPECT_EQ(hooks.Saves, 0) << seq + 1;
    }
}

// ESC * d n E: inverse screen on for n = 1, off for anything else; the
// preferences are not saved.
TEST(ColorSchemes, InverseScreenEscape)
{
    struct Case {
        const char* Seq;
        bool Before;
        bool After;
    };
    const Case cases[] = {
        {"\x1b*d1E", false, true}, {"\x1b*d1E", true, true},    {"\x1b*d0E", true, false},  {"\x1b*dE", true, false},
        {"\x1b*d2E", true, false}, {"\x1b*d 1 E", false, true}, {"\x1b*d01E", false, true},
    };
    for (const Case& c : cases) {
        CountingHooks hooks;
        Terminal t(hooks);
        t.State.ColorScheme = 9;
        t.State.InverseScreen = c.Before;
        UpdateColorScheme(t.State);
        EXPECT_EQ(t.Escapes.Dispatch(c.Seq).Status, EscapeStatus::Done) << c.Seq + 1;
        EXPECT_EQ(t.State.InverseScreen, c.After) << c.Seq + 1;
        EXPECT_EQ(t.State.Foreground, c.After ? 0xffffffu : 0x000000u) << c.Seq + 1;
        EXPECT_EQ(t.State.HalfBright, c.After ? 0xc0c0c0u : 0x808080u) << c.Seq + 1;
        EXPECT_EQ(t.State.HalfBright2, t.State.HalfBright) << c.Seq + 1;
        EXPECT_EQ(hooks.Saves, 0) << c.Seq + 1;
        EXPECT_GE(hooks.Changes, 1) << c.Seq + 1;
    }
}

} // namespace
} // namespace kalvor
