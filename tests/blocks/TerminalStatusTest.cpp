// The status replies byte for byte: every StatusID, each bit of the primary
// and secondary status bytes, the printer status, the object address and the
// user-key definitions.
#include "BlocksFixture.h"
#include "TempHome.h"

#include "keyboard/TerminalStatus.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kalvor::test {
namespace {

struct IdCase {
    int Id;
    int Device;
    const char* Reply;
};

const IdCase kIds[] = {
    {-1, 0, "70092\r"},
    {0, 0, "\x1b\\?808000\r"},
    {1, 0, "\x1b|0500000\r"},
    {2, 0, "0!#C\r"},
    {3, 0, " A\r"},
    {4, 0, "B\r"},
    {5, 0, "\" B\r"},
    {6, 6, "\x1b\\p6000\r"},
    {6, 4, "\x1b\\p4001\r"},
    {6, 0, "\x1b\\p6000\r"},
    {7, 0, "cDHND\r"},
    {8, 0, "KALVOR-V3.1\r"},
    {9, 0, "\r"},
    {-2, 0, "\r"},
    {1000, 0, "\r"},
};

TEST(TerminalStatusTest, EveryStatusId)
{
    const TerminalState st;
    for (const IdCase& c : kIds) {
        SCOPED_TRACE("status " + std::to_string(c.Id) + " device " + std::to_string(c.Device));
        EXPECT_EQ(Visible(BuildTerminalStatus(c.Id, c.Device, st)), Visible(c.Reply));
    }
}

TEST(TerminalStatusTest, EveryReplyEndsWithRsInBlockModeWithPageStrapping)
{
    TerminalState st;
    st.ModeBits = kBlockMode;
    for (const IdCase& c : kIds) {
        SCOPED_TRACE("status " + std::to_string(c.Id));
        const std::string reply = BuildTerminalStatus(c.Id, c.Device, st);
        ASSERT_FALSE(reply.empty());
        EXPECT_EQ(reply.back(), '\x1e');
    }
    st.Strap.LineStrapping = true;
    EXPECT_EQ(BuildTerminalStatus(-1, 0, st), "70092\r");
}

struct BitsCase {
    const char* Name;
    std::function<void(TerminalState&)> Set;
    const char* Bytes;
};

TEST(TerminalStatusTest, PrimaryStatusBytes)
{
    const BitsCase cases[] = {
        {"nothing set, page strapping", [](TerminalState&) {}, "?808000"},
        {"line strapping", [](TerminalState& s) { s.Strap.LineStrapping = true; }, "?008000"},
        {"strap A", [](TerminalState& s) { s.Strap.A = true; }, "?908000"},
        {"strap B", [](TerminalState& s) { s.Strap.B = true; }, "?:08000"},
        {"strap C", [](TerminalState& s) { s.MarginWrap = true; }, "?<08000"},
        {"straps A B C", [](TerminalState& s) { s.Strap.A = s.Strap.B = s.MarginWrap = true; }, "??08000"},
        {"strap G", [](TerminalState& s) { s.Strap.G = true; }, "?848000"},
        {"strap H", [](TerminalState& s) { s.Strap.H = true; }, "?888000"},
        {"straps G and H", [](TerminalState& s) { s.Strap.G = s.Strap.H = true; }, "?8<8000"},
        {"auto line feed", [](TerminalState& s) { s.AutoLineFeed = true; }, "?80<000"},
        {"block mode", [](TerminalState& s) { s.ModeBits = kBlockMode; }, "?80:000"},
        {"caps lock", [](TerminalState& s) { s.CapsLock = true; }, "?809000"},
        {"modify all is not shown", [](TerminalState& s) { s.ModeBits = kModifyAll | kLineModify; }, "?808000"},
        {"all of byte 3",
         [](TerminalState& s) {
             s.AutoLineFeed = s.CapsLock = true;
             s.ModeBits = kBlockMode;
         },
         "?80?000"},
        {"status flag", [](TerminalState& s) { s.StatusFlag = true; }, "?808002"},
    };
    for (const BitsCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TerminalState st;
        c.Set(st);
        EXPECT_EQ(PrimaryStatusBytes(st), c.Bytes);
    }
}

TEST(TerminalStatusTest, PrimaryStatusReplyFraming)
{
    TerminalState st;
    st.ModeBits = kBlockMode;
    EXPECT_EQ(Visible(BuildTerminalStatus(0, 0, st)), "\\e\\\\?80:000\\x1e");
}

TEST(TerminalStatusTest, SecondaryStatusBytes)
{
    const StatusEnvironment none;
    StatusEnvironment parity;
    parity.SerialParity = true;
    struct Case {
        const char* Name;
        std::function<void(TerminalState&)> Set;
        const StatusEnvironment& Env;
        const char* Bytes;
    };
    const Case cases[] = {
        {"nothing set", [](TerminalState&) {}, none, "0500000"},
        {"strap N", [](TerminalState& s) { s.EscapeLogging = true; }, none, "0501000"},
        {"parity", [](TerminalState&) {}, parity, "0500080"},
        {"memory lock, locked rows empty",
         [](TerminalState& s) {
             s.Mem.ExtendTo(3);
             s.MemLock = {true, 1};
         },
         none, "0500003"},
        {"memory lock, a locked row holds text",
         [](TerminalState& s) {
             s.Mem.ExtendTo(3);
             s.Mem.Row(1).Text = "  x";
             s.MemLock = {true, 1};
         },
         none, "0500007"},
        {"memory lock, text below the locked rows only",
         [](TerminalState& s) {
             s.Mem.ExtendTo(3);
             s.Mem.Row(2).Text = "x";
             s.MemLock = {true, 1};
         },
         none, "0500003"},
        {"memory lock on, no row locked",
         [](TerminalState& s) {
             s.MemLock = {true, -1};
         },
         none, "0500002"},
        {"locked rows remembered, lock off",
         [](TerminalState& s) {
             s.Mem.Row(0).Text = "x";
             s.MemLock = {false, 1};
         },
         none, "0500000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TerminalState st;
        c.Set(st);
        EXPECT_EQ(SecondaryStatusBytes(st, c.Env), c.Bytes);
    }
}

TEST(TerminalStatusTest, PrinterStatusBytes)
{
    struct Case {
        char Printer;
        bool Flag;
        int Device;
        const char* Reply;
    };
    const Case cases[] = {
        {' ', false, 6, "\\e\\\\p6000\\r"}, {'F', false, 6, "\\e\\\\p6180\\r"}, {'S', false, 6, "\\e\\\\p6080\\r"},
        {'S', true, 6, "\\e\\\\p6090\\r"},  {' ', true, 6, "\\e\\\\p6010\\r"},  {'F', true, 4, "\\e\\\\p4191\\r"},
        {'X', false, 4, "\\e\\\\p4001\\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("printer ") + c.Printer + " device " + std::to_string(c.Device));
        TerminalState st;
        st.StatusFlag = c.Flag;
        StatusEnvironment env;
        env.PrinterState = c.Printer;
        EXPECT_EQ(Visible(BuildTerminalStatus(6, c.Device, st, env)), c.Reply);
    }
}

TEST(TerminalStatusTest, ObjectAddress)
{
    EXPECT_EQ(Visible(BuildObjAddr(12, 345)), "\\e%a012r345C");
    EXPECT_EQ(Visible(BuildObjAddr(0, 0)), "\\e%a000r000C");
    EXPECT_EQ(Visible(BuildObjAddr(1234, 7)), "\\e%a234r007C");
}

UserKeyTable Keys()
{
    UserKeyTable keys;
    for (int i = 0; i < 8; ++i)
        keys[static_cast<std::size_t>(i)] = {"k" + std::to_string(i + 1), "", 0,
                                             std::string(1, static_cast<char>('a' + i))};
    return keys;
}

TEST(TerminalStatusTest, UserKeyDefinition)
{
    // Key 3 with a two-letter label, a three-character string, attribute 2.
    EXPECT_EQ(Visible(UserKeyDefinitionText(3, {"ab", "", 2, "xyz"})), "\\e&f3k2a16d003Lab              xyz");
    // Label lines are cut to eight characters each.
    EXPECT_EQ(Visible(UserKeyDefinitionText(8, {"123456789", "line two!", 0, ""})), "\\e&f8k0a16d000L12345678line two");
    EXPECT_EQ(Visible(UserKeyDefinitionText(1, {"", "lower", 1, "q"})), "\\e&f1k1a16d001L        lower   q");
}

TEST(TerminalStatusTest, UserKeyLineWalksTheKeysThenSendsTheBlockEnd)
{
    const UserKeyTable keys = Keys();
    TerminalState st;
    int counter = 4;
    EXPECT_EQ(Visible(BuildUserKeyLine(counter, keys, st, "#")), "\\e&f3k0a16d001Lk3              c\\r");
    EXPECT_EQ(counter, 6);
    counter = 14;
    EXPECT_EQ(Visible(BuildUserKeyLine(counter, keys, st, "#")), "\\e&f8k0a16d001Lk8              h\\r");
    EXPECT_EQ(counter, 16);
    EXPECT_EQ(Visible(BuildUserKeyLine(counter, keys, st, "#")), "#\\r");
    EXPECT_EQ(counter, 16);
    st.ModeBits = kBlockMode;
    EXPECT_EQ(Visible(BuildUserKeyLine(counter, keys, st, "")), "\\x1e");
}

TEST(TerminalStatusTest, UserKeyPage)
{
    const UserKeyTable keys = Keys();
    std::string lines;
    std::string blockLines;
    for (int i = 0; i < 8; ++i) {
        const std::string def = UserKeyDefinitionText(i + 1, keys[static_cast<std::size_t>(i)]);
        lines += def + "\r";
        blockLines += def + "\r\n";
    }
    TerminalState st;
    EXPECT_EQ(Visible(BuildUserKeyPage(keys, st, "#")), Visible(lines + "#"));
    st.ModeBits = kBlockMode;
    EXPECT_EQ(Visible(BuildUserKeyPage(keys, st, "#")), Visible(blockLines + "#"));
    st.Strap.LineStrapping = true;
    EXPECT_EQ(Visible(BuildUserKeyPage(keys, st, "")), Visible(lines));
}

// Through the session: strap N from the host (it opens the escape log, so the
// test has its own program folder) shows in the secondary status.
class StatusSessionTest : public BlocksFixture {
protected:
    TempHome home;
};

TEST_F(StatusSessionTest, StrapNFromTheHostShowsInTheSecondaryStatus)
{
    Remote();
    NoHandshake();
    Host("\x1b&s1N\x1b~\x1b&s0N\x1b~");
    EXPECT_EQ(Sent(), "\\e|0501000\\r\\e|0500000\\r");
}

TEST_F(StatusSessionTest, StatusRepliesUseTheSessionsStatusEnvironment)
{
    Remote();
    NoHandshake();
    blocks.StatusEnv.SerialParity = true;
    blocks.StatusEnv.PrinterState = 'F';
    Host("\x1b~\x1b&p6^");
    EXPECT_EQ(Sent(), "\\e|0500080\\r\\e\\\\p6180\\r");
}

} // namespace
} // namespace kalvor::test
