#include "engine/CharacterSets.h"

namespace kalvor {
namespace {

// Codes 128..255 of each table; 0..127 map to themselves.
constexpr std::uint8_t kLatin1ToRoman8High[128] = {
    186, 32,  39,  190, 34,  46,  43,  43,  94,  37,  235, 60,  79,  32,  90,  32,  32,  39,  39,  34,  34,  242,
    45,  45,  126, 32,  236, 62,  111, 32,  122, 238, 32,  184, 191, 187, 186, 188, 124, 189, 171, 32,  249, 251,
    45,  45,  32,  176, 179, 254, 50,  51,  168, 243, 244, 242, 32,  49,  250, 253, 247, 248, 245, 185, 161, 224,
    162, 225, 216, 208, 211, 180, 163, 220, 164, 165, 230, 229, 166, 167, 227, 182, 232, 231, 223, 233, 218, 42,
    210, 173, 237, 174, 219, 221, 240, 222, 200, 196, 192, 226, 204, 212, 215, 181, 201, 197, 193, 205, 217, 213,
    209, 221, 228, 183, 202, 198, 194, 234, 206, 47,  214, 203, 199, 195, 207, 178, 241, 121,
};

constexpr std::uint8_t kRoman8ToLatin1High[128] = {
    128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149,
    150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160, 192, 194, 200, 202, 203, 206, 207, 180, 96,  136, 168,
    152, 217, 219, 163, 175, 221, 253, 176, 199, 231, 209, 241, 161, 191, 128, 163, 165, 167, 131, 162, 226, 234,
    244, 251, 225, 233, 243, 250, 224, 232, 242, 249, 228, 235, 246, 252, 197, 238, 216, 198, 229, 237, 248, 230,
    196, 236, 214, 220, 201, 239, 223, 212, 193, 195, 227, 208, 240, 205, 204, 211, 210, 213, 245, 138, 154, 218,
    159, 121, 222, 254, 183, 181, 182, 190, 173, 188, 189, 170, 186, 171, 149, 187, 177, 32,
};

constexpr CharTable MakeTable(const std::uint8_t (&high)[128])
{
    CharTable t{};
    for (int c = 0; c < 128; ++c)
        t[c] = static_cast<std::uint8_t>(c);
    for (int c = 0; c < 128; ++c)
        t[128 + c] = high[c];
    return t;
}

constexpr CharTable kOutput = MakeTable(kLatin1ToRoman8High);
constexpr CharTable kInput = MakeTable(kRoman8ToLatin1High);

} // namespace

const CharTable& Latin1ToRoman8Table() { return kOutput; }
const CharTable& Roman8ToLatin1Table() { return kInput; }

std::string Latin1toRoman8(std::string_view latin)
{
    std::string out(latin);
    TranslateInPlace(out, kOutput);
    return out;
}

std::string Roman8toLatin1(std::string_view roman)
{
    std::string out(roman);
    TranslateInPlace(out, kInput);
    return out;
}

void TranslateInPlace(std::string& s, const CharTable& table)
{
    for (char& c : s)
        c = static_cast<char>(table[static_cast<std::uint8_t>(c)]);
}

} // namespace kalvor
