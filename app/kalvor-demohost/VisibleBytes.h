// Bytes the terminal sent, with control characters written so that they can
// be read on a screen: <ESC>, <CR>, <LF>, <RS>, <US>, <DEL> and ^X.
#pragma once

#include <string>
#include <string_view>

namespace kalvor::demohost {

inline std::string Visible(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 27)
            out += "<ESC>";
        else if (c == 13)
            out += "<CR>";
        else if (c == 10)
            out += "<LF>";
        else if (c == 30)
            out += "<RS>";
        else if (c == 31)
            out += "<US>";
        else if (c < 32)
            out += "^" + std::string(1, static_cast<char>(c + 64));
        else if (c == 127)
            out += "<DEL>";
        else
            out.push_back(ch);
    }
    return out;
}

} // namespace kalvor::demohost
