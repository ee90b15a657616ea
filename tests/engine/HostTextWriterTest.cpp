#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace kalvor {
namespace {

using test::RecordingHooks;
using test::Runs;
using test::Show;

// A terminal with recording hooks; the text writer is used as the terminal
// wires it.
// A fresh one per case is taken apart as [hooks, terminal, state, writer].
struct Rig {
    RecordingHooks hooks;
    Terminal term{hooks};
    TerminalState& st = term.State;
    HostTextWriter& writer = term.Writer;
};

class HostTextWriterTest : public ::testing::Test, protected Rig {
protected:
    DisplayMemory& mem() { return st.Mem; }
    const std::string& text(int ring) { return st.Mem.Row(ring).Text; }
    void write(std::string_view run) { writer.Write(run); }
};

// ---------------------------------------------------------------- DC1

// A hook that answers DC1 with more host text, as local echo does.
class EchoingHooks : public RecordingHooks {
public:
    HostTextWriter* Writer = nullptr;
    void HostDc1() override
    {
        RecordingHooks::HostDc1();
        Writer->Write("<echo>");
    }
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

// ---------------------------------------------------------------- routing and logs

TEST_F(HostTextWriterTest, OutputRoutingDecidesBetweenDisplayAndLog)
{
    const struct {
        int routing;
        const char* row0;
        const char* logged;
    } cases[] = {
        {1, "AB", ""}, {2, "", "A\aB"}, {4, "", "A\aB"}, {3, "AB", "A\aB"}, {0, "", ""},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.OutputRouting = c.routing;
        w.Write("A\aB");
        EXPECT_EQ(s.Mem.Row(0).Text, c.row0) << "routing " << c.routing;
        EXPECT_EQ(h.Logged, c.logged) << "routing " << c.routing;
        EXPECT_TRUE(w.PendingText().empty()) << "routing " << c.routing;
    }
}

TEST_F(HostTextWriterTest, EscapeLogGetsMarksForSoSiCrAndHt)
{
    st.EscapeLogging = true;
    write("A\x0e"
          "B\x0f"
          "C\r\n\tD\b");
    EXPECT_EQ(hooks.EscapeLogged, "\xee\xef\xed\xe9");

    Rig r;
    auto& [h, t, s, w] = r;
    w.Write("A\x0e"
            "B\x0f"
            "C\r\n\t");
    EXPECT_TRUE(h.EscapeLogged.empty());
}

} // namespace
} // namespace kalvor
