#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvor {
namespace {

using test::RecordingHooks;

// A hook that answers DC1 with more host text, as local echo does.
class EchoingHooks : public RecordingHooks {
public:
    HostTextWriter* Writer = nullptr;
    void HostDc1() override { Writer->Write("<echo>"); }
};

TEST(HostTextWriterReentry, TextAddedByAHookIsWrittenAfterTheRun)
{
    EchoingHooks h;
    Terminal t(h);
    h.Writer = &t.Writer;
    t.Writer.Write("AB\x11"
                   "CD");
    EXPECT_EQ(t.State.Mem.Row(0).Text, "ABCD<echo>");
    EXPECT_TRUE(t.Writer.PendingText().empty());
}

TEST(HostTextWriterTest, OutputRoutingDecidesBetweenDisplayAndLog)
{
    const struct {
        int routing;
        const char* row0;
        const char* logged;
    } cases[] = {
        {1, "AB", ""}, {2, "", "A\aB"}, {4, "", "A\aB"}, {3, "AB", "A\aB"}, {0, "", ""},
    };
    for (const auto& c : cases) {
        RecordingHooks h;
        Terminal t(h);
        t.State.OutputRouting = c.routing;
        t.Writer.Write("A\aB");
        EXPECT_EQ(t.State.Mem.Row(0).Text, c.row0) << "routing " << c.routing;
        EXPECT_EQ(h.Logged, c.logged) << "routing " << c.routing;
    }
}

TEST(HostTextWriterTest, EscapeLogGetsMarksForSoSiCrAndHt)
{
    RecordingHooks h;
    Terminal t(h);
    t.State.EscapeLogging = true;
    t.Writer.Write("A\x0e"
                   "B\x0f"
                   "C\r\n\tD\b");
    EXPECT_EQ(h.EscapeLogged, "\xee\xef\xed\xe9");
}

} // namespace
} // namespace kalvor
