// The configuration file: the layout written byte for byte (goldens/), the
// reading rules, damaged, truncated and oversized files, and round trips.
#include "ConfigTestSupport.h"

#include "config/SettingKeys.h"
#include "config/SettingsFile.h"

#include <gtest/gtest.h>

namespace kalvor::config {
namespace {

using test::ReadAll;
using test::TempHome;
using test::WriteAll;

const std::filesystem::path kGoldens = KALVOR_CONFIG_GOLDENS;

TEST(SettingsFileLayout, GoldensByteForByte)
{
    EXPECT_EQ(FormatSettingsFile("config/all.zkd", test::AllSet()), ReadAll(kGoldens / "all.zkd"));
    EXPECT_EQ(FormatSettingsFile("config/default.zkd", Settings{}), ReadAll(kGoldens / "default.zkd"));
    TempHome home;
    WriteAll(home.Path() / "config" / "all.zkd", std::string(5000, 'z')); // replaced whole
    ASSERT_EQ(CreateSettingsFile("config/all.zkd", test::AllSet()), 0);
    EXPECT_EQ(ReadAll(home.Path() / "config" / "all.zkd"), ReadAll(kGoldens / "all.zkd"));
}

TEST(SettingsFileLayout, HeaderCentresTheNameRoundingHalvesToEven)
{
    for (const auto& [length, spaces] : std::initializer_list<std::pair<int, int>>{
             {15, 32}, {17, 30}, {14, 32}, {77, 0}, {75, 2}, {79, 0}, {300, 0}}) {
        const std::string name(static_cast<std::size_t>(length), 'q');
        const std::string header = SettingsFileHeader(name);
        EXPECT_EQ(header.size(), 489u) << length;
        const std::string shown = name.substr(0, 80);
        EXPECT_NE(header.find("\r\n" + std::string(static_cast<std::size_t>(spaces), ' ') + shown), std::string::npos)
            << length;
    }
    EXPECT_EQ(SettingsFileHeader("  config/x.zkd  "), SettingsFileHeader("config/x.zkd"));
}

TEST(SettingsFileRoundTrip, EverySettingComesBackAlone)
{
    // All of them together: SaveSaveAsAndOpenRecordTheCurrentFile.
    const Settings all = test::AllSet();
    for (int key = 1; key <= kKeyCount; ++key) {
        if (key == 10 || key == 12)
            continue; // written, not read back
        Settings one;
        DecodeValue(one, key, EncodeValue(all, key));
        ASSERT_NE(one, Settings{}) << key;
        Settings back;
        ParseSettingsText(FormatSettingsFile("config/one.zkd", one), back);
        EXPECT_EQ(back, one) << KeyText(key);
    }
}

// A header that fills the 500 skipped bytes: the key text starts right after it.
std::string H(const std::string& lines)
{
    std::string h = SettingsFileHeader("config/test.zkd");
    h.resize(kHeaderSkip, ' ');
    return h + lines;
}

std::string K(int key, std::string_view value) { return KeyLine(key, value); }

TEST(SettingsFileReading, Rules)
{
    const std::string junk = [] {
        std::string j(470, '\0');
        for (std::size_t i = 0; i < j.size(); ++i)
            j[i] = static_cast<char>(i * 37 % 256);
        return j;
    }();
    const std::string blank(16, ' ');
    const struct {
        std::string File;
        int Key;
        std::string Expected; // as the file writes the setting
    } rows[] = {
        // The first occurrence wins, even when damaged.
        {H(K(1, "9600") + K(1, "300")), 1, "9600"},
        {H(K(1, "fast") + K(1, "300")), 1, "19200"},
        // Keys in any case and spacing; the value is all after the first "=", trimmed.
        {H("   baud rate=2400\r\n"), 1, "2400"},
        {H("TELNETADDR11  =  far.example  \r\n"), 40, "far.example"},
        {H(K(18, "a=b = c")), 18, "a=b = c"},
        {H("Colour Depth = 24\r\nno equals sign here\r\n= nameless\r\n" + K(1, "1200")), 1, "1200"},
        // LF and CR LF line ends, blank lines.
        {H("Baud Rate = 2400\n\n  \r\nParity = Odd\r\n"), 5, "Odd"},
        // The first 500 bytes are skipped whatever they hold, no more, no less.
        {junk + std::string(40, ' ') + "Baud Rate = 4800\r\n", 1, "4800"},
        {std::string(499, 'x') + "\r" + K(1, "300"), 1, "300"},
        {std::string(500, 'x') + "Parity = Odd\r\n", 5, "Odd"},
        {"\r\n" + K(1, "300") + std::string(500, ' ') + "\r\n" + K(5, "Odd"), 1, "19200"},
        // MaxRow, then Max Display Width, in file order.
        {H(K(30, "599")), 81, "200"},
        {H(K(81, "200") + K(30, "899")), 81, "132"},
        {H(K(30, "599") + K(81, "100")), 81, "80"},
        // Print font height: out of range is 9, not a number is ignored.
        {H(K(13, "-1")), 13, "9"},
        {H(K(13, "26")), 13, "9"},
        {H(K(13, "25")), 13, "25"},
        {H(K(13, "99999999999999999999")), 13, "9"},
        {H(K(13, "ten")), 13, "14"},
        // Function keys: the type letter, then two 8-character labels.
        {H(K(75, "LLogon           HELLO\\013")), 75, "LLogon           HELLO\\013"},
        {H(K(73, "Tab")), 73, EncodeFunctionKey({FunctionKeyRecord::kNormal, "ab", "", ""})},
        {H(K(74, "Ncd")), 74, EncodeFunctionKey({FunctionKeyRecord::kTransmitOnly, "cd", "", ""})},
        {H(K(75, "Xef")), 75, EncodeFunctionKey({FunctionKeyRecord::kTransmitOnly, "ef", "", ""})},
        // Choices in any case.
        {H(K(3, "rts/cts")), 3, "RTS/CTS"},
        {H(K(8, "ON")), 8, "On"},
        // Ports from 1, positions rounded half to even, size and autosave not read.
        {H(K(16, "-23")), 16, "23"},
        {H(K(25, "1440.5")), 25, "1440"},
        {H(K(26, "-30.75")), 26, "-31"},
        {H(K(10, "3")), 10, "0"},
        {H(K(12, "Yes")), 12, "No"},
        {H(K(60, "[direct connect]") + K(61, "555-1234")), 61, "555-1234"},
    };
    for (const auto& row : rows) {
        Settings s;
        s.PrintFontHeight = 14;
        ParseSettingsText(row.File, s);
        EXPECT_EQ(EncodeValue(s, row.Key), row.Expected) << KeyText(row.Key) << " from " << row.File.substr(500);
    }
}

TEST(SettingsFileReading, DamagedValuesKeepTheirSettings)
{
    const std::string n = "N" + std::string(16, ' ');
    Settings s;
    ParseSettingsText(H(K(1, "19k") + K(3, "Hardware") + K(4, "Maybe") + K(6, "9") + K(7, "1.5") + K(8, "Loud") +
                        K(9, "x1") + K(11, "13") + K(14, "yes") + K(15, "serial") + K(16, "0") + K(17, "") +
                        K(23, "-5") + K(24, "5") + K(25, "left") + K(27, "Tab") + K(28, "Space") + K(29, "Yes") +
                        K(31, "True") + K(32, "On") + K(33, "Bar") + K(34, "Qwerty") + K(72, "EBCDIC") + K(73, "") +
                        K(74, n + "ab\\01") + K(75, n + "\\300") + K(76, n + "\\x41") + K(82, "1") + K(84, "ABC") +
                        K(2, std::string("CO\x01M", 4)) + K(16, "99999999999")),
                      s);
    EXPECT_EQ(s, Settings{});
    ParseSettingsText("", s);
    ParseSettingsText(std::string(500, 'x'), s);
    ParseSettingsText(std::string(501, '\r'), s);
    EXPECT_EQ(s, Settings{});
}

TEST(SettingsFileReading, WhatMakesAFileDamagedIsNamedWithItsLine)
{
    // The header has 16 lines; the lines around the damage are read.
    const struct {
        std::string Line;
        std::string Damage;
    } cases[] = {
        {"Baud Rate = 2400\n\n  \r\n", ""},
        {"Colour Depth = 24\r\n", "line 18: an unknown key"},
        {"no equals sign here\n", "line 18: no \"=\""},
        {"Echo = O\x01n\r\n", "line 18: a binary byte"},
        {"TelnetAddr1 = " + std::string(2000, 'h') + "\r\n", "line 18: a line is longer than 1024 characters"},
    };
    for (const auto& c : cases) {
        Settings t;
        EXPECT_EQ(ParseSettingsText(H(K(6, "7") + c.Line + K(5, "Even")), t), c.Damage);
        EXPECT_EQ(t.DataBits, "7");
        EXPECT_EQ(t.Parity, "Even");
    }
    Settings u;
    EXPECT_EQ(ParseSettingsText(H(K(1, "300") + "Parity = Ev"), u),
              "line 18: the last line has no line end and was not read");
    EXPECT_EQ(u.Parity, "None");
}

TEST(SettingsFileReading, ReadingStopsAtABlockThatBeginsWithNul)
{
    // Blocks of 100 bytes from byte 501: a NUL at the start of the third
    // block ends the text; a NUL inside a block does not.
    const auto block = [](std::string line, std::size_t nulAt) {
        line.resize(100, ' ');
        line.replace(98, 2, "\r\n");
        if (nulAt > 0)
            line[nulAt] = '\0';
        return line;
    };
    Settings s;
    ParseSettingsText(H(block(K(1, "600"), 60) + block(K(5, "Even"), 0) + '\0' + K(6, "7")), s);
    EXPECT_EQ(s.BaudRate, "600");
    EXPECT_EQ(s.Parity, "Even");
    EXPECT_EQ(s.DataBits, "8");
}

TEST(SettingsFileReading, OversizedFileIsReadUpToTheLimit)
{
    TempHome home;
    // An endless line: the lines before it are read, nothing after it (a
    // reader without the limit would take the line after it).
    WriteAll(home.Path() / "config" / "big.zkd",
             H(K(5, "Odd") + std::string(kMaxKeyText + 1000, 'A') + "\r\n" + K(1, "300")));
    Settings s;
    ASSERT_EQ(ReadSettingsFile("config/big.zkd", s), 0);
    EXPECT_EQ(s.Parity, "Odd");
    EXPECT_EQ(s.BaudRate, "19200");
}

TEST(SettingsFileReading, MissingOrUnwritableFilesAreErrorsAndChangeNothing)
{
    TempHome home;
    Settings s = test::AllSet();
    EXPECT_EQ(ReadSettingsFile("config/none.zkd", s), 76); // no config folder
    EXPECT_EQ(CreateSettingsFile("config/x.zkd", Settings{}), 76);
    std::filesystem::create_directories(home.Path() / "config" / "dir.zkd" / "inside");
    EXPECT_EQ(ReadSettingsFile("config/none.zkd", s), 53);
    EXPECT_EQ(s, test::AllSet());
    EXPECT_NE(ReadSettingsFile("config/dir.zkd", s), 0);
    EXPECT_NE(CreateSettingsFile("config/dir.zkd", Settings{}), 0);
}

TEST(SettingsFileWriting, ControlCharactersInTextsCannotBreakTheLines)
{
    Settings s;
    s.Hosts[0] = "evil\r\nBaud Rate = 50";
    s.Keys[0].Line1 = "a\rb";
    Settings read;
    ParseSettingsText(FormatSettingsFile("config/x.zkd", s), read);
    EXPECT_EQ(read.BaudRate, "19200");
    EXPECT_EQ(read.Hosts[0], "evil  Baud Rate = 50");
    EXPECT_EQ(read.Keys[0].Line1, "a b");
}

} // namespace
} // namespace kalvor::config
