// The connection settings and terminal preferences dialogs without widgets:
// control values into settings, the lists, the port proposal, the refusals,
// and the section each dialog writes, byte for byte.
#include "ConfigTestSupport.h"

#include "config/ConfigPaths.h"
#include "config/Configuration.h"
#include "config/DialogValueLists.h"
#include "config/SetTerminalValues.h"
#include "config/SettingsFile.h"
#include "config/TermSetupValues.h"

#include <gtest/gtest.h>

#include <functional>

namespace kalvor::config {
namespace {

using test::ReadAll;

// A line of the file as it is written: the key text right-aligned in 40
// characters, then the value.
std::string Line(std::string_view key, std::string_view value)
{
    return std::string(40 - key.size(), ' ') + std::string(key) + std::string(value) + "\r\n";
}

TEST(SetTerminalValuesTest, ControlValuesIntoSettings)
{
    using Lines = std::vector<std::string>;
    const struct {
        const char* Name;
        std::function<void(SetTerminalValues&)> Edit;
        Lines Changes; // from the defaults
    } cases[] = {
        {"serial line from its buttons",
         [](SetTerminalValues& v) {
             v.Network = false;
             v.CommPort = " COM 2 ";
             v.BaudRate = "38400";
             v.Handshake = "RTS/CTS";
             v.Parity = "Odd";
             v.EightDataBits = false;
             v.TwoStopBits = true;
             v.EchoOn = true;
             v.RespondToEnq = true;
         },
         {"Baud Rate = 38400", "Communication Port = COM 2", "HandShake Protocol = RTS/CTS", "Respond to ENQ = Yes",
          "Parity = Odd", "Number of Data Bits = 7", "Number of Stop Bits = 2", "Echo = On", "Connect Type = 0"}},
        // A phone entry with the word local means no dialling, the second
        // direct entry being the same entry.
        {"local phone entry",
         [](SetTerminalValues& v) {
             v.PhoneList = {"555-0100", "[direct connect]"};
             v.PhoneText = "Local line";
         },
         {"Phone Number2 = 555-0100"}},
        {"a typed phone number becomes entry 0, blanks are cleared",
         [](SetTerminalValues& v) {
             v.PhoneList = {"555-0100", "   ", "555-0199"};
             v.PhoneText = "555-0199";
         },
         {"Phone Number1 = 555-0199", "Phone Number2 = 555-0100"}},
        {"a new host is added in front, the list keeps 30",
         [](SetTerminalValues& v) {
             v.HostList.clear();
             for (int i = 1; i <= 30; ++i)
                 v.HostList.push_back("h" + std::to_string(i));
             v.HostText = "newhost:2323";
         },
         [] {
             Settings e;
             e.Hosts[0] = "newhost:2323";
             for (std::size_t i = 1; i < 30; ++i)
                 e.Hosts[i] = "h" + std::to_string(i);
             return test::Changes(e);
         }()},
        {"a known host moves to the front",
         [](SetTerminalValues& v) {
             v.HostList = {"a", "b", "c"};
             v.HostText = "c";
         },
         {"TelnetAddr1 = c", "TelnetAddr2 = a", "TelnetAddr3 = b"}},
        {"local program with an empty command: the login shell, and no port keeps the setting",
         [](SetTerminalValues& v) {
             v.Kind = NetworkKind::LocalProgram;
             v.HostList = {"bash -l"};
             v.HostText = "";
             v.NetPort = "";
         },
         {"TelnetAddr1 = ", "TelnetAddr2 = bash -l", "Network Type = 4"}},
        {"network kind, port, terminal type and SSH login",
         [](SetTerminalValues& v) {
             v.Kind = NetworkKind::Ssh2;
             v.NetPort = "2222";
             v.TerminalType = " hp70092 ";
             v.SshUser = "operator";
             v.SshPassword = "pw";
         },
         {"Telnet Port = 2222", "Telnet Terminal Type = hp70092", "Network Type = 3", "SSH User Login = operator",
          "SSH Login Password = 3B16"}},
    };
    for (const auto& c : cases) {
        Settings s;
        SetTerminalValues v = SetTerminalValuesFrom(s);
        c.Edit(v);
        ASSERT_EQ(CheckSetTerminalValues(v), std::nullopt) << c.Name;
        GetSetTermValues(v, s);
        EXPECT_EQ(test::Changes(s), c.Changes) << c.Name;
    }
}

TEST(SetTerminalValuesTest, ControlsShowTheSettings)
{
    Settings s = test::AllSet();
    s.Parity = "Mark";
    const SetTerminalValues v = SetTerminalValuesFrom(s);
    EXPECT_FALSE(v.Network);
    EXPECT_EQ(v.Parity, "None") << "only None, Even and Odd have buttons";
    EXPECT_FALSE(v.EightDataBits);
    EXPECT_TRUE(v.TwoStopBits);
    EXPECT_EQ(v.NetPort, "2323");
    EXPECT_EQ(v.HostText, "host1.example.com");
    EXPECT_EQ(v.HostList.size(), 30u);
    EXPECT_EQ(v.PhoneList.back(), kDirectConnect) << "no dialling is always offered";
    EXPECT_EQ(GetBaudIndex("9600"), 5);
    EXPECT_EQ(GetBaudIndex("115200"), -1);

    // Unchanged values store the same settings (the direct entry offered
    // takes no place of a number).
    Settings back = s;
    GetSetTermValues(v, back);
    back.Parity = "Mark";
    for (int i = 0; i < kPhoneEntries; ++i)
        EXPECT_EQ(back.Phones[static_cast<std::size_t>(i)],
                  i == 9 ? "555-0109" : s.Phones[static_cast<std::size_t>(i)]);
}

TEST(SetTerminalValuesTest, PortProposedWhenTheKindChangesFamily)
{
    using K = NetworkKind;
    struct Case {
        K from, to;
        std::optional<std::string> port;
    };
    const Case cases[] = {
        {K::TelnetStandard, K::Ssh2, "22"},
        {K::TelnetAdvanced, K::Ssh1, "22"},
        {K::Ssh2, K::TelnetStandard, "23"},
        {K::Ssh1, K::Ssh2, std::nullopt},
        {K::TelnetStandard, K::TelnetAdvanced, std::nullopt},
        {K::LocalProgram, K::Ssh2, "22"},
        {K::TelnetStandard, K::LocalProgram, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProposedPort(c.from, c.to), c.port) << NetworkKindNumber(c.from) << " -> " << NetworkKindNumber(c.to);
}

TEST(SetTerminalValuesTest, ImpossibleValuesAreRefused)
{
    struct Case {
        std::function<void(SetTerminalValues&)> edit;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {[](SetTerminalValues& v) { v.BaudRate = "96o0"; }, "The baud rate must be a number, such as 9600."},
        {[](SetTerminalValues& v) { v.BaudRate = "0"; }, "The baud rate must be a number, such as 9600."},
        {[](SetTerminalValues& v) { v.NetPort = "70000"; }, "The network port must be a number from 1 to 65535."},
        {[](SetTerminalValues& v) { v.NetPort = ""; }, "The network port must be a number from 1 to 65535."},
        {[](SetTerminalValues& v) { v.TerminalType = "  "; }, "The terminal type cannot be empty."},
        {[](SetTerminalValues& v) {
             v.Network = false;
             v.CommPort = "modem";
         },
         "The communication port must name a port number, such as COM 1."},
        // Network values do not matter on a serial line, nor the port of a local program.
        {[](SetTerminalValues& v) {
             v.Network = false;
             v.NetPort = "x";
         },
         nullptr},
        {[](SetTerminalValues& v) {
             v.Kind = NetworkKind::LocalProgram;
             v.NetPort = "";
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SetTerminalValues v = SetTerminalValuesFrom(Settings{});
        c.edit(v);
        const auto message = CheckSetTerminalValues(v);
        if (c.message == nullptr)
            EXPECT_EQ(message, std::nullopt);
        else
            EXPECT_EQ(message, std::optional<std::string>(c.message));
    }
}

// Each dialog writes its own section into the current file: the file held
// the defaults, the window's settings differ in a key of another section,
// and only the dialog's keys change.
class SectionWrittenTest : public ::testing::Test {
protected:
    SectionWrittenTest()
    {
        std::filesystem::create_directories(home.Path() / kConfigFolder);
        EXPECT_EQ(CreateSettingsFile(config.CurrentFile(), Settings{}), 0);
        config.Values().ColorIndex = 7;    // not in either section: stays 0 in the file
        config.Values().BaudRate = "1200"; // communication: written only with NewCommConfig
    }
    std::string FileText() { return ReadAll(ConfigPath(config.CurrentFile())); }

    test::TempHome home;
    logging::ErrorReport errors;
    Configuration config{errors};
};

TEST_F(SectionWrittenTest, ConnectionSettingsWriteNewCommConfig)
{
    SetTerminalValues v = SetTerminalValuesFrom(config.Values());
    v.Kind = NetworkKind::LocalProgram;
    v.HostText = "top -d 1";
    v.PhoneText = "local";
    v.SshUser = "operator";
    ASSERT_EQ(AcceptConnectionSettings(config, v), 0);

    Settings expected;
    expected.BaudRate = "1200";
    expected.NetworkType = 4;
    expected.Hosts[0] = "top -d 1";
    expected.Hosts[1] = Settings{}.Hosts[0]; // the previous host moves down the list
    expected.SshUser = "operator";
    EXPECT_EQ(FileText(), FormatSettingsFile(config.CurrentFile(), expected));
}

TEST_F(SectionWrittenTest, TerminalPreferencesWriteNewTerminalPref)
{
    OpenTermPreferences(config);
    TermSetupValues v = TermSetupValuesFrom(config.Values());
    EXPECT_EQ(v.Language, 2) << "English";
    v.DisplayWidth = 200;
    v.KbEnterKey = 1;
    v.NumEnterKey = 2;
    v.SmartReturn = true;
    v.KeyboardLayout = 2;
    v.Language = LanguageIndex("portugese");
    v.Latin1 = true;
    v.CapsOnly = true;
    v.BlockCursor = false;
    TermSetupValues bad = v;
    bad.KbEnterKey = 2;
    EXPECT_EQ(CheckTermSetupValues(bad),
              std::optional<std::string>("The main Enter key can act as Return or Enter only."));
    bad = v;
    bad.DisplayWidth = 100;
    EXPECT_NE(CheckTermSetupValues(bad), std::nullopt);
    ASSERT_EQ(AcceptTermPreferences(config, v), 0);
    EXPECT_FALSE(config.TermConfigPending());
    EXPECT_EQ(TermSetupValuesFrom(config.Values()), v);

    Settings expected;
    expected.DisplayWidth = 200;
    expected.KbEnterKey = 1;
    expected.NumEnterKey = 2;
    expected.SmartReturn = true;
    expected.KeyboardLayout = 2;
    expected.Language = "PORTUGESE";
    expected.HostCharSet = "Latin1";
    expected.CapsLockMode = true;
    expected.Cursor = CursorStyle::Underline;
    // "MaxRow = " belongs to no section: the file keeps its line, and the
    // later "Max Display Width = " line decides when it is read.
    std::string text = FormatSettingsFile(config.CurrentFile(), expected);
    const std::string maxRow = Line("MaxRow = ", "599");
    ASSERT_NE(text.find(maxRow), std::string::npos);
    text.replace(text.find(maxRow), maxRow.size(), Line("MaxRow = ", "14999"));
    EXPECT_EQ(FileText(), text);
}

} // namespace
} // namespace kalvor::config
