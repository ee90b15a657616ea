// Block transmission through a session: what every request number fills,
// the collectors, the block-end string, the send-cursor-address option, local
// echo, the block start, the keyboard lock and the handshake around Enter.
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

// --------------------------------------------------------------- every request

// Block transmission of its own on the session's terminal: it transmits
// nothing itself here, and counts the echoes of waiting user keys.
class EchoCounter final : public BlockTransmissionEvents {
public:
    int UserKeyEchoes = 0;

    void Transmit(std::string_view, bool) override {}
    bool LocalEcho() override { return false; }
    void ShowLocal(std::string_view) override {}
    bool SendCursorAddress() override { return false; }
    void EchoPendingUserKey() override { ++UserKeyEchoes; }
};

TEST_F(BlockTransmissionTest, FillRequestForEveryRequest)
{
    Host("abc\r\ndef\x1b&a0y1C");
    EchoCounter events;
    BlockTransmission own(Internals(session).Term(), handshake, events);
    own.NetworkConnection = blocks.NetworkConnection;
    const int& userKeyEchoes = events.UserKeyEchoes;
    struct Case {
        HostRequest Request;
        const char* Before; // the buffer before
        const char* After;
        bool LineFeedRequest;
    };
    using R = HostRequest;
    const Case cases[] = {
        {R::None, "junk", "", false},
        {R::UserKey, "key\r", "key\r", true},
        {R::ModifyLine, "line\r", "line\r", true},
        {R::Block, "", "abc\r", true},
        {R::AbsoluteCursor, "", "\x1b&a001c000R\r", false},
        {R::RelativeCursor, "", "\x1b&a001c000Y\r", false},
        {R::TerminalId, "", "70092\r", false},
        {R::PrimaryStatus, "", "\x1b\\?808000\r", false},
        {R::SecondaryStatus, "", "\x1b|0500000\r", false},
        {R::Status2, "", "0!#C\r", false},
        {R::Status3, "", " A\r", false},
        {R::Status4, "", "B\r", false},
        {R::Status5, "", "\" B\r", false},
        {R::PrinterStatusDevice4, "", "\x1b\\p4001\r", false},
        {R::PrinterStatus, "", "\x1b\\p6000\r", false},
        {R::Identification, "", "cDHND\r", false},
        {R::Version, "", "KALVOR-V3.1\r", false},
        {R::EnterFormat, "", "\r", true},
        {R::EnterBlock, "", "", false}, // "abc" CR NUL LF, compared below
        {R::EnterCharacter, "", "abc\r", false},
        {R::EnterFormatBlock, "", "", false},
        {R::StatusOutOfRange, "x", "\r", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("request " + std::to_string(static_cast<int>(c.Request)));
        mem.CurRow = 0;
        mem.AbsCurRow = 0;
        mem.CurCol = 1;
        std::string buffer = c.Before;
        const bool lf = own.FillRequest(c.Request, buffer);
        // EnterBlock holds a NUL: compare with its length.
        const std::string want = c.Request == R::EnterBlock ? std::string("abc\r\0\n", 6) : std::string(c.After);
        EXPECT_EQ(Visible(buffer), Visible(want));
        EXPECT_EQ(lf, c.LineFeedRequest);
    }
    EXPECT_EQ(userKeyEchoes, 1);
}

TEST_F(BlockTransmissionTest, RepliesFollowBlockModeAndStrapping)
{
    st.ModeBits = kBlockMode;
    std::string buffer;
    blocks.FillRequest(HostRequest::AbsoluteCursor, buffer);
    EXPECT_EQ(Visible(buffer), "\\e&a000c000R\\x1e");
    st.Strap.LineStrapping = true;
    blocks.FillRequest(HostRequest::StatusOutOfRange, buffer);
    EXPECT_EQ(Visible(buffer), "\\r");
}

// --------------------------------------------------------------- ESC d by mode

TEST_F(BlockTransmissionTest, EscdUsesTheCollectorOfEnterInEachMode)
{
    struct Case {
        const char* Name;
        bool Format;
        bool Block;
        bool Line;
        const char* Expected;
    };
    const Case cases[] = {
        {"character mode: the row from its start column", false, false, false, "Name Ann        Age 42\\r"},
        {"block, page: the rows up to the cursor", false, true, false, "Name Ann        Age 42\\r\\x00\\n"},
        {"block, line: the row from the cursor", false, true, true, "Ann        Age 42\\r"},
        {"format: the field under the cursor", true, false, false, "Ann\\r"},
        {"format and block, line: the field under the cursor", true, true, true, "Ann\\r"},
        {"format and block, page: every field of the page", true, true, false, "Ann\\x1f42\\x1fok"},
    };
    Form();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        st.FormatMode = c.Format;
        st.ModeBits = c.Block ? kBlockMode : 0;
        st.Strap.LineStrapping = c.Line;
        Host("\x1b&a0y5C");
        EXPECT_EQ(Visible(blocks.ExecEscd()), c.Expected);
    }
}

TEST_F(BlockTransmissionTest, EscdLineFeedRequest)
{
    struct Case {
        int Bits;
        bool Line;
        bool Expected;
    };
    const Case cases[] = {
        {0, false, true},           {0, true, true},          {kBlockMode, false, false}, {kBlockMode, true, true},
        {kModifyAll, false, false}, {kModifyAll, true, true}, {kLineModify, false, true},
    };
    for (const Case& c : cases) {
        st.ModeBits = c.Bits;
        st.Strap.LineStrapping = c.Line;
        EXPECT_EQ(blocks.EscdLineFeedRequest(), c.Expected) << "bits " << c.Bits << " line " << c.Line;
    }
}

// --------------------------------------------------------------- separators and block end

TEST_F(BlockTransmissionTest, SeparatorFollowsTheConnection)
{
    EXPECT_TRUE(blocks.NetworkConnection);
    EXPECT_EQ(blocks.Separator(), std::string("\r\0\n", 3));
    FakeConnection serial;
    serial.IsNetwork = false;
    session.SetConnection(serial);
    EXPECT_FALSE(blocks.NetworkConnection);
    EXPECT_EQ(blocks.Separator(), "\r\n");
}

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

TEST_F(BlockTransmissionTest, ALineFromInsideALineDrawingRunStartsWithSo)
{
    Host("ab\x0eqqqq\x0f"
         "cd");
    EXPECT_EQ(Visible(blocks.BuildBlockLine(4).Text), "\\x0eqq\\x0fcd\\r");
    EXPECT_EQ(Visible(blocks.BuildBlockLine(0).Text), "ab\\x0eqqqq\\x0fcd\\r");
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

TEST_F(BlockTransmissionTest, EnterLocksTheKeyboardAndTheCompletingDc1UnlocksIt)
{
    Host("abc");
    Enter();
    EXPECT_TRUE(st.KeyboardLocked);
    EXPECT_EQ(Sent(), "abc\\r");
    Host("\x11");
    EXPECT_FALSE(st.KeyboardLocked);
}

TEST_F(BlockTransmissionTest, AFunctionKeyPressedWhileTheRequestWaitsRunsWhenItCompletes)
{
    Internals(session).Keys().KeyDown(Key::F11, 0); // the system keys
    ASSERT_EQ(Internals(session).FuncKeys().CurrentSet(), FunctionKeys::kSystemSet);
    Host("abc");
    Enter();
    ASSERT_TRUE(st.KeyboardLocked);
    EXPECT_TRUE(Internals(session).Keys().KeyDown(Key::F1, 0)); // f1 of the system keys shows set 1
    EXPECT_EQ(Internals(session).FuncKeys().CurrentSet(), FunctionKeys::kSystemSet);
    Host("\x11");
    EXPECT_FALSE(st.KeyboardLocked);
    EXPECT_EQ(Internals(session).FuncKeys().CurrentSet(), FunctionKeys::kDeviceSet);
}

TEST_F(BlockTransmissionTest, ADc1ThatOnlyReleasesTheDc2KeepsTheKeyboardLocked)
{
    handshake.Reset(false);
    st.ModeBits = kBlockMode;
    Host("abc");
    Enter();
    EXPECT_EQ(Sent(), "");
    Host("\x11");
    EXPECT_EQ(Sent(), "\\x12");
    EXPECT_TRUE(st.KeyboardLocked);
    Host("\x11");
    EXPECT_EQ(Sent(), "\\x12abc\\r\\x00\\n");
    EXPECT_FALSE(st.KeyboardLocked);
}

TEST_F(BlockTransmissionTest, EnterInLocalModeNeitherSendsNorLocks)
{
    const int modes[] = {0, kBlockMode};
    for (bool format : {false, true}) {
        for (int bits : modes) {
            SCOPED_TRACE(std::string("format ") + (format ? "on" : "off") + " bits " + std::to_string(bits));
            st.RemoteMode = false;
            st.FormatMode = format;
            st.ModeBits = bits | kLineModify;
            Host("abc\x1b&a2C");
            Enter();
            EXPECT_EQ(Sent(), "");
            EXPECT_FALSE(st.KeyboardLocked);
            // Line modify ends (cursor to column 0) only outside block and format mode.
            const bool ends = !format && bits == 0;
            EXPECT_EQ((st.ModeBits & kLineModify) == 0, ends);
            EXPECT_EQ(mem.CurCol, ends ? 0 : 2);
        }
    }
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
    EXPECT_EQ(mem.CurCol, 0);
    EXPECT_EQ(Row(0), "abc");
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
    EXPECT_EQ(mem.CurCol, 0);
    EXPECT_EQ(Row(0), "> abc");
}

TEST_F(BlockTransmissionTest, EnterInCharacterModeEndsLineModifyAndGoesToTheLeftMargin)
{
    NoHandshake();
    st.ModeBits = kLineModify;
    Host("abcdef");
    mem.LeftMargin = 2;
    Enter();
    EXPECT_EQ(Sent(), "abcdef\\r");
    EXPECT_EQ(st.ModeBits & kLineModify, 0);
    EXPECT_EQ(mem.CurCol, 2);
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

TEST_F(BlockTransmissionTest, SoftResetForgetsAWaitingEnter)
{
    st.ModeBits = kBlockMode;
    Host("abc");
    Enter();
    EXPECT_EQ(Sent(), "\\x12");
    Host("\x1bg\x11");
    EXPECT_EQ(Sent(), "\\x12");
}

TEST_F(BlockTransmissionTest, FieldsOfAPageAcrossTheEndOfMemory)
{
    NoHandshake();
    mem.RowsInTerm = 3;
    Host("\x1b&a14998RA \x1b[a \x1b]\r\nB \x1b[b\x1b]\r\nC \x1b[c\x1b]\x1bW");
    ASSERT_TRUE(mem.IsWrapped());
    Host("\x1b&a0y0C");
    st.ModeBits = kBlockMode;
    Enter();
    EXPECT_EQ(Sent(), "a\\x1f"
                      "b\\x1f"
                      "c");
}

TEST_F(BlockTransmissionTest, EnterInFormatModeFromAProtectedColumnTakesTheNextField)
{
    NoHandshake();
    Form();
    Host("\x1b&a0y17C");
    Enter();
    EXPECT_EQ(Sent(), "42\\r");
    EXPECT_EQ(mem.CurCol, 23);
    Host("\x1b"
         "b");
    // Past the row's last field: the CR alone, the cursor stays.
    Enter();
    EXPECT_EQ(Sent(), "42\\r\\r");
    EXPECT_EQ(mem.CurCol, 23);
}

// --------------------------------------------------------------- Return in the modify modes

TEST_F(BlockTransmissionTest, ModifyModeReturnPlacesTheCursorByLocalEcho)
{
    struct Case {
        bool Echo;
        int Col;
    };
    for (const Case c : {Case{false, 9}, Case{true, 2}}) {
        SCOPED_TRACE(c.Echo ? "local echo" : "no echo");
        Host("\x1b"
             "E");
        Remote();
        ClearSent();
        NoHandshake();
        Internals(session).Keys().LocalEcho = c.Echo;
        mem.LeftMargin = 2;
        st.ModeBits = kModifyAll;
        Host("Name: \x11");
        Type("Bob\r");
        EXPECT_EQ(Sent(), "Bob\\r");
        EXPECT_EQ(mem.CurCol, c.Col);
        EXPECT_EQ(st.ModeBits, kModifyAll);
    }
}

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
