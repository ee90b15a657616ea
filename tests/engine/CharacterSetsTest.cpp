// The Roman 8 / Latin-1 translation tables, checked code by code against
// literal lists, the round-trip rule, and the extended-character tables.
#include "engine/CharacterSets.h"
#include "engine/ExtendedChars.h"
#include "engine/TerminalState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kalvor {
namespace {

using Pair = std::pair<int, int>;

// Display (Latin-1) code -> host (Roman 8) code, for 128..255.
const std::vector<Pair> kOutputPairs = {
    {128, 186}, {129, 32},  {130, 39},  {131, 190}, {132, 34},  {133, 46},  {134, 43},  {135, 43},  {136, 94},
    {137, 37},  {138, 235}, {139, 60},  {140, 79},  {141, 32},  {142, 90},  {143, 32},  {144, 32},  {145, 39},
    {146, 39},  {147, 34},  {148, 34},  {149, 242}, {150, 45},  {151, 45},  {152, 126}, {153, 32},  {154, 236},
    {155, 62},  {156, 111}, {157, 32},  {158, 122}, {159, 238}, {160, 32},  {161, 184}, {162, 191}, {163, 187},
    {164, 186}, {165, 188}, {166, 124}, {167, 189}, {168, 171}, {169, 32},  {170, 249}, {171, 251}, {172, 45},
    {173, 45},  {174, 32},  {175, 176}, {176, 179}, {177, 254}, {178, 50},  {179, 51},  {180, 168}, {181, 243},
    {182, 244}, {183, 242}, {184, 32},  {185, 49},  {186, 250}, {187, 253}, {188, 247}, {189, 248}, {190, 245},
    {191, 185}, {192, 161}, {193, 224}, {194, 162}, {195, 225}, {196, 216}, {197, 208}, {198, 211}, {199, 180},
    {200, 163}, {201, 220}, {202, 164}, {203, 165}, {204, 230}, {205, 229}, {206, 166}, {207, 167}, {208, 227},
    {209, 182}, {210, 232}, {211, 231}, {212, 223}, {213, 233}, {214, 218}, {215, 42},  {216, 210}, {217, 173},
    {218, 237}, {219, 174}, {220, 219}, {221, 221}, {222, 240}, {223, 222}, {224, 200}, {225, 196}, {226, 192},
    {227, 226}, {228, 204}, {229, 212}, {230, 215}, {231, 181}, {232, 201}, {233, 197}, {234, 193}, {235, 205},
    {236, 217}, {237, 213}, {238, 209}, {239, 221}, {240, 228}, {241, 183}, {242, 202}, {243, 198}, {244, 194},
    {245, 234}, {246, 206}, {247, 47},  {248, 214}, {249, 203}, {250, 199}, {251, 195}, {252, 207}, {253, 178},
    {254, 241}, {255, 121},
};

// Host (Roman 8) code -> display (Latin-1) code, for 161..255; 128..160 stay.
const std::vector<Pair> kInputPairs = {
    {161, 192}, {162, 194}, {163, 200}, {164, 202}, {165, 203}, {166, 206}, {167, 207}, {168, 180}, {169, 96},
    {170, 136}, {171, 168}, {172, 152}, {173, 217}, {174, 219}, {175, 163}, {176, 175}, {177, 221}, {178, 253},
    {179, 176}, {180, 199}, {181, 231}, {182, 209}, {183, 241}, {184, 161}, {185, 191}, {186, 128}, {187, 163},
    {188, 165}, {189, 167}, {190, 131}, {191, 162}, {192, 226}, {193, 234}, {194, 244}, {195, 251}, {196, 225},
    {197, 233}, {198, 243}, {199, 250}, {200, 224}, {201, 232}, {202, 242}, {203, 249}, {204, 228}, {205, 235},
    {206, 246}, {207, 252}, {208, 197}, {209, 238}, {210, 216}, {211, 198}, {212, 229}, {213, 237}, {214, 248},
    {215, 230}, {216, 196}, {217, 236}, {218, 214}, {219, 220}, {220, 201}, {221, 239}, {222, 223}, {223, 212},
    {224, 193}, {225, 195}, {226, 227}, {227, 208}, {228, 240}, {229, 205}, {230, 204}, {231, 211}, {232, 210},
    {233, 213}, {234, 245}, {235, 138}, {236, 154}, {237, 218}, {238, 159}, {239, 121}, {240, 222}, {241, 254},
    {242, 183}, {243, 181}, {244, 182}, {245, 190}, {246, 173}, {247, 188}, {248, 189}, {249, 170}, {250, 186},
    {251, 171}, {252, 149}, {253, 187}, {254, 177}, {255, 32},
};

// The expected 256-entry table: identity, overridden by the pairs.
std::vector<int> Expected(const std::vector<Pair>& pairs)
{
    std::vector<int> t(256);
    for (int c = 0; c < 256; ++c)
        t[static_cast<std::size_t>(c)] = c;
    for (const auto& [from, to] : pairs)
        t[static_cast<std::size_t>(from)] = to;
    return t;
}

std::string AllCodes()
{
    std::string s;
    for (int c = 0; c < 256; ++c)
        s.push_back(static_cast<char>(c));
    return s;
}

int Code(char c) { return static_cast<unsigned char>(c); }

TEST(TranslationTables, PairListsCoverTheirRanges)
{
    ASSERT_EQ(kOutputPairs.size(), 128u);
    ASSERT_EQ(kInputPairs.size(), 95u);
    for (std::size_t i = 0; i < kOutputPairs.size(); ++i)
        EXPECT_EQ(kOutputPairs[i].first, 128 + static_cast<int>(i));
    for (std::size_t i = 0; i < kInputPairs.size(); ++i)
        EXPECT_EQ(kInputPairs[i].first, 161 + static_cast<int>(i));
}

struct TableCase {
    const char* Name;
    const CharTable& (*Table)();
    std::string (*Translate)(std::string_view);
    const std::vector<Pair>* Pairs;
};

class TranslationTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(TranslationTable, EveryCodeMatches)
{
    const TableCase& tc = GetParam();
    const std::vector<int> expected = Expected(*tc.Pairs);
    const CharTable& table = tc.Table();
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(table[static_cast<std::size_t>(c)], expected[static_cast<std::size_t>(c)])
            << tc.Name << " code " << c;
}

TEST_P(TranslationTable, StringTranslationUsesTheTableForEveryCode)
{
    const TableCase& tc = GetParam();
    const std::vector<int> expected = Expected(*tc.Pairs);
    const std::string out = tc.Translate(AllCodes());
    ASSERT_EQ(out.size(), 256u);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(Code(out[static_cast<std::size_t>(c)]), expected[static_cast<std::size_t>(c)])
            << tc.Name << " code " << c;
}

TEST_P(TranslationTable, EmptyStringStaysEmpty) { EXPECT_EQ(GetParam().Translate(""), ""); }

INSTANTIATE_TEST_SUITE_P(
    BothDirections, TranslationTable,
    ::testing::Values(TableCase{"Latin1toRoman8", &Latin1ToRoman8Table, &Latin1toRoman8, &kOutputPairs},
                      TableCase{"Roman8toLatin1", &Roman8ToLatin1Table, &Roman8toLatin1, &kInputPairs}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.Name); });

TEST(TranslationTables, TranslateInPlaceMatchesTheCopyingForms)
{
    std::string s = AllCodes();
    TranslateInPlace(s, Latin1ToRoman8Table());
    EXPECT_EQ(s, Latin1toRoman8(AllCodes()));
    s = AllCodes();
    TranslateInPlace(s, Roman8ToLatin1Table());
    EXPECT_EQ(s, Roman8toLatin1(AllCodes()));
}

TEST(TranslationTables, DocumentedExamples)
{
    // Roman 8 161 is shown as À (192); typing À sends 161.
    EXPECT_EQ(Roman8toLatin1("\xa1"), "\xc0");
    EXPECT_EQ(Latin1toRoman8("\xc0"), "\xa1");
    // Latin-1 © (169) has no Roman 8 code: it is sent as a space.
    EXPECT_EQ(Latin1toRoman8("\xa9"), " ");
    // Plain ASCII passes untouched.
    EXPECT_EQ(Latin1toRoman8("Hello, world"), "Hello, world");
    EXPECT_EQ(Roman8toLatin1("Hello, world"), "Hello, world");
}

// Round trip: a display character typed and sent to a Roman 8 host, then
// echoed back, comes back as itself, except for these display codes: the
// Windows additions and Latin-1 characters that Roman 8 lacks (sent as ASCII
// approximations or spaces), ¤ (164, sent as Roman 8 186, which is shown as
// 128), and Ý (221), which the output table sends as Roman 8 221, shown as ï.
const std::set<int> kDisplayCodesNotRoundTripping = {
    129, 130, 132, 133, 134, 135, 136, 137, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151,
    152, 153, 155, 156, 157, 158, 160, 164, 166, 169, 172, 173, 174, 178, 179, 184, 185, 215, 221, 247, 255,
};

// A Roman 8 code from the host, shown and sent back, returns as itself,
// except for 128..160 (shown unchanged as Windows additions, which go out as
// their Roman 8 or ASCII equivalents) and the Roman 8 codes shown as a
// character that the output table sends elsewhere: 169 (` -> 96), 170 (ˆ ->
// ^), 172 (˜ -> ~), 175 (£ -> 187), 177 (Ý -> 221), 239 (y), 246 (soft hyphen
// -> -), 252 (• -> 242) and 255 (shown as a space).
const std::set<int> kHostCodesNotRoundTripping = {
    128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148,
    149, 150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160, 169, 170, 172, 175, 177, 239, 246, 252, 255,
};

TEST(TranslationTables, RoundTripRule)
{
    const CharTable& out = Latin1ToRoman8Table();
    const CharTable& in = Roman8ToLatin1Table();
    for (int c = 0; c < 256; ++c) {
        const auto u = static_cast<std::size_t>(c);
        const bool displayBack = in[out[u]] == c;
        EXPECT_EQ(displayBack, !kDisplayCodesNotRoundTripping.count(c)) << "display code " << c;
        const bool hostBack = out[in[u]] == c;
        EXPECT_EQ(hostBack, !kHostCodesNotRoundTripping.count(c)) << "host code " << c;
    }
}

// Extended characters.

TEST(ExtendedChars, KnownEntries)
{
    for (bool roman8 : {true, false}) {
        const ExtendTable& t = ExtendCharTable(roman8);
        EXPECT_EQ(t['A'], 193);
        EXPECT_EQ(t['C'], 199);
        EXPECT_EQ(t['E'], 201);
    }
}

// For each vowel: the codes of its acute, grave, circumflex and diaeresis
// capitals, and the keys that give them.
struct VowelRow {
    char Vowel;
    int Acute, Grave, Circumflex, Diaeresis;
    char GraveKey, CircumflexKey, DiaeresisKey;
};

const VowelRow kVowels[] = {
    {'A', 193, 192, 194, 196, 'B', 'M', 'Z'}, {'E', 201, 200, 202, 203, 'F', 'G', 'H'},
    {'I', 205, 204, 206, 207, 'J', 'K', 'L'}, {'O', 211, 210, 212, 214, 'P', 'Q', 'R'},
    {'U', 218, 217, 219, 220, 'V', 'W', 'X'},
};

TEST(ExtendedChars, VowelAccentsFollowTheAlphabetRule)
{
    for (bool roman8 : {true, false}) {
        const ExtendTable& t = ExtendCharTable(roman8);
        for (const VowelRow& v : kVowels) {
            SCOPED_TRACE(std::string(1, v.Vowel) + (roman8 ? " Roman8" : " Latin1"));
            const auto lower = [](char k) { return static_cast<std::size_t>(k + 32); };
            EXPECT_EQ(t[static_cast<std::size_t>(v.Vowel)], v.Acute);
            EXPECT_EQ(t[static_cast<std::size_t>(v.GraveKey)], v.Grave);
            EXPECT_EQ(t[static_cast<std::size_t>(v.CircumflexKey)], v.Circumflex);
            EXPECT_EQ(t[static_cast<std::size_t>(v.DiaeresisKey)], v.Diaeresis);
            EXPECT_EQ(t[lower(v.Vowel)], v.Acute + 32);
            EXPECT_EQ(t[lower(v.GraveKey)], v.Grave + 32);
            EXPECT_EQ(t[lower(v.CircumflexKey)], v.Circumflex + 32);
            EXPECT_EQ(t[lower(v.DiaeresisKey)], v.Diaeresis + 32);
            if (v.Vowel != 'A') {
                EXPECT_EQ(v.GraveKey, v.Vowel + 1);
                EXPECT_EQ(v.CircumflexKey, v.Vowel + 2);
                EXPECT_EQ(v.DiaeresisKey, v.Vowel + 3);
            }
        }
    }
}

TEST(ExtendedChars, LettersKeepTheirCase)
{
    for (bool roman8 : {true, false}) {
        const ExtendTable& t = ExtendCharTable(roman8);
        for (char k = 'A'; k <= 'Z'; ++k) {
            const int upper = t[static_cast<std::size_t>(k)];
            const int lower = t[static_cast<std::size_t>(k + 32)];
            if (k == 'S') {
                EXPECT_EQ(upper, 167); // §: Latin-1 has no capital sharp s
                EXPECT_EQ(lower, 223); // ß
                continue;
            }
            EXPECT_GE(upper, 192) << k;
            EXPECT_LE(upper, 222) << k;
            EXPECT_NE(upper, 215) << k; // ×
            EXPECT_EQ(lower, upper + 32) << k;
        }
    }
}

struct KeyEntry {
    char Key;
    int Latin1;
    int Roman8;
};

// Every key other than a letter, as documented.
const KeyEntry kOtherKeys[] = {
    {'[', 229, 229},  {'{', 197, 197}, {']', 248, 248}, {'}', 216, 216}, {';', 230, 230},  {':', 198, 198},
    {'\\', 227, 227}, {'|', 195, 195}, {'`', 245, 245}, {'~', 213, 213}, {'\'', 180, 156}, {'"', 168, 140},
    {'^', 255, 255},  {'!', 161, 161}, {'?', 191, 191}, {'<', 171, 171}, {'>', 187, 187},  {' ', 160, 160},
    {'#', 163, 163},  {'$', 162, 162}, {'=', 165, 165}, {'%', 164, 128}, {'(', 169, 169},  {')', 174, 174},
    {'&', 182, 182},  {'@', 170, 170}, {'9', 186, 186}, {'*', 215, 215}, {'/', 247, 247},  {'+', 177, 177},
    {'-', 172, 172},  {'.', 183, 183}, {',', 184, 184}, {'_', 175, 175}, {'7', 166, 166},  {'8', 181, 181},
    {'0', 176, 176},  {'1', 185, 185}, {'2', 178, 178}, {'3', 179, 179}, {'4', 188, 188},  {'5', 189, 189},
    {'6', 190, 190},
};

TEST(ExtendedChars, PunctuationDigitsAndSpace)
{
    std::set<int> listed;
    for (const KeyEntry& e : kOtherKeys) {
        listed.insert(Code(e.Key));
        EXPECT_EQ(ExtendCharTable(false)[static_cast<std::size_t>(Code(e.Key))], e.Latin1) << "Latin1 key " << e.Key;
        EXPECT_EQ(ExtendCharTable(true)[static_cast<std::size_t>(Code(e.Key))], e.Roman8) << "Roman8 key " << e.Key;
    }
    // Every printable non-letter key is listed.
    for (int c = 32; c < 127; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        EXPECT_EQ(listed.count(c) == 1, !letter) << "key " << c;
    }
}

TEST(ExtendedChars, ControlsDeleteAndHighCodesGiveNothing)
{
    for (bool roman8 : {true, false}) {
        const ExtendTable& t = ExtendCharTable(roman8);
        for (int c = 0; c < 32; ++c)
            EXPECT_EQ(t[static_cast<std::size_t>(c)], 0) << c;
        for (int c = 127; c < 256; ++c)
            EXPECT_EQ(t[static_cast<std::size_t>(c)], 0) << c;
    }
}

TEST(ExtendedChars, Latin1TableOffersEveryLatin1CharacterOnceExceptTheSoftHyphen)
{
    const ExtendTable& t = ExtendCharTable(false);
    std::multiset<int> given;
    for (int c = 0; c < 256; ++c)
        if (t[static_cast<std::size_t>(c)] != 0)
            given.insert(t[static_cast<std::size_t>(c)]);
    for (int v : given)
        EXPECT_TRUE(v >= 160 && v <= 255) << v;
    for (int v = 160; v <= 255; ++v)
        EXPECT_EQ(given.count(v), v == 173 ? 0u : 1u) << v;
}

TEST(ExtendedChars, TablesDifferOnlyOnTheQuoteAndPercentKeys)
{
    const ExtendTable& roman8 = ExtendCharTable(true);
    const ExtendTable& latin1 = ExtendCharTable(false);
    std::vector<int> differ;
    for (int c = 0; c < 256; ++c)
        if (roman8[static_cast<std::size_t>(c)] != latin1[static_cast<std::size_t>(c)])
            differ.push_back(c);
    EXPECT_EQ(differ, (std::vector<int>{'"', '%', '\''}));
    // Roman8: the OE ligatures and the euro sign (codes a Latin-1 host would
    // take for control characters).
    EXPECT_EQ(roman8['"'], 140);
    EXPECT_EQ(roman8['\''], 156);
    EXPECT_EQ(roman8['%'], 128);
    // The euro sign is what Roman 8's currency sign is shown as, and goes back
    // to it.
    EXPECT_EQ(Latin1ToRoman8Table()[128], 186);
    EXPECT_EQ(Roman8ToLatin1Table()[186], 128);
}

TEST(ExtendedChars, InitExtendCharFollowsTheHostSet)
{
    TerminalState st;
    st.HostRoman8 = true;
    InitExtendChar(st);
    EXPECT_EQ(st.ExtendChar, ExtendCharTable(true));
    EXPECT_EQ(st.ExtendChar['"'], 140);
    st.HostRoman8 = false;
    InitExtendChar(st);
    EXPECT_EQ(st.ExtendChar, ExtendCharTable(false));
    EXPECT_EQ(st.ExtendChar['"'], 168);
    EXPECT_EQ(st.ExtendChar['A'], 193);
}

} // namespace
} // namespace kalvor
