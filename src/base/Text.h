// Text helpers shared by the settings files, the function-key labels and the
// log-on script.
#pragma once

#include <string>
#include <string_view>

namespace kalvor {

// Without the spaces at either end (other white space is kept).
inline std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// ASCII letters in upper case; every other byte as it is.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

} // namespace kalvor
