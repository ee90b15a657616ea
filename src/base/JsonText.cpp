#include "base/JsonText.h"

#include <cstdint>

namespace kalvor {

void PutLatin1(std::string& out, std::string_view latin1)
{
    for (const char ch : latin1) {
        const auto c = static_cast<std::uint8_t>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

void PutJsonString(std::string& out, std::string_view latin1)
{
    static const char* const kHex = "0123456789abcdef";
    out.push_back('"');
    for (const char ch : latin1) {
        const auto c = static_cast<std::uint8_t>(ch);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20 || c == 0x7f) {
            out.append("\\u00");
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            PutLatin1(out, std::string_view(&ch, 1));
        }
    }
    out.push_back('"');
}

} // namespace kalvor
