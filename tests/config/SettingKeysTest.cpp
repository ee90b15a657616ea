// The 84 keys, their sections, the function-key record and the password
// scrambling.
#include "ConfigTestSupport.h"

#include "config/PasswordScramble.h"
#include "config/SettingKeys.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace kalvor::config {
namespace {

TEST(SettingKeyTable, EveryKeyHasItsOwnName)
{
    std::set<std::string> names;
    for (int i = 1; i <= kKeyCount; ++i) {
        const std::string name = KeyName(i);
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(FindKey(name), i) << name;
        EXPECT_TRUE(KeyText(i).ends_with("= "));
        EXPECT_LT(KeyText(i).size(), 40u);
    }
    // The texts themselves are checked by the settings file's golden files.
    EXPECT_EQ(KeyText(0), "");
    EXPECT_EQ(KeyText(kKeyCount + 1), "");
    EXPECT_EQ(KeyName(40), "TELNETADDR11");
    EXPECT_EQ(KeyName(18), "TELNETADDR1");
    EXPECT_EQ(KeyName(23), "NSVT PORT");
    EXPECT_EQ(FindKey("TELNETADDR31"), 0);
    EXPECT_EQ(FindKey(""), 0);
    EXPECT_EQ(LineName("  Baud rate "), "BAUD RATE");
}

TEST(SettingKeyTable, SectionMembership)
{
    const auto members = [](Section s) {
        std::vector<int> m;
        for (int i = 1; i <= kKeyCount; ++i)
            if (InSection(i, s))
                m.push_back(i);
        return m;
    };
    std::vector<int> comm;
    for (int i = 1; i <= 8; ++i)
        comm.push_back(i);
    for (int i = 15; i <= 24; ++i)
        comm.push_back(i);
    for (int i = 35; i <= 70; ++i)
        comm.push_back(i);
    comm.push_back(83);
    comm.push_back(84);
    EXPECT_EQ(members(Section::Comm), comm);
    EXPECT_EQ(members(Section::FuncKey), (std::vector<int>{73, 74, 75, 76, 77, 78, 79, 80}));
    EXPECT_EQ(members(Section::TerminalPref), (std::vector<int>{27, 28, 32, 33, 34, 71, 72, 81, 82}));
    EXPECT_EQ(members(Section::Print), std::vector<int>{13});
}

TEST(SettingKeyTable, SectionNamesInAnyCase)
{
    EXPECT_EQ(SectionByName("NewCommConfig"), Section::Comm);
    EXPECT_EQ(SectionByName("newcommconfig"), Section::Comm);
    EXPECT_EQ(SectionByName("NEWFUNCKEYCONFIG"), Section::FuncKey);
    EXPECT_EQ(SectionByName("NewTerminalPref"), Section::TerminalPref);
    EXPECT_EQ(SectionByName("NewPrintConfig"), Section::Print);
    EXPECT_FALSE(SectionByName("NewColorConfig").has_value());
    EXPECT_FALSE(SectionByName("").has_value());
}

TEST(SettingValues, WidthAndMaxRow)
{
    EXPECT_EQ(WidthFromMaxRow("599"), 200);
    EXPECT_EQ(WidthFromMaxRow("899"), 132);
    EXPECT_EQ(WidthFromMaxRow("14999"), 80);
    EXPECT_EQ(WidthFromMaxRow("junk"), 80);
    EXPECT_EQ(MaxRowForWidth(200), 599);
    EXPECT_EQ(MaxRowForWidth(132), 899);
    EXPECT_EQ(MaxRowForWidth(80), 14999);
}

TEST(SettingValues, EncodingsOfChoices)
{
    Settings s;
    EXPECT_EQ(EncodeValue(s, 4), "No");
    EXPECT_EQ(EncodeValue(s, 8), "Off");
    EXPECT_EQ(EncodeValue(s, 14), "0");
    EXPECT_EQ(EncodeValue(s, 27), "Return");
    EXPECT_EQ(EncodeValue(s, 28), "Enter");
    EXPECT_EQ(EncodeValue(s, 29), "True");
    EXPECT_EQ(EncodeValue(s, 33), "Block");
    EXPECT_EQ(EncodeValue(s, 34), "Standard");
    EXPECT_EQ(EncodeValue(s, 72), "Roman 8/9");
    EXPECT_EQ(EncodeValue(s, 81), "80");
    s.NumEnterKey = 0;
    s.KeyboardLayout = 1;
    s.InverseVideo = true;
    EXPECT_EQ(EncodeValue(s, 28), "Return");
    EXPECT_EQ(EncodeValue(s, 34), "Natural");
    EXPECT_EQ(EncodeValue(s, 14), "-1");
    EXPECT_TRUE(DecodeValue(s, 14, "1"));
    EXPECT_TRUE(s.InverseVideo);
    EXPECT_TRUE(DecodeValue(s, 14, "0"));
    EXPECT_FALSE(s.InverseVideo);
}

TEST(FunctionKeyRecords, LayoutOfTheRecord)
{
    EXPECT_EQ(EncodeFunctionKey({1, "Logon", "", "HELLO\r"}), "LLogon           HELLO\\013");
    EXPECT_EQ(EncodeFunctionKey({0, "   f1", "x", "a\\b"}), "T   f1   x       a\\092b");
    EXPECT_EQ(EncodeFunctionKey({2, "", "", ""}), "N                ");
    EXPECT_EQ(EncodeFunctionKey({2, "", "", std::string("\0\x1f", 2)}), "N                \\000\\031");
    // Labels longer than a line are cut to 8 characters.
    EXPECT_EQ(EncodeFunctionKey({2, "123456789", "abcdefghij", "s"}), "N12345678abcdefghs");
    // Inner spaces stay as they are; trailing ones are written as codes.
    EXPECT_EQ(EncodeFunctionKey({0, "", "", " a b  "}), "T                 a b\\032\\032");
    EXPECT_EQ(EncodeFunctionKey({0, "", "", "  "}), "T                \\032\\032");
    // Characters from 127 up are written as themselves.
    EXPECT_EQ(EncodeFunctionKey({0, "\xe9t\xe9", "", "\x7f\xff"}), "T\xe9t\xe9             \x7f\xff");
}

TEST(FunctionKeyRecords, ReadingTheRecord)
{
    using Record = std::optional<FunctionKeyRecord>;
    EXPECT_EQ(DecodeFunctionKey("TList    Files   ls -l\\092x\\013"), (Record{{0, "List", "Files", "ls -l\\x\r"}}));
    EXPECT_EQ(DecodeFunctionKey("LAB"), (Record{{1, "AB", "", ""}}));
    EXPECT_EQ(DecodeFunctionKey("N   f1           \\027p"), (Record{{2, "   f1", "", "\x1bp"}}));

    EXPECT_EQ(DecodeFunctionKey("N                \\255"), (Record{{2, "", "", "\xff"}}));
    for (const char* damaged :
         {"", "N                \\", "N                \\12", "N                \\256", "N                \\-12"})
        EXPECT_FALSE(DecodeFunctionKey(damaged)) << damaged;
}

TEST(FunctionKeyRecords, EveryByteRoundTrips)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    const FunctionKeyRecord key{2, "Line one", "Line two", all + "  "};
    std::string encoded = EncodeFunctionKey(key);
    const auto back = DecodeFunctionKey(encoded);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, key);
    for (char c : encoded)
        EXPECT_GE(static_cast<unsigned char>(c), 32);
}

TEST(PasswordScrambling, TwoUpperCaseHexDigitsPerCharacter)
{
    // 'p' ^ 'K' = 0x3B, 'w' ^ 'a' = 0x16.
    EXPECT_EQ(ScramblePassword("pw"), "3B16");
    EXPECT_EQ(ScramblePassword(std::string(73, 'A')).substr(0, 20), "0A202D372E336E152037");
    EXPECT_EQ(ScramblePassword(""), "");
    // A character equal to the key's gives 00.
    EXPECT_EQ(ScramblePassword("K"), "00");
}

TEST(PasswordScrambling, DecryptReversesIt)
{
    EXPECT_EQ(Decrypt("3B16"), "pw");
    EXPECT_EQ(Decrypt(""), "");
    EXPECT_EQ(Decrypt(ScramblePassword("s3cret pass")), "s3cret pass");
    std::string every;
    for (int c = 1; c < 256; ++c)
        if (c != ' ')
            every.push_back(static_cast<char>(c));
    for (std::size_t from = 0; from < every.size(); from += 73) {
        const std::string part = every.substr(from, 73);
        EXPECT_EQ(Decrypt(ScramblePassword(part)), part);
    }
}

TEST(PasswordScrambling, LimitsOfTheScheme)
{
    // Leading and trailing spaces are not kept.
    EXPECT_EQ(Decrypt(ScramblePassword("  pad  ")), "pad");
    // Only 73 characters are kept.
    const std::string longer(80, 'x');
    EXPECT_EQ(ScramblePassword(longer).size(), 146u);
    EXPECT_EQ(Decrypt(ScramblePassword(longer)), std::string(73, 'x'));
}

TEST(PasswordScrambling, DamagedStoredFormsAreRefused)
{
    EXPECT_FALSE(Decrypt("3B1"));
    EXPECT_FALSE(Decrypt("3b16"));
    EXPECT_FALSE(Decrypt("3G16"));
    EXPECT_FALSE(Decrypt("3B 6"));
    EXPECT_FALSE(Decrypt(std::string(148, '0')));
    EXPECT_TRUE(Decrypt(std::string(146, '0')));
}

} // namespace
} // namespace kalvor::config
