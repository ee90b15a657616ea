// The status replies the screen cases cannot ask for: the printer status,
// the object address and the user-key labels cut to their lines (status.case
// and block.case have the rest).
#include "BlocksFixture.h"
#include "TempHome.h"

#include "keyboard/TerminalStatus.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kalvor::test {
namespace {

TEST(TerminalStatusTest, PrinterStatusBytes)
{
    struct Case {
        char Printer;
        bool Flag;
        int Device;
        const char* Reply;
    };
    const Case cases[] = {
        {'S', false, 6, "\\e\\\\p6080\\r"},
        {' ', true, 6, "\\e\\\\p6010\\r"},
        {'F', true, 4, "\\e\\\\p4191\\r"},
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
    EXPECT_EQ(Visible(BuildObjAddr(1234, 7)), "\\e%a234r007C");
}

TEST(TerminalStatusTest, UserKeyDefinition)
{
    // Label lines are cut to eight characters each.
    EXPECT_EQ(Visible(UserKeyDefinitionText(8, {"123456789", "line two!", 0, ""})), "\\e&f8k0a16d000L12345678line two");
    EXPECT_EQ(Visible(UserKeyDefinitionText(1, {"", "lower", 1, "q"})), "\\e&f1k1a16d001L        lower   q");
}

// Through the session: strap N from the host (it opens the escape log, so the
// test has its own program folder) shows in the secondary status.
class StatusSessionTest : public BlocksFixture {
protected:
    TempHome home;
};

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
