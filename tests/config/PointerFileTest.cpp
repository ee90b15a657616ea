// The pointer file "config/default.zkx": its fixed layout, reading the name
// at byte 428, creating it when missing, and damaged files.
#include "ConfigTestSupport.h"

#include "config/ConfigPaths.h"
#include "config/PointerFile.h"

#include <gtest/gtest.h>

namespace kalvor::config {
namespace {

using test::ReadAll;
using test::TempHome;
using test::WriteAll;

const std::string kStars = "            **********************************************************\r\n";

std::string Golden(std::string_view paddedName60)
{
    return "\r\n\r\n" + kStars + kStars +
           "                                 Tavlex Terminal\r\n"
           "                              Default File Name\r\n" +
           kStars + kStars + "\r\n\r\n" + "            Default File Name = " + std::string(paddedName60) + "\r\n";
}

TEST(PointerFileLayout, ByteForByte)
{
    const std::string name = "config/default.zkd";
    const std::string expected = Golden(name + std::string(60 - name.size(), ' '));
    EXPECT_EQ(FormatPointerFile(name), expected);
    EXPECT_EQ(expected.size(), 489u);
    EXPECT_EQ(expected.find("config/default.zkd"), 427u); // byte 428 counted from 1
    EXPECT_EQ(expected.find("Tavlex Terminal\r\n") + 17 - expected.find(std::string(33, ' ') + "Tavlex"), 50u);
    EXPECT_EQ(FormatPointerFile(std::string(70, 'n')), Golden(std::string(60, 'n'))); // cut to the field
}

TEST(PointerFileReading, NameAtByte428Trimmed)
{
    EXPECT_EQ(ParsePointerFile(FormatPointerFile("config/site.zkd")), "config/site.zkd");
    std::string bytes = FormatPointerFile("x");
    bytes.replace(427, 60, "   config/a b.zkd" + std::string(43, ' '));
    EXPECT_EQ(ParsePointerFile(bytes), "config/a b.zkd");
}

TEST(PointerFileReading, CutAtNulThenAtCr)
{
    std::string bytes = FormatPointerFile("");
    bytes.replace(427, 20, std::string("config/n.zkd\0rest\r\nxx", 20));
    EXPECT_EQ(ParsePointerFile(bytes), "config/n.zkd");
    bytes = FormatPointerFile("");
    bytes.replace(427, 16, "config/c.zkd\rzz");
    EXPECT_EQ(ParsePointerFile(bytes), "config/c.zkd");
}

TEST(PointerFileReading, DamagedFilesHoldNoName)
{
    EXPECT_FALSE(ParsePointerFile(""));
    EXPECT_FALSE(ParsePointerFile(std::string(427, 'x')));
    EXPECT_FALSE(ParsePointerFile(FormatPointerFile("")));
    std::string bytes = FormatPointerFile("abc");
    bytes[427] = '\0';
    EXPECT_FALSE(ParsePointerFile(bytes)); // a cut at the first character
    bytes[427] = '\r';
    EXPECT_FALSE(ParsePointerFile(bytes));
    bytes = FormatPointerFile("a\tb");
    EXPECT_FALSE(ParsePointerFile(bytes));
    // Anything but the fixed text right before the name.
    bytes = FormatPointerFile("config/x.zkd");
    bytes[410] = 'Q';
    EXPECT_FALSE(ParsePointerFile(bytes));
    EXPECT_FALSE(ParsePointerFile(std::string(1000, '\xff')));
    // A short file that still reaches into the field.
    EXPECT_EQ(ParsePointerFile(FormatPointerFile("config/s.zkd").substr(0, 435)), "config/s");
}

TEST(DefaultFile, MissingOrDamagedPointerFileIsRewrittenWhole)
{
    TempHome home;
    const auto pointer = home.Path() / "config" / "default.zkx";
    for (const std::string& junk : {std::string("(none)"), std::string(), std::string(1000, '\0'),
                                    std::string(100, 'x'), std::string(5000, '\xff')}) {
        if (junk != "(none)")
            WriteAll(pointer, junk);
        const DefaultFile d = GetDefaultFile();
        EXPECT_EQ(d.Name, "config/default.zkd");
        EXPECT_TRUE(d.Created);
        EXPECT_EQ(d.Error, 0);
        EXPECT_EQ(ReadAll(pointer), FormatPointerFile("config/default.zkd"));
    }
    WriteAll(pointer, FormatPointerFile("config/site.zkd"));
    EXPECT_EQ(GetDefaultFile().Name, "config/site.zkd");
    EXPECT_FALSE(GetDefaultFile().Created);
}

TEST(DefaultFile, UpdateRecordsTheName)
{
    TempHome home;
    ASSERT_EQ(UpdateDefaultFile("config/other.zkd"), 0);
    EXPECT_EQ(ReadAll(home.Path() / "config" / "default.zkx"), FormatPointerFile("config/other.zkd"));
    EXPECT_EQ(GetDefaultFile().Name, "config/other.zkd");
    // A shorter name leaves no trace of the longer one.
    ASSERT_EQ(UpdateDefaultFile("config/o.zkd"), 0);
    EXPECT_EQ(ReadAll(home.Path() / "config" / "default.zkx"), FormatPointerFile("config/o.zkd"));
}

TEST(DefaultFile, NamesOver60CharactersAreRefused)
{
    TempHome home;
    ASSERT_EQ(UpdateDefaultFile("config/keep.zkd"), 0);
    const std::string sixty = "config/" + std::string(49, 'a') + ".zkd";
    ASSERT_EQ(sixty.size(), 60u);
    EXPECT_EQ(UpdateDefaultFile(sixty), 0);
    EXPECT_EQ(GetDefaultFile().Name, sixty);
    EXPECT_EQ(UpdateDefaultFile(sixty + "x"), 5995);
    EXPECT_EQ(GetDefaultFile().Name, sixty);
}

TEST(DefaultFile, WriteFailureIsReturned)
{
    TempHome home;
    WriteAll(home.Path() / "config", "not a folder");
    const DefaultFile d = GetDefaultFile();
    EXPECT_EQ(d.Name, "config/default.zkd");
    EXPECT_TRUE(d.Created);
    EXPECT_NE(d.Error, 0);
    EXPECT_NE(UpdateDefaultFile("config/x.zkd"), 0);
}

TEST(ConfigPaths, RecordedNamesAreRelativeToTheProgramFolder)
{
    TempHome home;
    EXPECT_EQ(RecordedName(home.Path() / "config" / "site.zkd"), "config/site.zkd");
    EXPECT_EQ(RecordedName(home.Path() / "config" / ".." / "config" / "a.zkd"), "config/a.zkd");
    EXPECT_EQ(RecordedName("/elsewhere/x.zkd"), "/elsewhere/x.zkd");
    EXPECT_EQ(ConfigPath("config/site.zkd"), home.Path() / "config" / "site.zkd");
    EXPECT_EQ(ConfigPath("/elsewhere/x.zkd"), std::filesystem::path("/elsewhere/x.zkd"));
}

} // namespace
} // namespace kalvor::config
