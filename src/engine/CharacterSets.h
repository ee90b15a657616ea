// Translation between the host's HP Roman 8 and the display's ISO Latin-1
// (with the Windows additions in 128..159). Both tables map 0..127 to
// themselves.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvor {

using CharTable = std::array<std::uint8_t, 256>;

const CharTable& Latin1ToRoman8Table(); // display to host (output)
const CharTable& Roman8ToLatin1Table(); // host to display (input)

std::string Latin1toRoman8(std::string_view latin);
std::string Roman8toLatin1(std::string_view roman);
void TranslateInPlace(std::string& s, const CharTable& table);

} // namespace kalvor
