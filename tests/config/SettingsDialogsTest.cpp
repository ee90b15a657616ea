// The connection settings and terminal preferences dialogs without widgets:
// control values into settings, the lists, the port proposal, the refusals,
// and the section the preferences write, byte for byte. The widgets, the
// serial line and the SSH login are driven in tests/ui/SettingsDialogsTest.
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

using Edit = std::function<void(SetTerminalValues&)>;

// The lines of the settings file that an edit of the default values changes.
std::vector<std::string> Changes(const Edit& edit)
{
    Settings s;
    SetTerminalValues v = SetTerminalValuesFrom(s);
    edit(v);
    EXPECT_EQ(CheckSetTerminalValues(v), std::nullopt);
    GetSetTermValues(v, s);
    return test::Changes(s);
}

TEST(SetTerminalValuesTest, ListsAndLocalProgramIntoSettings)
{
    using Lines = std::vector<std::string>;
    // A typed phone number becomes entry 0, blanks are cleared.
    EXPECT_EQ(Changes([](SetTerminalValues& v) {
                  v.PhoneList = {"555-0100", "   ", "555-0199"}, v.PhoneText = "555-0199";
              }),
              (Lines{"Phone Number1 = 555-0199", "Phone Number2 = 555-0100"}));
    // A known host moves to the front.
    EXPECT_EQ(Changes([](SetTerminalValues& v) {
                  v.HostList = {"a", "b", "c"}, v.HostText = "c";
              }),
              (Lines{"TelnetAddr1 = c", "TelnetAddr2 = a", "TelnetAddr3 = b"}));
    // A local program with an empty command: the login shell; no port keeps the setting.
    EXPECT_EQ(Changes([](SetTerminalValues& v) {
                  v.Kind = NetworkKind::LocalProgram, v.HostList = {"bash -l"}, v.HostText = "", v.NetPort = "";
              }),
              (Lines{"TelnetAddr1 = ", "TelnetAddr2 = bash -l", "Network Type = 4"}));
    // A new host is added in front, the list keeps 30.
    const Lines hosts = Changes([](SetTerminalValues& v) {
        v.HostList.clear();
        for (int i = 1; i <= 30; ++i)
            v.HostList.push_back("h" + std::to_string(i));
        v.HostText = "new";
    });
    ASSERT_EQ(hosts.size(), 30u);
    EXPECT_EQ(hosts.front(), "TelnetAddr1 = new");
    EXPECT_EQ(hosts.back(), "TelnetAddr30 = h29");
}

TEST(SetTerminalValuesTest, ControlsShowTheSettingsAndStoreThemBack)
{
    Settings s = test::AllSet();
    s.Parity = "Mark";
    const SetTerminalValues v = SetTerminalValuesFrom(s);
    EXPECT_EQ(v.Parity, "None") << "only None, Even and Odd have buttons";
    EXPECT_EQ(v.PhoneList.back(), kDirectConnect) << "no dialling is always offered";
    // Unchanged values store the same settings (the direct entry offered
    // takes no place of a number).
    Settings back = s;
    GetSetTermValues(v, back);
    back.Parity = "Mark";
    EXPECT_EQ(back, s);
}

TEST(SetTerminalValuesTest, PortProposedWhenTheKindChangesFamily)
{
    using K = NetworkKind;
    EXPECT_EQ(ProposedPort(K::TelnetAdvanced, K::Ssh1), "22");
    EXPECT_EQ(ProposedPort(K::Ssh2, K::TelnetStandard), "23");
    EXPECT_EQ(ProposedPort(K::Ssh1, K::Ssh2), std::nullopt);
    EXPECT_EQ(ProposedPort(K::TelnetStandard, K::LocalProgram), std::nullopt);
}

TEST(SetTerminalValuesTest, ImpossibleValuesAreRefused)
{
    const struct {
        Edit Change;
        bool Refused;
    } cases[] = {
        {[](SetTerminalValues& v) { v.BaudRate = "96o0"; }, true},
        {[](SetTerminalValues& v) { v.BaudRate = "0"; }, true},
        {[](SetTerminalValues& v) { v.NetPort = "70000"; }, true},
        {[](SetTerminalValues& v) { v.TerminalType = "  "; }, true},
        {[](SetTerminalValues& v) { v.Network = false, v.CommPort = "modem"; }, true},
        // Network values do not matter on a serial line, nor the port of a local program.
        {[](SetTerminalValues& v) { v.Network = false, v.NetPort = "x"; }, false},
        {[](SetTerminalValues& v) { v.Kind = NetworkKind::LocalProgram, v.NetPort = ""; }, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetTerminalValues v = SetTerminalValuesFrom(Settings{});
        cases[i].Change(v);
        EXPECT_EQ(CheckSetTerminalValues(v).has_value(), cases[i].Refused) << "case " << i;
    }
}

// The preferences write their own section into the current file: the file
// held the defaults, the window's settings differ in keys of other
// sections, and only the dialog's keys change.
TEST(TermPreferencesTest, AcceptedValuesWriteNewTerminalPref)
{
    test::TempHome home;
    logging::ErrorReport errors;
    Configuration config{errors};
    std::filesystem::create_directories(home.Path() / kConfigFolder);
    ASSERT_EQ(CreateSettingsFile(config.CurrentFile(), Settings{}), 0);
    config.Values().ColorIndex = 7;    // in no section: stays 0 in the file
    config.Values().BaudRate = "1200"; // communication: written only with NewCommConfig

    OpenTermPreferences(config);
    TermSetupValues v = TermSetupValuesFrom(config.Values());
    v.DisplayWidth = 200;
    v.KbEnterKey = 1;
    v.NumEnterKey = 2;
    v.SmartReturn = true;
    v.KeyboardLayout = 2;
    v.Language = LanguageIndex("portugese");
    v.Latin1 = true;
    v.CapsOnly = true;
    v.BlockCursor = false;
    for (const auto& [width, kbEnter] : {std::pair(200, 2), std::pair(100, 1)}) {
        TermSetupValues bad = v;
        bad.DisplayWidth = width;
        bad.KbEnterKey = kbEnter;
        EXPECT_NE(CheckTermSetupValues(bad), std::nullopt) << width;
    }
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
    const std::string maxRow = KeyLine(30, "599");
    ASSERT_NE(text.find(maxRow), std::string::npos);
    text.replace(text.find(maxRow), maxRow.size(), KeyLine(30, "14999"));
    EXPECT_EQ(test::ReadAll(ConfigPath(config.CurrentFile())), text);
}

} // namespace
} // namespace kalvor::config
