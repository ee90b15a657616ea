// The function-key record and the password scrambling (the key names and
// texts and the encodings of each value are checked by the goldens and the
// round trip of every setting).
#include "ConfigTestSupport.h"

#include "config/PasswordScramble.h"
#include "config/SettingKeys.h"

#include <gtest/gtest.h>

#include <optional>

namespace kalvor::config {
namespace {

TEST(FunctionKeyRecords, EncodedAndDecoded)
{
    const struct {
        FunctionKeyRecord Key;
        std::string Encoded;
    } rows[] = {
        {{1, "Logon", "", "HELLO\r"}, "LLogon           HELLO\\013"},
        {{0, "   f1", "x", "a\\b"}, "T   f1   x       a\\092b"},
        {{2, "", "", std::string("\0\x1f", 2)}, "N                \\000\\031"},
        // Inner spaces stay; trailing ones are written as codes.
        {{0, "", "", " a b  "}, "T                 a b\\032\\032"},
        // Characters from 127 up are written as themselves.
        {{0, "\xe9t\xe9", "", "\x7f\xff"}, "T\xe9t\xe9             \x7f\xff"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(EncodeFunctionKey(row.Key), row.Encoded);
        EXPECT_EQ(DecodeFunctionKey(row.Encoded), row.Key) << row.Encoded;
    }
    // Labels longer than a line are cut to 8 characters.
    EXPECT_EQ(EncodeFunctionKey({2, "123456789", "abcdefghij", "s"}), "N12345678abcdefghs");
    EXPECT_EQ(DecodeFunctionKey("LAB"), (FunctionKeyRecord{1, "AB", "", ""}));
    for (const char* damaged :
         {"", "N                \\", "N                \\12", "N                \\256", "N                \\-12"})
        EXPECT_FALSE(DecodeFunctionKey(damaged)) << damaged;
}

TEST(PasswordScrambling, TwoUpperCaseHexDigitsPerCharacter)
{
    // 'p' ^ 'K' = 0x3B, 'w' ^ 'a' = 0x16; a character equal to the key's gives 00.
    EXPECT_EQ(ScramblePassword("pw"), "3B16");
    EXPECT_EQ(ScramblePassword("K"), "00");
    EXPECT_EQ(ScramblePassword(std::string(73, 'A')).substr(0, 20), "0A202D372E336E152037");
    std::string every;
    for (int c = 1; c < 256; ++c)
        if (c != ' ')
            every.push_back(static_cast<char>(c));
    for (std::size_t from = 0; from < every.size(); from += 73)
        EXPECT_EQ(Decrypt(ScramblePassword(every.substr(from, 73))), every.substr(from, 73));
    // Leading and trailing spaces are not kept, nor more than 73 characters.
    EXPECT_EQ(Decrypt(ScramblePassword("  pad  ")), "pad");
    EXPECT_EQ(Decrypt(ScramblePassword(std::string(80, 'x'))), std::string(73, 'x'));
    for (const std::string& damaged :
         {std::string("3B1"), std::string("3b16"), std::string("3G16"), std::string("3B 6"), std::string(148, '0')})
        EXPECT_FALSE(Decrypt(damaged)) << damaged;
    EXPECT_TRUE(Decrypt(std::string(146, '0')));
}

} // namespace
} // namespace kalvor::config
