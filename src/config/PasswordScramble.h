// The SSH password is stored in the configuration file scrambled: each
// character is combined by exclusive-or with the character at the same
// position of a fixed key text, and each resulting byte is written as two
// upper-case hexadecimal digits, high digit first. Decrypt reverses it into
// a 100-character field of spaces and returns the field trimmed, so
// passwords are limited to the key's 73 characters and lose leading and
// trailing spaces.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvor::config {

// The built-in key text: 73 printable characters. Changing it makes every
// stored password unreadable, so it never changes.
inline constexpr std::string_view kScrambleKey =
    "Kalvor/Tavlex: the SSH password is kept out of plain sight by this key #7";
static_assert(kScrambleKey.size() == 73);

inline constexpr std::size_t kMaxPasswordLength = kScrambleKey.size();

// The stored form of `password`: two hexadecimal digits per character, for
// at most the first 73 characters.
std::string ScramblePassword(std::string_view password);

// The password of a stored form; nullopt when the stored form is damaged
// (an odd number of digits, a character outside "0123456789ABCDEF", or more
// than 73 pairs).
std::optional<std::string> Decrypt(std::string_view scrambled);

} // namespace kalvor::config
