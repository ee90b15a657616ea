// The escape log of strap N through the session: the host sets the strap,
// and what its escapes and text leave in "temp/zkesc.txt".
#include "FileBytes.h"
#include "SessionFixture.h"
#include "TempHome.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

class EscapeLogTest : public SessionFixture {
protected:
    TempHome home;
    std::filesystem::path file = home.Path() / "temp" / "zkesc.txt";
};

TEST_F(EscapeLogTest, EnhancementsWithEscAs251AndMarksForSoSiCrHt)
{
    Host("\x1b&s1N"
         "a\x1b&dBb\x0e"
         "c\x0f\td\r\x1b&d@"
         "\x1b&s0N");
    EXPECT_FALSE(st.EscapeLogging);
    EXPECT_EQ(ReadAll(file), "\xfb&dB\xee\xef\xe9\xed\xfb&d@");

    // Setting the strap again empties the file; the log is written while it
    // is open, so it is complete before the strap is cleared.
    Host("\x1b&s1N\x1b&dJ");
    EXPECT_EQ(ReadAll(file), "\xfb&dJ");
}

} // namespace
} // namespace kalvor::test
