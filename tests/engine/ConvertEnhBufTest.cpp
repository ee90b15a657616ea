#include "engine/ConvertEnhBuf.h"

#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvor {
namespace {

using test::RecordingHooks;
using test::Runs;

struct ConvertCase {
    const char* name;
    std::string text;
    std::string cntl;
    std::string form;
    std::string shift;
    int start, end;
    std::string expected;
    int expectStart, expectEnd;
};

TEST(ConvertEnhBuf, PutsShiftOutAndShiftInInFrontOfTheirCharacters)
{
    const std::string soSi = Runs({4, ' ', 2, 'O', 2, 'I', 0}); // columns 2-3 alternate
    const ConvertCase cases[] = {
        {"no run strings", "ABCDEF", "", "", "", 1, 5, "ABCDEF", 1, 5},
        {"enhancements are not put into the text", "ABCDEF", Runs({2, ' ', 2, 'B', 0}), "", "", 0, 6, "ABCDEF", 0, 6},
        {"field marks are not put into the text", "ABCDEF", "", Runs({0, '[', 0}), "", 0, 6, "ABCDEF", 0, 6},
        {"base set only", "ABCDEF", "", "", Runs({0, 'I', 0}), 0, 6, "ABCDEF", 0, 6},
        {"SO and SI", "ABCDEF", "", "", soSi, 0, 6,
         "AB\x0e"
         "CD\x0f"
         "EF",
         0, 8},
        {"SO at column 0", "ABC", "", "", Runs({0, 'O', 0}), 0, 3,
         "\x0e"
         "ABC",
         0, 4},
        {"back to the blank filler counts as SI", "ABCDEF", "", "", Runs({4, ' ', 2, 'O', 2, ' ', 0}), 0, 6,
         "AB\x0e"
         "CD\x0f"
         "EF",
         0, 8},
        {"start after both changes", "ABCDEF", "", "", soSi, 5, 6,
         "AB\x0e"
         "CD\x0f"
         "EF",
         7, 8},
        {"start on the SO column keeps the SO inside", "ABCDEF", "", "", soSi, 2, 6,
         "AB\x0e"
         "CD\x0f"
         "EF",
         2, 8},
        {"end before the SI column leaves the SI outside", "ABCDEF", "", "", soSi, 0, 4,
         "AB\x0e"
         "CD\x0f"
         "EF",
         0, 5},
        {"end on the SO column leaves the SO outside", "ABCDEF", "", "", soSi, 0, 2,
         "AB\x0e"
         "CD\x0f"
         "EF",
         0, 2},
        {"start inside an alternate run repeats the SO", "ABCDEF", "", "", soSi, 3, 6,
         "AB\x0e"
         "C\x0e"
         "D\x0f"
         "EF",
         4, 9},
        {"start on the SI column keeps the SI inside", "ABCDEF", "", "", soSi, 4, 6,
         "AB\x0e"
         "CD\x0f"
         "EF",
         5, 8},
        {"changes beyond the text are left out", "ABC", "", "", Runs({10, ' ', 10, 'O', 0}), 0, 3, "ABC", 0, 3},
        {"change at the end of the text is left out", "ABC", "", "", Runs({3, ' ', 3, 'O', 0}), 0, 3, "ABC", 0, 3},
        {"alternate to the end of a long row", std::string(210, 'q'), "", "", Runs({200, ' ', 200, 'O', 0}), 0, 210,
         std::string(200, 'q') + "\x0e" + std::string(10, 'q'), 0, 211},
        {"empty text", "", "", "", soSi, 0, 0, "", 0, 0},
    };
    for (const ConvertCase& c : cases) {
        const ConvertedRow r = ConvertEnhBuf(c.text, c.cntl, c.form, c.shift, c.start, c.end, "");
        EXPECT_EQ(r.Text, c.expected) << c.name;
        EXPECT_EQ(r.StartCol, c.expectStart) << c.name;
        EXPECT_EQ(r.EndCol, c.expectEnd) << c.name;
        EXPECT_EQ(r.TerminatorCol, -1) << c.name;
    }
}

TEST(ConvertEnhBuf, TheSentRangeIsSelfContained)
{
    // Whatever the start column, the characters in the alternate set are
    // preceded by an SO inside the range.
    const std::string shift = Runs({6, ' ', 1, 'O', 5, 'I', 0}); // columns 1-5 alternate
    const std::string text = "abcdefgh";
    for (int start = 0; start < 8; ++start) {
        const ConvertedRow r = ConvertEnhBuf(text, "", "", shift, start, 8, "");
        const std::string sent =
            r.Text.substr(static_cast<std::size_t>(r.StartCol), static_cast<std::size_t>(r.EndCol - r.StartCol));
        bool alternate = false;
        std::string plain;
        for (char ch : sent) {
            if (ch == '\x0e' || ch == '\x0f') {
                alternate = ch == '\x0e';
                continue;
            }
            const int col = start + static_cast<int>(plain.size());
            EXPECT_EQ(alternate, col >= 1 && col <= 5) << "start " << start << ", column " << col;
            plain.push_back(ch);
        }
        EXPECT_EQ(plain, text.substr(static_cast<std::size_t>(start))) << "start " << start;
    }
}

TEST(ConvertEnhBuf, TerminatorColumnFindsTheBlockEndMarker)
{
    const struct {
        const char* name;
        std::string text;
        std::string shift;
        std::string marker;
        int expected;
    } cases[] = {
        {"marker alone", "\x1e", "", "\x1e", 1},
        {"text without the marker", "ABC", "", "\x1e", -1},
        {"empty text", "", "", "\x1e", -1},
        {"empty marker", "ABC", "", "", -1},
        {"marker after text", "AB<eob>", "", "<eob>", 3},
        {"position counts inserted characters", "AB<eob>", Runs({0, 'O', 0}), "<eob>", 4},
    };
    for (const auto& c : cases) {
        const ConvertedRow r = ConvertEnhBuf(c.text, "", "", c.shift, 0, 0, c.marker);
        EXPECT_EQ(r.TerminatorCol, c.expected) << c.name;
    }
}

TEST(ConvertEnhBuf, HostOutputWithShiftCharactersComesBackUnchanged)
{
    const char* runs[] = {
        "AB\x0e"
        "CD\x0f"
        "EF",
        "\x0e"
        "ABC\x0f"
        "D",
        "\x0e"
        "lqqk",
        "x\x0e"
        "y\x0f"
        "z\x0e"
        "w",
        "plain text",
    };
    for (const char* run : runs) {
        RecordingHooks h;
        Terminal t(h);
        t.Writer.Write(run);
        const DisplayRow& row = t.State.Mem.Row(0);
        const int length = static_cast<int>(row.Text.size());
        const ConvertedRow r = ConvertEnhBuf(row.Text, row.Cntl, row.Form, row.Shift, 0, length, "");
        EXPECT_EQ(r.Text, run);
        EXPECT_EQ(r.EndCol, static_cast<int>(r.Text.size())) << run;
    }
}

} // namespace
} // namespace kalvor
