// How the form language reads numbers and colours: the leading-number rule,
// scaling from form units to window pixels with halves rounded to the even
// neighbour, and colours given as three percentages.
#pragma once

#include <cstdint>
#include <string_view>

namespace kalvor::forms {

// A colour value: red + 256 x green + 65536 x blue.
using Colour = std::uint32_t;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

constexpr int Red(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int Green(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int Blue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// Leading blanks skipped, an optional sign, digits and one decimal point;
// anything else ends the number. No leading number reads as 0.
double LeadingNumber(std::string_view token);

// True when the token begins (after blanks) with something the leading-number
// rule reads as a number: a digit, or a sign or point followed by a digit.
bool StartsWithNumber(std::string_view token);

// Nearest integer, halves to the even neighbour; saturates far outside the
// range any form can use, so host values never overflow.
int RoundHalfEven(double value);

// A length in form units in window pixels at `scale`.
inline int ScaleUnits(double units, double scale) { return RoundHalfEven(units * scale); }

// Three percentages to a colour value: each component at most 100 (no lower
// limit), times 255 / 100, rounded halves to even.
Colour ColourFromPercent(double red, double green, double blue);

} // namespace kalvor::forms
