// The terminal's colour schemes: 13 schemes numbered 0..12, each known by a
// three-letter name, each with a full palette (displays of 9 or more bits per
// pixel) and a reduced palette of the 16 standard colours, and each palette
// with a normal and an inverse form (inverse screen: foreground and background
// exchange roles and the half-bright colour may change).
#pragma once

#include <cstdint>
#include <string_view>

namespace kalvor {

struct TerminalState;

inline constexpr int kColorSchemeCount = 13;

struct SchemeColors {
    std::uint32_t Foreground = 0; // 0xrrggbb
    std::uint32_t Background = 0;
    std::uint32_t HalfBright = 0;

    friend bool operator==(const SchemeColors&, const SchemeColors&) = default;
};

// The fill and the character colour of a cell. Inverse fills with the
// foreground and draws in the background colour; half-bright draws in the
// half-bright colour, and with inverse it dims the fill instead (the
// character keeps the background colour, readable on the dimmed fill).
struct CellColors {
    std::uint32_t Fill = 0;
    std::uint32_t Ink = 0;
};
CellColors EnhancementColors(const SchemeColors& colors, bool inverse, bool halfBright);

// The contrast ratio of two colours (0xrrggbb) by their relative luminance,
// 1 (equal) to 21 (black and white). Every scheme keeps at least 3 between
// the character and the fill of every enhancement.
double ContrastRatio(std::uint32_t a, std::uint32_t b);

// "aok", "yok", ... "bob"; empty for a number outside 0..12.
std::string_view ColorSchemeName(int scheme);
// What the colours are, for people: "amber on black", ...; empty outside 0..12.
std::string_view ColorSchemeDescription(int scheme);

// The scheme number of a three-letter name, or -1 when there is none. The
// comparison ignores case ("WOB" and "wob" both give 5): the configuration
// file and the colour buttons may spell a name either way. The host can only
// send lower-case names, since an upper-case letter ends its escape sequence.
int ColorSchemeNumber(std::string_view name);

// The full palette is used from 9 bits per pixel up.
inline bool FullPaletteForDepth(int bitsPerPixel) { return bitsPerPixel >= 9; }

// The colours of `scheme` (outside 0..12: scheme 0) for the inverse-screen
// switch and the palette.
SchemeColors ColorSchemeColors(int scheme, bool inverse, bool fullPalette = true);

// Sets Foreground, Background, HalfBright and HalfBright2 from ColorScheme and
// InverseScreen. HalfBright2 always receives the half-bright colour too.
void UpdateColorScheme(TerminalState& state, bool fullPalette = true);

} // namespace kalvor
