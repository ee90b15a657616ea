// Extended characters: press the extend-character key, then one key. The
// key's character is replaced by the character below; a key not listed gives
// nothing (control characters, DEL and codes 128..255 give nothing).
//
// Letters keep their case: an upper-case key gives an upper-case letter.
// A vowel gives its acute form; the letter after the vowel in the alphabet
// gives the grave form, the second letter after it the circumflex and the
// third the diaeresis. A is the exception: C and D, two and three letters
// after it, give Ç and Ð, so Â sits on M and Ä on Z.
//
//   acute        grave        circumflex   diaeresis
//   A a  Á á     B b  À à     M m  Â â     Z z  Ä ä
//   E e  É é     F f  È è     G g  Ê ê     H h  Ë ë
//   I i  Í í     J j  Ì ì     K k  Î î     L l  Ï ï
//   O o  Ó ó     P p  Ò ò     Q q  Ô ô     R r  Ö ö
//   U u  Ú ú     V v  Ù ù     W w  Û û     X x  Ü ü
//   Y y  Ý ý                               ^    ÿ
//
//   C c  Ç ç     N n  Ñ ñ     D d  Ð ð     T t  Þ þ     S s  § ß
//
// The other letters sit in pairs on the punctuation keys, the unshifted key
// of a US keyboard giving the small letter and the shifted key the capital:
//
//   [ {  å Å     ] }  ø Ø     ; :  æ Æ     \ |  ã Ã     ` ~  õ Õ
//   ' "  œ Œ  with the "Roman8" host set;  ´ ¨  with "Latin1"
//
// Symbols:
//
//   !  ¡         ?  ¿         <  «         >  »         space  no-break space
//   #  £         $  ¢         =  ¥         %  € with "Roman8";  ¤ with "Latin1"
//   (  ©         )  ®         &  ¶         @  ª         9  º
//   *  ×         /  ÷         +  ±         -  ¬         .  ·
//   ,  ¸         _  ¯         7  ¦         8  µ         0  °
//   1  ¹         2  ²         3  ³         4  ¼         5  ½         6  ¾
//
// With "Latin1" the host receives the display's codes unchanged, so the table
// offers only ISO Latin-1 characters (160..255): every one of them except the
// soft hyphen is one key away. With "Roman8" three keys give characters of
// the display set's additions in 128..159 instead (which a Latin-1 host would
// read as control characters): ' gives œ, " gives Œ and % gives the euro sign
// (the code that Roman 8's currency sign is displayed as). Everything typed
// reaches a Roman 8 host through Latin1toRoman8, so the characters Roman 8
// lacks arrive as the output table says: œ Œ as o O, × ÷ as * /, ¹ ² ³ as
// digits, ¦ ¬ as | -, ÿ as y, © ® ¸ and the no-break space as spaces.
#include "engine/ExtendedChars.h"

#include "engine/TerminalState.h"

namespace kalvor {
namespace {

struct ExtendEntry {
    unsigned char Key;
    std::uint8_t Latin1; // with the "Latin1" host set
    std::uint8_t Roman8; // with the "Roman8" host set
};

// Entries that are the same with both host sets give the code twice.
constexpr ExtendEntry kEntries[] = {
    // Acute.
    {'A', 193, 193},
    {'a', 225, 225},
    {'E', 201, 201},
    {'e', 233, 233},
    {'I', 205, 205},
    {'i', 237, 237},
    {'O', 211, 211},
    {'o', 243, 243},
    {'U', 218, 218},
    {'u', 250, 250},
    {'Y', 221, 221},
    {'y', 253, 253},
    // Grave: the letter after the vowel.
    {'B', 192, 192},
    {'b', 224, 224},
    {'F', 200, 200},
    {'f', 232, 232},
    {'J', 204, 204},
    {'j', 236, 236},
    {'P', 210, 210},
    {'p', 242, 242},
    {'V', 217, 217},
    {'v', 249, 249},
    // Circumflex: two letters after the vowel (A: M).
    {'M', 194, 194},
    {'m', 226, 226},
    {'G', 202, 202},
    {'g', 234, 234},
    {'K', 206, 206},
    {'k', 238, 238},
    {'Q', 212, 212},
    {'q', 244, 244},
    {'W', 219, 219},
    {'w', 251, 251},
    // Diaeresis: three letters after the vowel (A: Z; y: ^).
    {'Z', 196, 196},
    {'z', 228, 228},
    {'H', 203, 203},
    {'h', 235, 235},
    {'L', 207, 207},
    {'l', 239, 239},
    {'R', 214, 214},
    {'r', 246, 246},
    {'X', 220, 220},
    {'x', 252, 252},
    {'^', 255, 255},
    // Other letters named by their key.
    {'C', 199, 199},
    {'c', 231, 231},
    {'N', 209, 209},
    {'n', 241, 241},
    {'D', 208, 208},
    {'d', 240, 240},
    {'T', 222, 222},
    {'t', 254, 254},
    {'S', 167, 167},
    {'s', 223, 223},
    // Letters in pairs on the punctuation keys.
    {'[', 229, 229},
    {'{', 197, 197},
    {']', 248, 248},
    {'}', 216, 216},
    {';', 230, 230},
    {':', 198, 198},
    {'\\', 227, 227},
    {'|', 195, 195},
    {'`', 245, 245},
    {'~', 213, 213},
    {'\'', 180, 156},
    {'"', 168, 140},
    // Symbols.
    {'!', 161, 161},
    {'?', 191, 191},
    {'<', 171, 171},
    {'>', 187, 187},
    {' ', 160, 160},
    {'#', 163, 163},
    {'$', 162, 162},
    {'=', 165, 165},
    {'%', 164, 128},
    {'(', 169, 169},
    {')', 174, 174},
    {'&', 182, 182},
    {'@', 170, 170},
    {'9', 186, 186},
    {'*', 215, 215},
    {'/', 247, 247},
    {'+', 177, 177},
    {'-', 172, 172},
    {'.', 183, 183},
    {',', 184, 184},
    {'_', 175, 175},
    {'7', 166, 166},
    {'8', 181, 181},
    {'0', 176, 176},
    {'1', 185, 185},
    {'2', 178, 178},
    {'3', 179, 179},
    {'4', 188, 188},
    {'5', 189, 189},
    {'6', 190, 190},
};

constexpr ExtendTable MakeTable(bool roman8)
{
    ExtendTable t{};
    for (const ExtendEntry& e : kEntries)
        t[e.Key] = roman8 ? e.Roman8 : e.Latin1;
    return t;
}

constexpr ExtendTable kRoman8Table = MakeTable(true);
constexpr ExtendTable kLatin1Table = MakeTable(false);

} // namespace

const ExtendTable& ExtendCharTable(bool hostRoman8) { return hostRoman8 ? kRoman8Table : kLatin1Table; }

void InitExtendChar(TerminalState& state) { state.ExtendChar = ExtendCharTable(state.HostRoman8); }

} // namespace kalvor
