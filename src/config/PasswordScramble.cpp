#include "config/PasswordScramble.h"

#include <algorithm>

namespace kalvor::config {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::size_t kFieldLength = 100;

// A digit's value: its code minus 48, minus 7 more when that is above 9.
// Only "0".."9" and "A".."F" are digits of the stored form.
int DigitValue(char c)
{
    if (kHexDigits.find(c) == std::string_view::npos)
        return -1;
    int v = static_cast<unsigned char>(c) - 48;
    if (v > 9)
        v -= 7;
    return v;
}

} // namespace

std::string ScramblePassword(std::string_view password)
{
    const std::size_t n = std::min(password.size(), kMaxPasswordLength);
    std::string out;
    out.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(password[i] ^ kScrambleKey[i]);
        out.push_back(kHexDigits[b >> 4]);
        out.push_back(kHexDigits[b & 0x0f]);
    }
    return out;
}

std::optional<std::string> Decrypt(std::string_view scrambled)
{
    if (scrambled.size() % 2 != 0 || scrambled.size() / 2 > kMaxPasswordLength)
        return std::nullopt;
    std::string field(kFieldLength, ' ');
    for (std::size_t i = 0; i < scrambled.size() / 2; ++i) {
        const int hi = DigitValue(scrambled[2 * i]);
        const int lo = DigitValue(scrambled[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        field[i] = static_cast<char>((hi * 16 + lo) ^ static_cast<unsigned char>(kScrambleKey[i]));
    }
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = field.find_last_not_of(' ');
    return field.substr(first, last - first + 1);
}

} // namespace kalvor::config
