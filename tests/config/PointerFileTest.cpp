// The pointer file "config/default.zkx": its fixed layout, reading the name
// at byte 428, creating it when missing, and damaged files.
#include "ConfigTestSupport.h"

#include "config/PointerFile.h"

#include <gtest/gtest.h>

#include <optional>

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
    EXPECT_EQ(expected.find("config/default.zkd"), 427u);                             // byte 428 counted from 1
    EXPECT_EQ(FormatPointerFile(std::string(70, 'n')), Golden(std::string(60, 'n'))); // cut to the field
}

// The file with `text` over its bytes from `at` on.
std::string Patched(std::string_view name, std::size_t at, std::string_view text)
{
    std::string bytes = FormatPointerFile(std::string(name));
    return bytes.replace(at, text.size(), text);
}

TEST(PointerFileReading, NameAtByte428TrimmedAndCut)
{
    const struct {
        const char* What;
        std::string Bytes;
        std::optional<std::string> Name;
    } cases[] = {
        {"as written", FormatPointerFile("config/site.zkd"), "config/site.zkd"},
        {"trimmed", Patched("x", 427, "   config/a b.zkd" + std::string(43, ' ')), "config/a b.zkd"},
        {"cut at NUL", Patched("", 427, std::string("config/n.zkd\0rest\r\nxx", 20)), "config/n.zkd"},
        {"cut at CR", Patched("", 427, "config/c.zkd\rzz"), "config/c.zkd"},
        {"a short file that still reaches into the field", FormatPointerFile("config/s.zkd").substr(0, 435),
         "config/s"},
        // Damaged files hold no name.
        {"empty", "", std::nullopt},
        {"ends before the field", std::string(427, 'x'), std::nullopt},
        {"empty name", FormatPointerFile(""), std::nullopt},
        {"a control character", FormatPointerFile("a\tb"), std::nullopt},
        {"anything but the fixed text before the name", Patched("config/x.zkd", 410, "Q"), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePointerFile(c.Bytes), c.Name) << c.What;
}

TEST(DefaultFile, MissingOrDamagedPointerFileIsRewrittenWhole)
{
    TempHome home;
    const auto pointer = home.Path() / "config" / "default.zkx";
    for (const std::string& junk : {std::string("(none)"), std::string(5000, '\xff')}) {
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

TEST(DefaultFile, UpdateRecordsNamesUpTo60Characters)
{
    TempHome home;
    // A shorter name leaves no trace of the longer one.
    ASSERT_EQ(UpdateDefaultFile("config/other.zkd"), 0);
    ASSERT_EQ(UpdateDefaultFile("config/o.zkd"), 0);
    EXPECT_EQ(ReadAll(home.Path() / "config" / "default.zkx"), FormatPointerFile("config/o.zkd"));
    const std::string sixty = "config/" + std::string(49, 'a') + ".zkd";
    EXPECT_EQ(UpdateDefaultFile(sixty), 0);
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

} // namespace
} // namespace kalvor::config
