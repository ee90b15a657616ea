// The demonstration host's long listing, line by line: a deterministic text
// that tests can regenerate to check what arrived. Every line is 100 bytes
// ending in CR LF; every seventh line holds the byte 255, which travels over
// Telnet as IAC IAC.
#pragma once

#include <cstdio>
#include <string>

namespace kalvor::demohost {

inline constexpr std::size_t kListingLineBytes = 100;

inline std::string ListingLine(long number)
{
    static constexpr char kWords[] =
        "the quick brown fox jumps over the lazy dog while five boxing wizards jump quickly ";
    char head[16];
    std::snprintf(head, sizeof head, "%08ld ", number % 100000000L);
    std::string line(head);
    const std::size_t words = sizeof kWords - 1;
    std::size_t at = static_cast<std::size_t>(number) % words;
    while (line.size() < kListingLineBytes - 2) {
        line.push_back(kWords[at]);
        at = (at + 1) % words;
    }
    if (number % 7 == 0)
        line[50] = static_cast<char>(0xff);
    line += "\r\n";
    return line;
}

} // namespace kalvor::demohost
