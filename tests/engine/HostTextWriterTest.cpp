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

// ---------------------------------------------------------------- filtering

TEST_F(HostTextWriterTest, BellSoundsOncePerBelOnlyWhenOn)
{
    write("A\aB\a\a");
    EXPECT_EQ(hooks.Bells, 3);
    st.BellOn = false;
    write("C\a");
    EXPECT_EQ(hooks.Bells, 3);
    EXPECT_EQ(text(0), "ABC");
}

// ---------------------------------------------------------------- record mode

TEST_F(HostTextWriterTest, RecordModeShowsControlCharactersAsMnemonics)
{
    using namespace std::string_literals;
    const struct {
        std::string run;
        std::string row0;
    } cases[] = {
        {"A\x0c"
         "B\x00\x01\x02\x03\x04\x05\x06\x07\b\t\x0b\x0e\x0f\x10"s,
         "A<ff>B<null><soh><stx><etx><eot><enq><ack><bell><bs><ht><vt><so><si><dle>"},
        {"\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1c\x1d\x1e\x1f\x1b&dB"s,
         "<dc2><dc3><dc4><nak><syn><etb><can><em><sub><fs><gs><rs><us><esc>&dB"},
    };
    for (const auto& c : cases) {
        Rig r;
        auto& [h, t, s, w] = r;
        s.RecordMode = 1;
        w.Write(c.run);
        EXPECT_EQ(s.Mem.Row(0).Text, c.row0) << c.row0;
        EXPECT_EQ(h.Recorded, c.row0) << c.row0;
        EXPECT_EQ(h.Bells, 0) << c.row0;
        EXPECT_EQ(s.Mem.CurCol, static_cast<int>(c.row0.size())) << c.row0;
        EXPECT_TRUE(s.Mem.Row(0).Shift.empty()) << c.row0;
    }
}

TEST_F(HostTextWriterTest, RecordModeKeepsCrLfAndDc1)
{
    st.RecordMode = 2;
    write("AB\r\nC\x11"
          "D");
    EXPECT_EQ(text(0), "AB");
    EXPECT_EQ(text(1), "CD");
    EXPECT_EQ(hooks.Dc1s, 1);
    EXPECT_EQ(hooks.Recorded, "AB\r\nC\x11"
                              "D");
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
