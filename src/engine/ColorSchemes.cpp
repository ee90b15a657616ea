#include "engine/ColorSchemes.h"

#include "engine/TerminalState.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace kalvor {
namespace {

struct SchemeRow {
    const char* Name;
    std::uint32_t Foreground;
    std::uint32_t Background;
    std::uint32_t HalfBright;        // normal screen
    std::uint32_t HalfBrightInverse; // inverse screen
};

// Full palette: foreground on background; the inverse screen exchanges the
// two and uses the inverse half-bright colour. Every half-bright colour keeps
// a contrast of at least 3:1 to its screen's background.
constexpr std::array<SchemeRow, kColorSchemeCount> kFull{{
    {"aok", 0xffc000, 0x000000, 0xcf9400, 0x906000},
    {"yok", 0xffff00, 0x000000, 0xc0c000, 0x8c8c00},
    {"gok", 0xb0ff00, 0x000000, 0x80c000, 0x608c00},
    {"bok", 0x00ffff, 0x000000, 0x00c0c0, 0x008c8c},
    {"wok", 0xffffff, 0x000000, 0xc0c0c0, 0x8c8c8c},
    {"wob", 0xffffff, 0x000080, 0xc0c0c0, 0x8c8c8c},
    {"wog", 0xffffff, 0x007000, 0xc0c0c0, 0x8c8c8c},
    {"woy", 0xffffff, 0x808000, 0xe0e0e0, 0x8c8c8c},
    {"wor", 0xffffff, 0x800000, 0xc0c0c0, 0x8c8c8c},
    {"kow", 0x000000, 0xffffff, 0x808080, 0xc0c0c0},
    {"bow", 0x000080, 0xf8fcff, 0x008080, 0x00c0c0},
    {"boc", 0x800000, 0xfff8f0, 0x808000, 0xc0c000},
    {"bob", 0x600000, 0xfaebd7, 0x804040, 0xd09080},
}};

// Reduced palette, built from the 16 standard colours. The half-bright colour
// is the same on the normal and the inverse screen, except where the inverse
// screen's background needs another one for a contrast of 3:1: grey on
// white, light grey on green and red. Light grey on green and olive is
// lightened to #e0e0e0 for the same reason.
constexpr std::array<SchemeRow, kColorSchemeCount> kReduced{{
    {"aok", 0xffffff, 0x000000, 0xc0c0c0, 0x808080},
    {"yok", 0xffff00, 0x000000, 0x808000, 0x808000},
    {"gok", 0x00ff00, 0x000000, 0x008000, 0x008000},
    {"bok", 0x00ffff, 0x000000, 0x008080, 0x008080},
    {"wok", 0xffffff, 0x000000, 0xc0c0c0, 0x808080},
    {"wob", 0xffffff, 0x000080, 0xc0c0c0, 0x808080},
    {"wog", 0xffffff, 0x008000, 0xe0e0e0, 0x808080},
    {"woy", 0xffffff, 0x808000, 0xe0e0e0, 0x808080},
    {"wor", 0xffffff, 0x800000, 0xc0c0c0, 0x808080},
    {"kow", 0x000000, 0xffffff, 0x808080, 0x808080},
    {"bow", 0x000080, 0xffffff, 0x008080, 0x008080},
    {"boc", 0x008000, 0xffffff, 0x808000, 0xe0e0e0},
    {"bob", 0x800000, 0xffffff, 0x808000, 0xc0c0c0},
}};

} // namespace

std::string_view ColorSchemeName(int scheme)
{
    if (scheme < 0 || scheme >= kColorSchemeCount)
        return {};
    return kFull[static_cast<std::size_t>(scheme)].Name;
}

std::string_view ColorSchemeDescription(int scheme)
{
    static constexpr std::array<std::string_view, kColorSchemeCount> kDescriptions = {
        "amber on black", "yellow on black", "green on black", "cyan on black", "white on black",
        "white on blue",  "white on green",  "white on olive", "white on red",  "black on white",
        "navy on white",  "maroon on cream", "brown on beige",
    };
    if (scheme < 0 || scheme >= kColorSchemeCount)
        return {};
    return kDescriptions[static_cast<std::size_t>(scheme)];
}

int ColorSchemeNumber(std::string_view name)
{
    if (name.size() != 3)
        return -1;
    for (int n = 0; n < kColorSchemeCount; ++n) {
        const std::string_view known = kFull[static_cast<std::size_t>(n)].Name;
        bool same = true;
        for (std::size_t i = 0; i < 3 && same; ++i)
            same = std::tolower(static_cast<unsigned char>(name[i])) == known[i];
        if (same)
            return n;
    }
    return -1;
}

SchemeColors ColorSchemeColors(int scheme, bool inverse, bool fullPalette)
{
    if (scheme < 0 || scheme >= kColorSchemeCount)
        scheme = 0;
    const SchemeRow& row = (fullPalette ? kFull : kReduced)[static_cast<std::size_t>(scheme)];
    if (inverse)
        return {row.Background, row.Foreground, row.HalfBrightInverse};
    return {row.Foreground, row.Background, row.HalfBright};
}

CellColors EnhancementColors(const SchemeColors& colors, bool inverse, bool halfBright)
{
    if (inverse)
        return {halfBright ? colors.HalfBright : colors.Foreground, colors.Background};
    return {colors.Background, halfBright ? colors.HalfBright : colors.Foreground};
}

double ContrastRatio(std::uint32_t a, std::uint32_t b)
{
    const auto luminance = [](std::uint32_t rgb) {
        const auto channel = [](std::uint32_t v) {
            const double c = static_cast<double>(v & 0xff) / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(rgb >> 16) + 0.7152 * channel(rgb >> 8) + 0.0722 * channel(rgb);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void UpdateColorScheme(TerminalState& state, bool fullPalette)
{
    const SchemeColors c = ColorSchemeColors(state.ColorScheme, state.InverseScreen, fullPalette);
    state.Foreground = c.Foreground;
    state.Background = c.Background;
    state.HalfBright = c.HalfBright;
    state.HalfBright2 = c.HalfBright;
}

} // namespace kalvor
