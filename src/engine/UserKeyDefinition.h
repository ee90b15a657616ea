// The header of a user-key definition, ESC & f: parameter groups of an
// optional "-", digits and a letter (a attribute, k key, d label length,
// l string length, e execute, b save); lower case continues, upper case ends.
// When the header ends with D, K or L the label and the string follow it.
#pragma once

#include <optional>
#include <string_view>

namespace kalvor {

struct UserKeyDefinition {
    static constexpr int kMaxLabel = 16;
    static constexpr int kMaxText = 255;

    std::size_t HeaderEnd = 0;       // position of the terminating letter
    std::optional<int> Attribute;    // 0..2
    int Key = 0;                     // 0..7 (key numbers 1..8; others give key 1)
    std::optional<int> LabelLength;  // 0..16
    std::optional<int> StringLength; // 0..255, -1 (erase) gives 0; label + string <= 255
    std::optional<long> Execute;     // e: key number, or -1 for the Enter function
    std::optional<long> Save;        // b: save the configuration
    bool CarriesText = false;        // ended by D, K or L: label and string follow

    // Characters that follow the header: the label, then the string.
    int DataLength() const { return CarriesText ? LabelLength.value_or(0) + StringLength.value_or(0) : 0; }
};

// Reads the header of `seq` (which begins ESC & f). Nothing when a parameter
// character is not part of the grammar or the terminator is missing.
std::optional<UserKeyDefinition> ParseUserKeyDefinition(std::string_view seq);

} // namespace kalvor
