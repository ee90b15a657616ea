// Save, Save As and Open, the section updates of the current file, and the
// start-up load of the configuration.
#include "ConfigTestSupport.h"

#include "config/ConfigFiles.h"
#include "config/ConfigPaths.h"
#include "config/Configuration.h"
#include "config/PointerFile.h"
#include "config/SettingKeys.h"
#include "config/SettingsFile.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace kalvor::config {
namespace {

using test::AllSet;
using test::ReadAll;
using test::ShownErrors;
using test::TempHome;
using test::WriteAll;

class ConfigFilesTest : public ::testing::Test {
protected:
    TempHome home;
    logging::ErrorReport errors;
    ShownErrors shown;
    std::filesystem::path config = home.Path() / "config";

    void SetUp() override
    {
        shown.Attach(errors);
        std::filesystem::create_directories(config);
    }
    std::string Pointer() const { return GetDefaultFile().Name; }
};

TEST_F(ConfigFilesTest, SaveSaveAsAndOpenRecordTheCurrentFile)
{
    ASSERT_EQ(SaveConfiguration("config/site.zkd", AllSet(), errors), 0);
    EXPECT_EQ(ReadAll(config / "site.zkd"), FormatSettingsFile("config/site.zkd", AllSet()));
    EXPECT_EQ(Pointer(), "config/site.zkd");
    EXPECT_TRUE(shown.Windows.empty());
    std::string current = "config/default.zkd";
    ASSERT_EQ(SaveConfigurationAs(config / "branch.cfg", AllSet(), current, errors), 0);
    EXPECT_EQ(current, "config/branch.zkd");
    EXPECT_EQ(ReadAll(config / "branch.zkd"), FormatSettingsFile("config/branch.zkd", AllSet()));
    EXPECT_EQ(Pointer(), "config/branch.zkd");

    Settings s;
    ASSERT_EQ(OpenConfiguration(config / "site.zkd", s, current, errors), 0);
    Settings expected = AllSet();
    test::ForgetUnread(expected, Settings{});
    EXPECT_EQ(s, expected);
    EXPECT_EQ(current, "config/site.zkd");
    EXPECT_EQ(Pointer(), "config/site.zkd");
}

TEST_F(ConfigFilesTest, SaveAsRefusesNamesOver60Characters)
{
    std::string current = "config/default.zkd";
    ASSERT_EQ(UpdateDefaultFile(current), 0);
    const std::filesystem::path chosen = config / (std::string(60, 'L') + ".zkd");
    EXPECT_EQ(SaveConfigurationAs(chosen, AllSet(), current, errors), 5995);
    EXPECT_EQ(current, "config/default.zkd");
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_EQ(Pointer(), "config/default.zkd");
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0].Location, "UpdateDefaultFile");
    Settings s;
    ASSERT_EQ(CreateSettingsFile("config/" + std::string(56, 'o') + ".zkd", AllSet()), 0);
    EXPECT_EQ(OpenConfiguration(config / (std::string(56, 'o') + ".zkd"), s, current, errors), 5995);
    EXPECT_EQ(s, Settings{});
    EXPECT_EQ(current, "config/default.zkd");
}

TEST_F(ConfigFilesTest, FilesOutsideTheConfigFolderAreRefused)
{
    const std::filesystem::path outside[] = {home.Path() / "victim.zkd", config / "sub" / "x.zkd",
                                             std::filesystem::path("/tmp") / "elsewhere.zkd"};
    for (const auto& chosen : outside) {
        std::string current = "config/default.zkd";
        Settings s;
        EXPECT_EQ(SaveConfigurationAs(chosen, AllSet(), current, errors), logging::kErrBadFileName) << chosen;
        EXPECT_FALSE(std::filesystem::exists(chosen));
        EXPECT_EQ(OpenConfiguration(chosen, s, current, errors), logging::kErrBadFileName) << chosen;
        EXPECT_EQ(current, "config/default.zkd");
    }
    EXPECT_EQ(shown.Windows.size(), 6u);
    EXPECT_FALSE(std::filesystem::exists(config / "default.zkx"));
}

// Section updates.

TEST_F(ConfigFilesTest, EachSectionReplacesOnlyItsKeysInTheStandardLayout)
{
    // The defaults stand for the current settings.
    for (const char* section : {"NewCommConfig", "newfunckeyconfig", "NewPrintConfig", "NewTerminalPref"}) {
        ASSERT_EQ(CreateSettingsFile("config/site.zkd", AllSet()), 0);
        ASSERT_EQ(UpdateConfigSection("config/site.zkd", Settings{}, section), 0);
        ValueTexts values = EncodeAll(AllSet());
        for (int key = 1; key <= kKeyCount; ++key)
            if (InSection(key, *SectionByName(section)))
                values[static_cast<std::size_t>(key)] = EncodeValue(Settings{}, key);
        EXPECT_EQ(ReadAll(config / "site.zkd"), FormatSettingsFile("config/site.zkd", values)) << section;
    }
}

TEST_F(ConfigFilesTest, OtherKeysKeepTheTextTheFileHolds)
{
    // Values the settings would never write survive an update untouched.
    std::string file = SettingsFileHeader("config/site.zkd") + KeyLine(1, "fast") + KeyLine(27, "Enter") +
                       "Unknown Key = dropped\r\n" + KeyLine(11, "42");
    WriteAll(config / "site.zkd", file);
    Settings now;
    now.PrintFontHeight = 11;
    ASSERT_EQ(UpdateConfigSection("config/site.zkd", now, "NewPrintConfig"), 0);
    ValueTexts expected = EncodeAll(now);
    expected[1] = "fast";
    expected[27] = "Enter";
    expected[11] = "42";
    EXPECT_EQ(ReadAll(config / "site.zkd"), FormatSettingsFile("config/site.zkd", expected));
}

TEST_F(ConfigFilesTest, AMissingFileIsNotCreatedByAnUpdate)
{
    EXPECT_EQ(UpdateConfigSection("config/none.zkd", AllSet(), "NewCommConfig"), 0);
    EXPECT_FALSE(std::filesystem::exists(config / "none.zkd"));
}

// The configuration of a window at start-up.

class ConfigurationLoad : public ::testing::Test {
protected:
    TempHome home;
    logging::ErrorReport errors;
    ShownErrors shown;
    std::filesystem::path config = home.Path() / "config";
    Configuration cfg{errors};

    ConfigurationLoad() { shown.Attach(errors); }
    // The file on disk is the standard layout of what was loaded, and the
    // pointer names it.
    void ExpectWrittenAndPointedTo(const std::string& name, const Settings& values)
    {
        EXPECT_EQ(cfg.CurrentFile(), name);
        EXPECT_EQ(ReadAll(home.Path() / name), FormatSettingsFile(name, values));
        EXPECT_EQ(ReadAll(config / "default.zkx"), FormatPointerFile(name));
    }
};

TEST_F(ConfigurationLoad, PartialFileIsCompletedWithTheDefaults)
{
    WriteAll(config / "default.zkx", FormatPointerFile("config/site.zkd"));
    WriteAll(config / "site.zkd", SettingsFileHeader("x") + KeyLine(1, "2400") + KeyLine(5, "Odd"));
    cfg.Load();
    Settings expected;
    expected.BaudRate = "2400";
    expected.Parity = "Odd";
    EXPECT_EQ(cfg.Values(), expected);
    ExpectWrittenAndPointedTo("config/site.zkd", expected);
}

TEST_F(ConfigurationLoad, DamagedFilesAreKeptBesideAndTheUserToldOnce)
{
    std::string junk(3000, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 7919) % 251);
    WriteAll(config / "default.zkx", junk);
    // LF line ends and a blank line are sound; the unknown key is damage.
    const std::string damaged =
        SettingsFileHeader("x") + std::string(28, ' ') + "Baud Rate = 2400\n\nEcho = On\nColour = 3\n";
    WriteAll(config / "default.zkd", damaged);
    cfg.Load();
    EXPECT_EQ(cfg.Values().BaudRate, "2400");
    EXPECT_TRUE(cfg.Values().Echo);
    ExpectWrittenAndPointedTo("config/default.zkd", cfg.Values());

    std::map<std::string, std::string> kept; // file name -> bytes
    for (const auto& e : std::filesystem::directory_iterator(config))
        if (e.path().filename().string().find(".damaged-") != std::string::npos)
            kept[e.path().filename().string().substr(0, 11)] = ReadAll(e.path());
    EXPECT_EQ(kept["default.zkx"], junk);
    EXPECT_EQ(kept["default.zkd"], damaged);

    ASSERT_EQ(shown.Windows.size(), 2u);
    EXPECT_EQ(shown.Windows[1].Number, logging::kErrFileDamaged);
    EXPECT_EQ(shown.Windows[1].FileName, "config/default.zkd");
    EXPECT_TRUE(std::regex_match(shown.Windows[1].Note,
                                 std::regex("config/default.zkd, line 20: an unknown key. The file as it was is kept "
                                            "as config/default.zkd.damaged-[0-9]{8}-[0-9]{6}; what could not be read "
                                            "has its default value.")))
        << shown.Windows[1].Note;
    // Told once: the next start finds sound files.
    Configuration again(errors);
    again.Load();
    EXPECT_EQ(shown.Windows.size(), 2u);
}

TEST_F(ConfigurationLoad, APointerFileNamingAnyOtherPlaceIsDamaged)
{
    // Every name points into the test's own folder: a fault in the check
    // must never let a test overwrite a file of the machine.
    WriteAll(home.Path() / "victim.txt", "precious");
    const std::string absolute = (home.Path() / "victim.txt").string();
    for (const std::string& name : {std::string("../victim.txt"), std::string("config/../victim.txt"), absolute,
                                    std::string("config/"), std::string("default.zkd")}) {
        WriteAll(config / "default.zkx", FormatPointerFile(name));
        Configuration c(errors);
        c.Load();
        EXPECT_EQ(c.CurrentFile(), "config/default.zkd") << name;
        EXPECT_EQ(ReadAll(config / "default.zkx"), FormatPointerFile("config/default.zkd"));
    }
    EXPECT_EQ(ReadAll(home.Path() / "victim.txt"), "precious");
    EXPECT_EQ(shown.Windows.size(), 5u);
}

TEST_F(ConfigurationLoad, UnwritableFileIsReported)
{
    std::filesystem::create_directories(config / "default.zkd" / "blocking");
    // A file that is there but cannot be read is reported and not replaced.
    cfg.Load();
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0].Location, "ReadSettingsFile");
    EXPECT_EQ(shown.Windows[0].FileName, "config/default.zkd");
    EXPECT_TRUE(std::filesystem::exists(config / "default.zkd" / "blocking"));
}

} // namespace
} // namespace kalvor::config
