// Block transmission through a session, where block.case cannot look: the
// block-end string, the line terminator, the send-cursor-address option, local
// echo and the block start.
#include "BlocksFixture.h"
#include "SessionInternals.h"

#include "engine/CursorSensing.h"
#include "keyboard/BlockTransmission.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kalvor::test {
namespace {

class BlockTransmissionTest : public BlocksFixture {
protected:
    BlockTransmissionTest() { Remote(); }
    void Enter() { blocks.ExecEnterKey(); }
    // A form: row 0 "Name " [Ann       ] " Age " [42 ]; row 1 "Note " {ok  }.
    void Form() { Host("Name \x1b[Ann       \x1b] Age \x1b[42 \x1b]\r\nNote \x1b{ok  \x1b]\x1bW\x1bH"); }
};

// --------------------------------------------------------------- separators and block end

TEST_F(BlockTransmissionTest, BlockEndStringInEveryCollector)
{
    blocks.BlockEnd = "#";
    Host("a\r\nb");
    st.ModeBits = kBlockMode;
    EXPECT_EQ(Visible(blocks.BuildBlockPage(true)), "a\\r\\x00\\nb\\r\\x00\\n#");
    // A line with text ends in CR alone; an empty one sends the block end.
    EXPECT_EQ(Visible(blocks.BuildBlockLine(0).Text), "b\\r");
    EXPECT_EQ(Visible(blocks.BuildBlockLine(1).Text), "#\\r");
    Host("\x1b"
         "E");
    Form();
    EXPECT_EQ(Visible(blocks.BuildBlockEnter2()), "Ann#\\r");
    EXPECT_EQ(Visible(blocks.BuildBlockPageField(true)), "Ann\\x1f42\\x1fok#");
}

TEST_F(BlockTransmissionTest, LineTerminatorColumn)
{
    Host("> \x11"
         "abc  \x1b&a0C");
    const BlockTransmission::Line line = blocks.BuildBlockLine(blocks.RowStartColumn(0));
    EXPECT_EQ(Visible(line.Text), "abc\\r");
    EXPECT_EQ(line.TerminatorCol, 5);
    EXPECT_EQ(blocks.BuildBlockLine(7).TerminatorCol, 7);
}

// --------------------------------------------------------------- Enter

TEST_F(BlockTransmissionTest, SendCursorAddressPrefixesEveryEnter)
{
    Internals(session).FuncKeys().SendCursorAddress = true;
    NoHandshake();
    Host("abc\x1b&a1C");
    Enter();
    EXPECT_EQ(Sent(), "\\e&a001c000Rabc\\r");

    Host("\x1b"
         "b");
    ClearSent();
    Form();
    st.ModeBits = kBlockMode;
    Host("\x1b&a0y7C");
    Enter();
    EXPECT_EQ(Sent(), "\\e&a007c000RAnn\\x1f42\\x1fok");
}

TEST_F(BlockTransmissionTest, EnterInCharacterModeEchoesTheLineEnd)
{
    NoHandshake();
    Internals(session).Keys().LocalEcho = true;
    st.AutoLineFeed = true;
    Host("abc");
    Enter();
    // Sent without the line-feed request; the echo of CR with auto line feed
    // moves the cursor to the next row.
    EXPECT_EQ(Sent(), "abc\\r");
    EXPECT_EQ(mem.CurRow, 1);
}

TEST_F(BlockTransmissionTest, AnEnterCompletedByTheHostsDc1EchoesAfterTheRunningPass)
{
    st.Strap.G = true;
    Internals(session).Keys().LocalEcho = true;
    st.AutoLineFeed = true;
    // The prompt's DC1 records where the input starts; a later DC1 keeps it.
    Host("> \x11"
         "abc");
    Enter();
    EXPECT_EQ(Sent(), "\\x12");
    // The echo is made while the receive pass interprets the DC1; it is
    // shown once the DC1 has been carried out.
    Host("\x11");
    EXPECT_EQ(Sent(), "\\x12"
                      "abc\\r");
    EXPECT_EQ(mem.CurRow, 1);
    EXPECT_EQ(Row(0), "> abc");
}

TEST_F(BlockTransmissionTest, BlockStartRowIsCollectedAndReset)
{
    NoHandshake();
    Host("first\r\nsecond\r\nthird");
    blocks.BlockStartRow = 0;
    Enter();
    EXPECT_EQ(Sent(), "first\\r");
    EXPECT_EQ(blocks.BlockStartRow, -1);

    ClearSent();
    blocks.BlockStartRow = 1;
    blocks.BlockStartCol = 3;
    EXPECT_EQ(Visible(blocks.BuildBlockPage(false)), "ond\\r\\x00\\nthird\\r\\x00\\n");
    EXPECT_EQ(blocks.BlockStartRow, -1);
    EXPECT_EQ(blocks.BlockStartCol, -1);
}

// --------------------------------------------------------------- Return in the modify modes

TEST_F(BlockTransmissionTest, ModifyModeReturnSendsItsDc2EvenBeforeTheHostIsReady)
{
    st.Strap.G = true;
    st.ModeBits = kModifyAll;
    Host("Name: \x11");
    handshake.Reset(false);
    Type("Bob\r");
    EXPECT_EQ(Sent(), "\\x12");
    Host("\x11");
    EXPECT_EQ(Sent(), "\\x12"
                      "Bob\\r");
}

} // namespace
} // namespace kalvor::test
