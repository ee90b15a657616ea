// Run strings written as lists of codes and attribute letters, and a
// readable form of them for failure messages.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kalvor::test {

// Runs({10, ' ', 10, 'B', 0}) is the run string header 10, (" ", 10), ("B", 0).
inline std::string Runs(std::initializer_list<int> codes)
{
    std::string s;
    for (int c : codes)
        s.push_back(static_cast<char>(c));
    return s;
}

// "10 ' ' 10 'B' 0": lengths as numbers, attribute letters quoted.
inline std::string Show(std::string_view runs)
{
    if (runs.empty())
        return "<empty>";
    std::string out = std::to_string(static_cast<std::uint8_t>(runs[0]));
    for (std::size_t i = 1; i < runs.size(); ++i) {
        out += ' ';
        if (i % 2 == 1) {
            out += '\'';
            out += runs[i];
            out += '\'';
        } else {
            out += std::to_string(static_cast<std::uint8_t>(runs[i]));
        }
    }
    return out;
}

} // namespace kalvor::test
