// Bytes with control characters spelled out (\e \r \n \\ \xhh), for readable
// comparisons and failure messages.
#pragma once

#include <string>
#include <string_view>

namespace kalvor::test {

inline std::string Visible(std::string_view bytes)
{
    static const char* hex = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        if (c == 27)
            s += "\\e";
        else if (c == '\r')
            s += "\\r";
        else if (c == '\n')
            s += "\\n";
        else if (c == '\\')
            s += "\\\\";
        else if (c < 32 || c >= 127) {
            s += "\\x";
            s.push_back(hex[c >> 4]);
            s.push_back(hex[c & 15]);
        } else {
            s.push_back(static_cast<char>(c));
        }
    }
    return s;
}

} // namespace kalvor::test
