// The extended-character table: after the extend-character key, the next key
// typed is looked up by its character code and replaced by an accented letter
// or a symbol of the display set (0 = the key gives nothing). The table
// depends on the host character set and is rebuilt whenever it changes. The
// full table is laid out at the top of ExtendedChars.cpp.
#pragma once

#include <array>
#include <cstdint>

namespace kalvor {

struct TerminalState;

using ExtendTable = std::array<std::uint8_t, 256>;

// The table for the "Roman8" (true) or the "Latin1" (false) host set.
const ExtendTable& ExtendCharTable(bool hostRoman8);

// Fills TerminalState::ExtendChar for TerminalState::HostRoman8.
void InitExtendChar(TerminalState& state);

} // namespace kalvor
