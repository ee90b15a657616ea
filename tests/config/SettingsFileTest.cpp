// The configuration file: the layout written byte for byte, the reading
// rules, damaged, truncated, duplicated and oversized files, and round trips
// of every setting.
#include "ConfigTestSupport.h"

#include "config/PasswordScramble.h"
#include "config/SettingKeys.h"
#include "config/SettingsFile.h"

#include <gtest/gtest.h>

#include <random>

namespace kalvor::config {
namespace {

using test::ReadAll;
using test::TempHome;
using test::WriteAll;

// The layout both goldens share: the banner around the file name line, then
// one line a key, written for every setting at a value other than its
// default and for a fresh start with every setting at its default.
struct GoldenLine {
    const char* Key;
    const char* AllSet;
    const char* Default;
};

const GoldenLine kGoldenLines[] = {
    {"                            Baud Rate = ", "9600", "19200"},
    {"                   Communication Port = ", "COM3", "Com 1"},
    {"                   HandShake Protocol = ", "RTS/CTS", "Xon/Xoff"},
    {"                       Respond to ENQ = ", "Yes", "No"},
    {"                               Parity = ", "Even", "None"},
    {"                  Number of Data Bits = ", "7", "8"},
    {"                  Number of Stop Bits = ", "2", "1"},
    {"                                 Echo = ", "On", "Off"},
    {"                           Font Index = ", "3", "1"},
    {"                           Size Index = ", "2", "0"},
    {"                          Color Index = ", "5", "0"},
    {"                             AutoSave = ", "Yes", "No"},
    {"                      PrintFontHeight = ", "12", "9"},
    {"                         InverseVideo = ", "-1", "0"},
    {"                         Connect Type = ", "0", "1"},
    {"                          Telnet Port = ", "2323", "23"},
    {"                 Telnet Terminal Type = ", "vt-hp", "hp"},
    {"                          TelnetAddr1 = ", "host1.example.com", "localhost:2323 [demonstration host]"},
    {"                          TelnetAddr2 = ", "host2.example.com", ""},
    {"                          TelnetAddr3 = ", "host3.example.com", ""},
    {"                          TelnetAddr4 = ", "host4.example.com", ""},
    {"                          TelnetAddr5 = ", "host5.example.com", ""},
    {"                            NSVT port = ", "1600", "1570"},
    {"                         Network Type = ", "3", "1"},
    {"                        Left Position = ", "120", "0"},
    {"                         Top Position = ", "-40", "0"},
    {"                   Keyboard Enter Key = ", "Enter", "Return"},
    {"                     Numpad Enter Key = ", "Tab", "Enter"},
    {"                    Control Code Flag = ", "False", "True"},
    {"                               MaxRow = ", "899", "14999"},
    {"                     Window Maximized = ", "Yes", "No"},
    {"                       Caps Lock Mode = ", "True", "False"},
    {"                         Cursor Style = ", "Underline", "Block"},
    {"                  Function Key Layout = ", "Natural Elite", "Standard"},
    {"                          TelnetAddr6 = ", "host6.example.com", ""},
    {"                          TelnetAddr7 = ", "host7.example.com", ""},
    {"                          TelnetAddr8 = ", "host8.example.com", ""},
    {"                          TelnetAddr9 = ", "host9.example.com", ""},
    {"                         TelnetAddr10 = ", "host10.example.com", ""},
    {"                          TelnetAddr11= ", "host11.example.com", ""},
    {"                         TelnetAddr12 = ", "host12.example.com", ""},
    {"                         TelnetAddr13 = ", "host13.example.com", ""},
    {"                         TelnetAddr14 = ", "host14.example.com", ""},
    {"                          TelnetAddr15= ", "host15.example.com", ""},
    {"                          TelnetAddr16= ", "host16.example.com", ""},
    {"                         TelnetAddr17 = ", "host17.example.com", ""},
    {"                         TelnetAddr18 = ", "host18.example.com", ""},
    {"                         TelnetAddr19 = ", "host19.example.com", ""},
    {"                         TelnetAddr20 = ", "host20.example.com", ""},
    {"                         TelnetAddr21 = ", "host21.example.com", ""},
    {"                         TelnetAddr22 = ", "host22.example.com", ""},
    {"                         TelnetAddr23 = ", "host23.example.com", ""},
    {"                         TelnetAddr24 = ", "host24.example.com", ""},
    {"                         TelnetAddr25 = ", "host25.example.com", ""},
    {"                         TelnetAddr26 = ", "host26.example.com", ""},
    {"                         TelnetAddr27 = ", "host27.example.com", ""},
    {"                         TelnetAddr28 = ", "host28.example.com", ""},
    {"                         TelnetAddr29 = ", "host29.example.com", ""},
    {"                         TelnetAddr30 = ", "host30.example.com", ""},
    {"                        Phone Number1 = ", "555-0100", "no modem/direct connect to host"},
    {"                        Phone Number2 = ", "555-0101", ""},
    {"                        Phone Number3 = ", "555-0102", ""},
    {"                        Phone Number4 = ", "555-0103", ""},
    {"                        Phone Number5 = ", "555-0104", ""},
    {"                        Phone Number6 = ", "555-0105", ""},
    {"                        Phone Number7 = ", "555-0106", ""},
    {"                        Phone Number8 = ", "555-0107", ""},
    {"                        Phone Number9 = ", "555-0108", ""},
    {"                       Phone Number10 = ", "555-0109", ""},
    {"                      Dial-out prefix = ", "9,", ""},
    {"                             Language = ", "FRENCH", "English"},
    {"                   Host Character Set = ", "ISO Latin-1", "Roman 8/9"},
    {"                                   F1 = ", "LLogon           HELLO\\013", "N   f1           \\027p"},
    {"                                   F2 = ", "TList    Files   ls -l\\092x", "N   f2           \\027q"},
    {"                                   F3 = ", "NExit    Now     \\027&dB bye\\032\\032", "N   f3           \\027r"},
    {"                                   F4 = ", "TKey4            k4\\009", "N   f4           \\027s"},
    {"                                   F5 = ", "TKey5            k5\\009", "N   f5           \\027t"},
    {"                                   F6 = ", "TKey6            k6\\009", "N   f6           \\027u"},
    {"                                   F7 = ", "TKey7            k7\\009", "N   f7           \\027v"},
    {"                                   F8 = ", "TKey8            k8\\009", "N   f8           \\027w"},
    {"                    Max Display Width = ", "132", "80"},
    {"                    Smart Return Mode = ", "True", "False"},
    {"                       SSH User Login = ", "operator", ""},
    {"                   SSH Login Password = ", "38520F040A060F2400051F", ""},
};

std::string Golden(const char* nameLine, bool allSet)
{
    const std::string stars = "            **********************************************************\r\n";
    std::string out = "\r\n\r\n" + stars + stars + "\r\n\r\n" +
                      "                                Tavlex Terminal\r\n"
                      "                            Configuration Settings\r\n"
                      "\r\n" +
                      nameLine + "\r\n\r\n" + stars + stars + "\r\n\r\n";
    for (const GoldenLine& line : kGoldenLines)
        out += std::string(line.Key) + (allSet ? line.AllSet : line.Default) + "\r\n";
    return out;
}

const std::string kAllSetFile =
    Golden("                                config/all.zkd                                  \r\n", true);
const std::string kDefaultFile =
    Golden("                              config/default.zkd                                \r\n", false);

TEST(SettingsFileLayout, EveryKeySetByteForByte)
{
    EXPECT_EQ(FormatSettingsFile("config/all.zkd", test::AllSet()), kAllSetFile);
}

TEST(SettingsFileLayout, DefaultsByteForByte)
{
    EXPECT_EQ(FormatSettingsFile("config/default.zkd", Settings{}), kDefaultFile);
}

TEST(SettingsFileLayout, CreateSettingsFileWritesTheFile)
{
    TempHome home;
    std::filesystem::create_directories(home.Path() / "config");
    WriteAll(home.Path() / "config" / "all.zkd", std::string(5000, 'z')); // replaced whole
    ASSERT_EQ(CreateSettingsFile("config/all.zkd", test::AllSet()), 0);
    EXPECT_EQ(ReadAll(home.Path() / "config" / "all.zkd"), kAllSetFile);
}

TEST(SettingsFileLayout, HeaderIsShorterThan500Bytes)
{
    EXPECT_EQ(SettingsFileHeader("config/default.zkd").size(), 489u);
    EXPECT_EQ(SettingsFileHeader(std::string(60, 'n')).size(), 489u);
    // A name longer than a line is shown cut to 80 characters.
    EXPECT_EQ(SettingsFileHeader(std::string(300, 'n')).size(), 489u);
    EXPECT_EQ(SettingsFileHeader("  config/x.zkd  "), SettingsFileHeader("config/x.zkd"));
}

TEST(SettingsFileLayout, CentringRoundsHalvesToEven)
{
    EXPECT_EQ(CentringSpaces(15), 32); // 31.5 -> 32
    EXPECT_EQ(CentringSpaces(17), 30); // 30.5 -> 30
    EXPECT_EQ(CentringSpaces(22), 28);
    EXPECT_EQ(CentringSpaces(14), 32);
    EXPECT_EQ(CentringSpaces(77), 0); // 0.5 -> 0
    EXPECT_EQ(CentringSpaces(75), 2); // 1.5 -> 2
    EXPECT_EQ(CentringSpaces(79), 0); // -0.5 -> 0
    EXPECT_EQ(CentringSpaces(200), 0);
    const std::string name(17, 'q');
    const std::string header = SettingsFileHeader(name);
    EXPECT_NE(header.find("\r\n" + std::string(30, ' ') + name + std::string(33, ' ') + "\r\n"), std::string::npos);
}

TEST(SettingsFileLayout, IrregularKeyTextsAreKept)
{
    EXPECT_EQ(KeyLine(40, "x"), std::string(26, ' ') + "TelnetAddr11= x\r\n");
    EXPECT_EQ(KeyLine(44, ""), std::string(26, ' ') + "TelnetAddr15= \r\n");
    EXPECT_EQ(KeyLine(45, "y"), std::string(26, ' ') + "TelnetAddr16= y\r\n");
    EXPECT_EQ(KeyLine(39, "z"), std::string(25, ' ') + "TelnetAddr10 = z\r\n");
}

TEST(SettingsFileRoundTrip, EverySettingComesBackUnchanged)
{
    TempHome home;
    std::filesystem::create_directories(home.Path() / "config");
    const Settings written = test::AllSet();
    ASSERT_EQ(CreateSettingsFile("config/all.zkd", written), 0);
    Settings read;
    ASSERT_EQ(ReadSettingsFile("config/all.zkd", read), 0);
    test::ForgetUnread(read, written);
    EXPECT_EQ(read, written);
}

TEST(SettingsFileRoundTrip, EachSettingAloneComesBack)
{
    // One setting changed at a time: the file carries exactly that change.
    const Settings all = test::AllSet();
    for (int key = 1; key <= kKeyCount; ++key) {
        if (key == 10 || key == 12)
            continue; // written, not read back
        Settings one;
        DecodeValue(one, key, EncodeValue(all, key));
        ASSERT_NE(one, Settings{}) << key;
        Settings read;
        ParseSettingsText(FormatSettingsFile("config/one.zkd", one), read);
        EXPECT_EQ(read, one) << KeyText(key);
    }
}

TEST(SettingsFileRoundTrip, RandomSettingsComeBackUnchanged)
{
    std::mt19937 rng(12345);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto text = [&](std::size_t maxLen) {
        std::string s;
        const std::size_t n = static_cast<std::size_t>(pick(static_cast<int>(maxLen) + 1));
        for (std::size_t i = 0; i < n; ++i)
            s.push_back(static_cast<char>(32 + pick(224)));
        // Values are trimmed when read: no spaces at the ends.
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        while (!s.empty() && s.front() == ' ')
            s.erase(0, 1);
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        Settings s;
        for (auto& h : s.Hosts)
            h = text(40);
        for (auto& p : s.Phones)
            p = text(20);
        if (s.Phones[3] == "[direct connect]")
            s.Phones[3].clear();
        s.SshUser = text(30);
        s.SshPassword = text(kMaxPasswordLength);
        s.Language = text(12);
        s.CommPort = text(10);
        s.DialOutPrefix = text(6);
        s.TerminalType = "t" + text(10);
        s.Parity = "p" + text(6);
        s.FontIndex = pick(2000) - 1000;
        s.ColorIndex = pick(13);
        s.PrintFontHeight = pick(26);
        s.InverseVideo = pick(2) == 1;
        s.ConnectType = pick(5) - 2;
        s.TelnetPort = 1 + pick(65535);
        s.NsvtPort = pick(65536);
        s.NetworkType = pick(4);
        s.LeftPosition = pick(100000) - 50000;
        s.TopPosition = pick(100000) - 50000;
        s.KbEnterKey = pick(2);
        s.NumEnterKey = pick(3);
        s.DisplayWidth = std::array{80, 132, 200}[static_cast<std::size_t>(pick(3))];
        s.KeyboardLayout = pick(3);
        s.Cursor = pick(2) == 0 ? CursorStyle::Block : CursorStyle::Underline;
        s.HostCharSet = pick(2) == 0 ? "Roman8" : "Latin1";
        for (auto& k : s.Keys) {
            k.Type = pick(3);
            k.Line1 = text(8);
            k.Line2 = text(8);
            while (!k.Line1.empty() && k.Line1.back() == ' ')
                k.Line1.pop_back();
            k.Text.clear();
            const int n = pick(80);
            for (int i = 0; i < n; ++i)
                k.Text.push_back(static_cast<char>(pick(256)));
        }
        Settings read;
        ParseSettingsText(FormatSettingsFile("config/random.zkd", s), read);
        ASSERT_EQ(read, s) << "round " << round;
    }
}

// The reading rules.

// A header that fills the 500 skipped bytes: the key text starts right after it.
std::string Header()
{
    std::string h = SettingsFileHeader("config/test.zkd");
    h.resize(kHeaderSkip, ' ');
    return h;
}

TEST(SettingsFileReading, FirstOccurrenceWins)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(1, "9600") + KeyLine(1, "300") + KeyLine(3, "None"), s);
    EXPECT_EQ(s.BaudRate, "9600");
    EXPECT_EQ(s.Handshake, "None");
}

TEST(SettingsFileReading, FirstOccurrenceWinsEvenWhenDamaged)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(1, "fast") + KeyLine(1, "300"), s);
    EXPECT_EQ(s.BaudRate, "19200");
}

TEST(SettingsFileReading, KeysAreMatchedInAnyCaseAndSpacing)
{
    Settings s;
    ParseSettingsText(Header() + "   baud rate=2400\r\n" + "TELNETADDR11  =  far.example  \r\n" +
                          "  telnetaddr1 = near.example\r\n",
                      s);
    EXPECT_EQ(s.BaudRate, "2400");
    EXPECT_EQ(s.Hosts[10], "far.example");
    EXPECT_EQ(s.Hosts[0], "near.example");
}

TEST(SettingsFileReading, ValueKeepsEverythingAfterTheFirstEquals)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(18, "a=b = c") + KeyLine(83, "=user="), s);
    EXPECT_EQ(s.Hosts[0], "a=b = c");
    EXPECT_EQ(s.SshUser, "=user=");
}

TEST(SettingsFileReading, UnknownAndMalformedLinesAreSkipped)
{
    Settings s;
    ParseSettingsText(
        Header() + "Colour Depth = 24\r\n" + "no equals sign here\r\n" + "= nameless\r\n" + KeyLine(1, "1200"), s);
    EXPECT_EQ(s.BaudRate, "1200");
}

TEST(SettingsFileReading, AnyLineEndAndBlankLinesAndWhatMakesAFileDamaged)
{
    // LF-only lines, CR LF lines and blank lines between them are all read,
    // and such a file is sound.
    Settings s;
    EXPECT_EQ(ParseSettingsText(Header() + "Baud Rate = 2400\n\n  \r\nParity = Odd\r\n\r\n" + KeyLine(6, "7"), s), "");
    EXPECT_EQ(s.BaudRate, "2400");
    EXPECT_EQ(s.Parity, "Odd");
    EXPECT_EQ(s.DataBits, "7");

    // Each kind of damage is named with its line (the header has 16); the
    // lines around it are read.
    const struct {
        std::string Line;
        std::string Damage;
    } cases[] = {
        {"Colour Depth = 24\r\n", "line 18: an unknown key"},
        {"no equals sign here\n", "line 18: no \"=\""},
        {"Echo = O\x01n\r\n", "line 18: a binary byte"},
        {"TelnetAddr1 = " + std::string(2000, 'h') + "\r\n", "line 18: a line is longer than 1024 characters"},
    };
    for (const auto& c : cases) {
        Settings t;
        EXPECT_EQ(ParseSettingsText(Header() + KeyLine(1, "300") + c.Line + KeyLine(5, "Even"), t), c.Damage);
        EXPECT_EQ(t.BaudRate, "300");
        EXPECT_EQ(t.Parity, "Even");
        EXPECT_EQ(t.Echo, false);
    }
    Settings u;
    EXPECT_EQ(ParseSettingsText(Header() + KeyLine(1, "300") + "Parity = Ev", u),
              "line 18: the last line has no line end and was not read");
    EXPECT_EQ(u.Parity, "None");
}

TEST(SettingsFileReading, KeyLinesAfterAnyHeaderOf500Bytes)
{
    // The first 500 bytes are skipped whatever they hold; the first key line
    // begins before byte 501 and its leading spaces absorb the difference.
    std::string junk(470, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 37 % 256);
    const std::string file = junk + std::string(40, ' ') + "Baud Rate = 4800\r\n" + KeyLine(5, "Odd");
    Settings s;
    ParseSettingsText(file, s);
    EXPECT_EQ(s.BaudRate, "4800");
    EXPECT_EQ(s.Parity, "Odd");
}

TEST(SettingsFileReading, TheSkipIsExactly500Bytes)
{
    // Byte 500 (counted from 1) is the last one skipped: a CR there is not
    // an empty line, and byte 501 is the first one read.
    Settings s;
    ParseSettingsText(std::string(499, 'x') + "\r" + KeyLine(1, "300"), s);
    EXPECT_EQ(s.BaudRate, "300");
    Settings t;
    ParseSettingsText(std::string(500, 'x') + "Parity = Odd\r\n", t);
    EXPECT_EQ(t.Parity, "Odd");
}

TEST(SettingsFileReading, KeyTextInTheFirst500BytesIsNotRead)
{
    Settings s;
    ParseSettingsText("\r\n" + KeyLine(1, "300") + std::string(500, ' ') + "\r\n" + KeyLine(5, "Odd"), s);
    EXPECT_EQ(s.BaudRate, "19200");
    EXPECT_EQ(s.Parity, "Odd");
}

TEST(SettingsFileReading, ReadingStopsAtABlockThatBeginsWithNul)
{
    // Blocks of 100 bytes from byte 501: a NUL at the start of the third
    // block ends the text; a NUL inside a block does not.
    std::string file = Header();
    file.resize(500, ' ');
    std::string keys = KeyLine(1, "600");
    keys.resize(100, ' ');
    keys[60] = '\0';
    keys[98] = '\r';
    keys[99] = '\n';
    std::string second = KeyLine(5, "Even");
    second.resize(100, ' ');
    second[98] = '\r';
    second[99] = '\n';
    std::string third = std::string(1, '\0') + KeyLine(6, "7");
    Settings s;
    ParseSettingsText(file + keys + second + third, s);
    EXPECT_EQ(s.BaudRate, "600");
    EXPECT_EQ(s.Parity, "Even");
    EXPECT_EQ(s.DataBits, "8");
}

TEST(SettingsFileReading, MaxRowThenMaxDisplayWidth)
{
    const auto width = [](const std::string& lines) {
        Settings s;
        ParseSettingsText(Header() + lines, s);
        return s.DisplayWidth;
    };
    EXPECT_EQ(width(KeyLine(30, "599") + KeyLine(81, "132")), 132);
    EXPECT_EQ(width(KeyLine(30, "599")), 200);
    EXPECT_EQ(width(KeyLine(30, "899")), 132);
    EXPECT_EQ(width(KeyLine(81, "200") + KeyLine(30, "899")), 132); // lines apply in file order
    EXPECT_EQ(width(KeyLine(30, "599") + KeyLine(81, "100")), 80);
}

TEST(SettingsFileReading, PrintFontHeightClamp)
{
    const auto read = [](std::string_view v) {
        Settings s;
        s.PrintFontHeight = 14;
        ParseSettingsText(Header() + KeyLine(13, v), s);
        return s.PrintFontHeight;
    };
    EXPECT_EQ(read("30"), 9);
    EXPECT_EQ(read("-1"), 9);
    EXPECT_EQ(read("26"), 9);
    EXPECT_EQ(read("25"), 25);
    EXPECT_EQ(read("0"), 0);
    EXPECT_EQ(read("99999999999999999999"), 9);
    EXPECT_EQ(read("ten"), 14);
    EXPECT_EQ(read(""), 14);
}

TEST(SettingsFileReading, FunctionKeyRecordWithEscapes)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(75, "LLogon           HELLO\\013"), s);
    EXPECT_EQ(s.Keys[2].Type, FunctionKeyRecord::kLocal);
    EXPECT_EQ(s.Keys[2].Line1, "Logon");
    EXPECT_EQ(s.Keys[2].Line2, "");
    EXPECT_EQ(s.Keys[2].Text, "HELLO\r");
}

TEST(SettingsFileReading, FunctionKeyTypeLetters)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(73, "Tab") + KeyLine(74, "Ncd") + KeyLine(75, "Xef") + KeyLine(76, "l"), s);
    EXPECT_EQ(s.Keys[0].Type, FunctionKeyRecord::kNormal);
    EXPECT_EQ(s.Keys[0].Line1, "ab");
    EXPECT_EQ(s.Keys[1].Type, FunctionKeyRecord::kTransmitOnly);
    EXPECT_EQ(s.Keys[2].Type, FunctionKeyRecord::kTransmitOnly);
    EXPECT_EQ(s.Keys[3].Type, FunctionKeyRecord::kTransmitOnly); // lower case is another letter
    EXPECT_EQ(s.Keys[3].Line1, "");
    EXPECT_EQ(s.Keys[3].Text, "");
}

TEST(SettingsFileReading, DamagedValuesKeepTheirSettings)
{
    Settings s;
    const Settings before = s;
    ParseSettingsText(
        Header() + KeyLine(1, "19k") + KeyLine(3, "Hardware") + KeyLine(4, "Maybe") + KeyLine(6, "9") +
            KeyLine(7, "1.5") + KeyLine(8, "Loud") + KeyLine(9, "x1") + KeyLine(11, "13") + KeyLine(14, "yes") +
            KeyLine(15, "serial") + KeyLine(16, "0") + KeyLine(17, "") + KeyLine(23, "-5") + KeyLine(24, "5") +
            KeyLine(25, "left") + KeyLine(27, "Tab") + KeyLine(28, "Space") + KeyLine(29, "Yes") + KeyLine(31, "True") +
            KeyLine(32, "On") + KeyLine(33, "Bar") + KeyLine(34, "Qwerty") + KeyLine(72, "EBCDIC") + KeyLine(73, "") +
            KeyLine(74, "N" + std::string(16, ' ') + "ab\\01") + KeyLine(75, "N" + std::string(16, ' ') + "\\300") +
            KeyLine(76, "N" + std::string(16, ' ') + "\\x41") + KeyLine(82, "1") + KeyLine(84, "ABC") +
            KeyLine(2, std::string("CO\x01M", 4)) + KeyLine(16, "99999999999"),
        s);
    EXPECT_EQ(s, before);
}

TEST(SettingsFileReading, ChoicesInAnyCase)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(3, "rts/cts") + KeyLine(8, "ON") + KeyLine(33, "underline") +
                          KeyLine(34, "natural") + KeyLine(72, "iso latin-1") + KeyLine(27, "ENTER"),
                      s);
    EXPECT_EQ(s.Handshake, "RTS/CTS");
    EXPECT_TRUE(s.Echo);
    EXPECT_EQ(s.Cursor, CursorStyle::Underline);
    EXPECT_EQ(s.KeyboardLayout, 1);
    EXPECT_EQ(s.HostCharSet, "Latin1");
    EXPECT_EQ(s.KbEnterKey, 1);
}

TEST(SettingsFileReading, TelnetPortZeroOrLessIsIgnored)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(16, "-23"), s);
    EXPECT_EQ(s.TelnetPort, 23);
    ParseSettingsText(Header() + KeyLine(16, "8023"), s);
    EXPECT_EQ(s.TelnetPort, 8023);
}

TEST(SettingsFileReading, DirectConnectPhoneEntry)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(60, "[direct connect]") + KeyLine(61, "555-1234"), s);
    EXPECT_EQ(s.Phones[0], "no modem/direct connect to host");
    EXPECT_EQ(s.Phones[1], "555-1234");
}

TEST(SettingsFileReading, WindowPositionsMayCarryDecimals)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(25, "1440.5") + KeyLine(26, "-30.75"), s);
    EXPECT_EQ(s.LeftPosition, 1440); // half to even
    EXPECT_EQ(s.TopPosition, -31);
}

TEST(SettingsFileReading, SizeIndexAndAutoSaveAreNotReadBack)
{
    Settings s;
    ParseSettingsText(Header() + KeyLine(10, "3") + KeyLine(12, "Yes"), s);
    EXPECT_EQ(s.SizeIndex, 0);
    EXPECT_EQ(s.AutoSave, "No");
}

TEST(SettingsFileReading, TruncatedFileKeepsTheRest)
{
    const std::string full = FormatSettingsFile("config/all.zkd", test::AllSet());
    // Cut inside the "Phone Number3" line: that line and everything after
    // it keep their values.
    const std::size_t cut = full.find("Phone Number3 = ") + 18;
    Settings s;
    ParseSettingsText(std::string_view(full).substr(0, cut), s);
    const Settings all = test::AllSet();
    EXPECT_EQ(s.Hosts, all.Hosts);
    EXPECT_EQ(s.Phones[1], all.Phones[1]);
    EXPECT_EQ(s.Phones[2], Settings{}.Phones[2]);
    EXPECT_EQ(s.Keys, Settings{}.Keys);
    EXPECT_EQ(s.SshPassword, "");

    // Every length of cut is read without harm.
    for (std::size_t n = 0; n <= full.size(); n += 7) {
        Settings t;
        ParseSettingsText(std::string_view(full).substr(0, n), t);
    }
}

TEST(SettingsFileReading, EmptyAndShortFilesChangeNothing)
{
    Settings s;
    ParseSettingsText("", s);
    ParseSettingsText(std::string(500, 'x'), s);
    ParseSettingsText(std::string(501, '\r'), s);
    EXPECT_EQ(s, Settings{});
}

TEST(SettingsFileReading, BinaryGarbageNeverHarms)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(static_cast<std::size_t>(rng() % 4000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() % 256);
        if (round % 3 == 0) // some with plausible lines in them
            bytes.insert(std::min<std::size_t>(bytes.size(), 520), KeyLine(static_cast<int>(1 + rng() % 84), "1"));
        Settings s;
        ParseSettingsText(bytes, s);
        // Whatever was read is written and read back the same.
        Settings again;
        ParseSettingsText(FormatSettingsFile("config/x.zkd", s), again);
        test::ForgetUnread(again, s);
        ASSERT_EQ(again, s) << round;
    }
}

TEST(SettingsFileReading, OversizedFileIsReadUpToTheLimit)
{
    TempHome home;
    // An endless line runs past the limit: the lines before it are read,
    // nothing after it.
    std::string file = Header() + KeyLine(5, "Odd") + std::string(kMaxKeyText + 1000, 'A') + "\r\n" + KeyLine(1, "300");
    WriteAll(home.Path() / "config" / "big.zkd", file);
    Settings s;
    ASSERT_EQ(ReadSettingsFile("config/big.zkd", s), 0);
    EXPECT_EQ(s.Parity, "Odd");
    EXPECT_EQ(s.BaudRate, "19200");

    // Many lines: what lies within the limit is read.
    std::string lines = Header() + KeyLine(1, "1200");
    while (lines.size() < kHeaderSkip + kMaxKeyText + 5000)
        lines += "Filler Key = " + std::string(100, 'f') + "\r\n";
    lines += KeyLine(5, "Odd");
    WriteAll(home.Path() / "config" / "big2.zkd", lines);
    Settings t;
    ASSERT_EQ(ReadSettingsFile("config/big2.zkd", t), 0);
    EXPECT_EQ(t.BaudRate, "1200");
    EXPECT_EQ(t.Parity, "None");
}

TEST(SettingsFileReading, MissingFileIsAnErrorAndChangesNothing)
{
    TempHome home;
    Settings s = test::AllSet();
    EXPECT_EQ(ReadSettingsFile("config/none.zkd", s), 76); // no config folder
    std::filesystem::create_directories(home.Path() / "config");
    EXPECT_EQ(ReadSettingsFile("config/none.zkd", s), 53);
    EXPECT_EQ(s, test::AllSet());
    std::filesystem::create_directories(home.Path() / "config" / "dir.zkd");
    EXPECT_NE(ReadSettingsFile("config/dir.zkd", s), 0);
}

TEST(SettingsFileWriting, FailuresReturnTheTableNumber)
{
    TempHome home;
    EXPECT_EQ(CreateSettingsFile("config/x.zkd", Settings{}), 76);
    std::filesystem::create_directories(home.Path() / "config" / "x.zkd" / "inside");
    EXPECT_NE(CreateSettingsFile("config/x.zkd", Settings{}), 0);
}

TEST(SettingsFileWriting, ControlCharactersInTextsCannotBreakTheLines)
{
    Settings s;
    s.Hosts[0] = "evil\r\nBaud Rate = 50";
    s.Keys[0].Line1 = "a\rb";
    const std::string file = FormatSettingsFile("config/x.zkd", s);
    Settings read;
    ParseSettingsText(file, read);
    EXPECT_EQ(read.BaudRate, "19200");
    EXPECT_EQ(read.Hosts[0], "evil  Baud Rate = 50");
    EXPECT_EQ(read.Keys[0].Line1, "a b");
}

} // namespace
} // namespace kalvor::config
