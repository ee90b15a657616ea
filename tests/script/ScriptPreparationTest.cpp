// Preparing the log-on script of the command line from real files: the
// encodings a desktop editor saves in, and the reason the user is shown
// when a script will not run.
#include "FileBytes.h"
#include "TempHome.h"

#include "script/ScriptPreparation.h"

#include <gtest/gtest.h>

namespace kalvor::script {
namespace {

std::string Utf16(std::string_view text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text)
        out += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    return out;
}

TEST(ScriptPreparation, EncodingsAndReasons)
{
    test::TempHome home;
    const std::string script = "ADDR host.example:23\r\nWAIT login:\r\nEXIT\r\n";
    const struct {
        const char* Name;
        std::string Bytes;
        bool Runs;
        std::string Problem;
    } cases[] = {
        {"plain bytes", script, true, ""},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + script, true, ""},
        {"UTF-16 little-endian", Utf16(script, false), true, ""},
        {"UTF-16 big-endian", Utf16(script, true), true, ""},
        {"UTF-16 without a mark", Utf16(script, false).substr(2), false,
         "Script not run: the file is UTF-16 without a byte-order mark; save it as ANSI, UTF-8 or UTF-16 with a BOM"},
        {"a garbage first line", "\x01\x02HELLO there\r\nADDR x\r\n", false,
         "Script not run: the first line is \"HELLO there\", not ADDR or DIAL"},
        {"empty", "", false, "Script not run: the file is empty"},
    };
    const std::filesystem::path working = home.Path() / "temp" / "zkscript.txt";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::filesystem::path source = home.Path() / "logon.zkt";
        test::WriteAll(source, c.Bytes);
        const PreparedScript p = PrepareScriptFile(source, working);
        EXPECT_EQ(p.Runs, c.Runs);
        EXPECT_EQ(p.Problem, c.Problem);
        if (c.Runs) {
            EXPECT_EQ(test::ReadAll(working), script);
        }
    }
    // Characters beyond one byte become "?", the others keep their codes.
    EXPECT_EQ(SourceCharacters("\xEF\xBB\xBF"
                               "caf\xC3\xA9 \xE2\x82\xAC"),
              "caf\xE9 ?");
    EXPECT_EQ(PrepareScriptFile(home.Path() / "none.zkt", working).Problem,
              "Script not run: the file none.zkt is not there");
}

} // namespace
} // namespace kalvor::script
