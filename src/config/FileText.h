// Text pieces shared by the configuration file, the pointer file and the
// key table: the star line of the file headers and the trimming of blanks.
#pragma once

#include <string>
#include <string_view>

namespace kalvor::config {

// Twelve blanks, 58 stars and CR LF.
inline std::string StarLine() { return std::string(12, ' ') + std::string(58, '*') + "\r\n"; }

// Without the blanks at either end (other white space is kept).
inline std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace kalvor::config
