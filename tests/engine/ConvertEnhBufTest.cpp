// A row made ready for transmission: SO and SI put in front of the
// characters of the alternate set, the sent range moved with them, and the
// block-end marker found. (\016 is SO, \017 is SI.)
#include "engine/ConvertEnhBuf.h"

#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvor {
namespace {

using test::RecordingHooks;
using test::Runs;

TEST(ConvertEnhBuf, PutsShiftOutAndShiftInInFrontOfTheirCharacters)
{
    const std::string soSi = Runs({4, ' ', 2, 'O', 2, 'I', 0}); // columns 2-3 alternate
    const struct {
        const char* name;
        std::string text, cntl, form, shift;
        int start, end;
        std::string expected;
        int expectStart, expectEnd;
    } cases[] = {
        {"no run strings", "ABCDEF", "", "", "", 1, 5, "ABCDEF", 1, 5},
        {"enhancements and field marks stay out of the text", "ABCDEF", Runs({2, ' ', 2, 'B', 0}), Runs({0, '[', 0}),
         Runs({0, 'I', 0}), 0, 6, "ABCDEF", 0, 6},
        {"back to the blank filler counts as SI", "ABCDEF", "", "", Runs({4, ' ', 2, 'O', 2, ' ', 0}), 0, 6,
         "AB\016CD\017EF", 0, 8},
        {"end before the SI column leaves the SI outside", "ABCDEF", "", "", soSi, 0, 4, "AB\016CD\017EF", 0, 5},
        {"end on the SO column leaves the SO outside", "ABCDEF", "", "", soSi, 0, 2, "AB\016CD\017EF", 0, 2},
        {"a start inside the alternate run is preceded by an SO of its own", "ABCDEF", "", "", soSi, 3, 6,
         "AB\016C\016D\017EF", 4, 9},
        {"changes at or beyond the end of the text are left out", "ABC", "", "", Runs({3, ' ', 3, 'O', 0}), 0, 3, "ABC",
         0, 3},
        {"alternate to the end of a long row", std::string(210, 'q'), "", "", Runs({200, ' ', 200, 'O', 0}), 0, 210,
         std::string(200, 'q') + "\016" + std::string(10, 'q'), 0, 211},
    };
    for (const auto& c : cases) {
        const ConvertedRow r = ConvertEnhBuf(c.text, c.cntl, c.form, c.shift, c.start, c.end, "");
        EXPECT_EQ(r.Text, c.expected) << c.name;
        EXPECT_EQ(r.StartCol, c.expectStart) << c.name;
        EXPECT_EQ(r.EndCol, c.expectEnd) << c.name;
        EXPECT_EQ(r.TerminatorCol, -1) << c.name;
    }
}

TEST(ConvertEnhBuf, TerminatorColumnFindsTheBlockEndMarker)
{
    const struct {
        std::string text, shift, marker;
        int expected;
    } cases[] = {
        {"ABC", "", "\x1e", -1},
        {"AB<eob>", "", "<eob>", 3},
        {"AB<eob>", Runs({0, 'O', 0}), "<eob>", 4}, // the position counts the SO
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertEnhBuf(c.text, "", "", c.shift, 0, 0, c.marker).TerminatorCol, c.expected) << c.text;
}

TEST(ConvertEnhBuf, HostOutputWithShiftCharactersComesBackUnchanged)
{
    for (const char* run : {"\016ABC\017D", "x\016y\017z\016w"}) {
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
