#include "engine/DisplayDump.h"

#include "EngineTestSupport.h"
#include "FileBytes.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace kalvor {
namespace {

using test::ReadAll;
using test::Runs;
using test::TempHome;

TEST(DisplayTextBuffers, WritesFiveLinesPerRowInPlaceOfAnEarlierDump)
{
    TempHome home;
    DisplayMemory m(2);
    m.Row(1).Text = "AB  ";
    m.Row(1).Cntl = Runs({10, ' ', 10, 'B', 0});
    m.Row(2).Text = "x\xe9y";
    m.Row(2).Shift = Runs({0, 'O', 0});
    m.Row(2).Form = Runs({3, ' ', 3, '[', 0});

    ASSERT_TRUE(DisplayTextBuffers(m, 0, 2, home.Path() / "temp"));
    ASSERT_TRUE(DisplayTextBuffers(m, 1, 40, home.Path() / "temp")); // the rows end at 2
    EXPECT_EQ(ReadAll(home.Path() / "temp" / "TxtBufs.txt"), "TextBuf1(1) = AB  \r\n"
                                                             "CntlBuf(1) = 10 32 10 66 0\r\n"
                                                             "ShiftBuf(1) = Null\r\n"
                                                             "FormBuf(1) = Null\r\n"
                                                             "    TextBufLen = 2\r\n"
                                                             "TextBuf1(2) = x\xe9y\r\n"
                                                             "CntlBuf(2) = Null\r\n"
                                                             "ShiftBuf(2) = 0 79 0\r\n"
                                                             "FormBuf(2) = 3 32 3 91 0\r\n"
                                                             "    TextBufLen = 3\r\n");
    ASSERT_TRUE(DisplayTextBuffers(m, 2, 1, home.Path() / "temp"));
    EXPECT_EQ(ReadAll(home.Path() / "temp" / "TxtBufs.txt"), "");
}

TEST(DisplayTextBuffers, ReportsAFolderThatCannotBeCreated)
{
    TempHome home;
    const std::filesystem::path notAFolder = home.Path() / "plain-file";
    std::ofstream(notAFolder) << "x";
    DisplayMemory m(9);
    EXPECT_FALSE(DisplayTextBuffers(m, 0, 0, notAFolder));
    EXPECT_FALSE(DebugTextBuffers(m, notAFolder));
}

TEST(DebugTextBuffers, WritesTheRowsOnScreen)
{
    const struct {
        const char* name;
        int feeds;  // line feeds written before the dump (LastRow follows)
        int topAge; // TopRow as an age from FirstRow
        const char* expectedRows;
    } cases[] = {
        {"stops at LastRow", 4, 3, "3 4 "},
        {"wrapped ring", 12, 6, "9 0 1 "},
    };
    for (const auto& c : cases) {
        TempHome home;
        DisplayMemory m(9);
        m.RowsInTerm = 3;
        for (int i = 0; i < c.feeds; ++i)
            m.LineFeed();
        for (int i = 0; i <= m.MaxRow; ++i)
            m.Row(i).Text = "t" + std::to_string(i);
        m.TopRow = m.Wrap(m.FirstRow + c.topAge);

        ASSERT_TRUE(DebugTextBuffers(m, home.Path() / "temp")) << c.name;
        std::string expected;
        std::string rows = c.expectedRows;
        for (std::size_t at = 0; at < rows.size();) {
            const std::size_t space = rows.find(' ', at);
            const std::string n = rows.substr(at, space - at);
            expected += "AbsCurRow = " + n + "\r\n  TextBuf = t" + n +
                        "\r\n  CntlBuf = Null\r\n  FormBuf = Null\r\n ShiftBuf = Null\r\n";
            at = space + 1;
        }
        EXPECT_EQ(ReadAll(home.Path() / "temp" / "zkbuffer.txt"), expected) << c.name;
    }
}

} // namespace
} // namespace kalvor
