// The Telnet decoder, IAC escaping and the terminal's option negotiation,
// byte for byte, without sockets.
#include "comms/TelnetProtocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kalvor::telnet {
namespace {

std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (const int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

struct Recorder final : TelnetDecoder::Events {
    std::string data;
    std::vector<std::string> events;
    void Data(std::string_view bytes) override { data.append(bytes); }
    void Option(TelnetVerb verb, int option) override
    {
        events.push_back("opt " + std::to_string(static_cast<int>(VerbByte(verb))) + " " + std::to_string(option) +
                         " after " + std::to_string(data.size()));
    }
    void Subnegotiation(std::string_view raw) override { events.push_back("sub " + std::string(raw)); }
    void Command(int code) override { events.push_back("cmd " + std::to_string(code)); }
};

// Chunks fed one after the other: the data and, in order, the options (with
// the data length at the time), subnegotiations and commands.
TEST(TelnetDecoder, DataAndCommandsInAnyChunking)
{
    const struct {
        const char* What;
        std::vector<std::string> Chunks;
        std::string Data;
        std::vector<std::string> Events;
    } rows[] = {
        {"a doubled IAC is one data byte",
         {B({'a', 255, 255, 'b', 255, 255, 255, 255})},
         B({'a', 255, 'b', 255, 255}),
         {}},
        {"commands split across chunks keep their place",
         {B({'x', 255}), B({253}), B({24, 'y', 255}), B({255, 'z', 255, 241})},
         B({'x', 'y', 255, 'z'}),
         {"opt 253 24 after 1", "cmd 241"}},
        {"a subnegotiation byte by byte is delivered whole, doubled IAC reduced",
         {B({255}), B({250}), B({24}), B({1}), B({255}), B({255}), B({7}), B({255}), B({240}), "after"},
         "after",
         {"sub " + B({255, 250, 24, 1, 255, 7, 255, 240})}},
        {"a command inside a subnegotiation ends it",
         {B({255, 250, 24, 1, 255, 253, 1, 'q'})},
         "q",
         {"sub " + B({255, 250, 24, 1, 255, 240}), "opt 253 1 after 0"}},
    };
    for (const auto& row : rows) {
        Recorder r;
        TelnetDecoder d;
        for (const std::string& chunk : row.Chunks)
            d.Feed(chunk, r);
        EXPECT_EQ(r.data, row.Data) << row.What;
        EXPECT_EQ(r.events, row.Events) << row.What;
    }
}

TEST(TelnetEscape, EveryByte255IsDoubled)
{
    EXPECT_EQ(EscapeIac(B({1, 255, 2, 255, 255})), B({1, 255, 255, 2, 255, 255, 255, 255}));
    EXPECT_EQ(EscapeIac("plain"), "plain");
    EXPECT_EQ(EscapeIac(""), "");
}

// The sink records what goes to the socket and the trace; delayed actions
// wait until the test runs them.
struct Sink final : NegotiatorSink {
    std::string sent;
    std::vector<std::pair<std::string, std::string>> trace;
    std::vector<NetworkKind> variants;
    std::vector<std::pair<int, std::function<void()>>> delayed;
    void SendRaw(std::string_view bytes) override { sent.append(bytes); }
    void Trace(std::string_view label, std::string_view data) override { trace.emplace_back(label, data); }
    void VariantChanged(NetworkKind kind) override { variants.push_back(kind); }
    void After(int ms, std::function<void()> action) override { delayed.emplace_back(ms, std::move(action)); }
    void RunDelayed()
    {
        auto pending = std::move(delayed);
        delayed.clear();
        for (auto& [ms, action] : pending)
            action();
    }
};

struct NegotiatorTest : ::testing::Test {
    Sink sink;
    bool localEcho = false;
    bool suppression = false;
    bool flow = false;
    TelnetNegotiator neg{sink, EchoSwitches{&localEcho, &suppression, &flow}};
    std::string data;

    void SetUp() override
    {
        neg.Start(NetworkKind::TelnetAdvanced, "hp");
        neg.Connected();
    }
    void Receive(const std::string& bytes) { neg.Receive(bytes, data); }
};

// What the terminal answers, byte for byte, to what an advanced connection
// receives, the trace lines of the options, and the switches set.
TEST(Negotiator, AnswersOfAnAdvancedConnection)
{
    const struct {
        const char* What;
        std::string Received;
        std::string Sent;
        std::string Trace; // the option lines, "|" between them
        bool Flow, Suppression;
        NetworkKind Kind;
    } rows[] = {
        {"DO 24: WILL", B({255, 253, 24}), B({255, 251, 24}), "SERVER   Do: 24|CLIENT Will: 24", false, false,
         NetworkKind::TelnetAdvanced},
        {"DO 33 agrees and sets the switch; DONT 33 keeps it, WONT 33 clears it", B({255, 253, 33, 255, 254, 33}),
         B({255, 251, 33, 255, 252, 33}), "SERVER   Do: 33|CLIENT Will: 33|SERVER Dont: 33|CLIENT Wont: 33", true,
         false, NetworkKind::TelnetAdvanced},
        {"WONT 33 is not answered", B({255, 253, 33, 255, 252, 33}), B({255, 251, 33}),
         "SERVER   Do: 33|CLIENT Will: 33|SERVER Wont: 33", false, false, NetworkKind::TelnetAdvanced},
        {"DO 42 and DO 45 suppress the echo", B({255, 253, 42, 255, 253, 45}), B({255, 251, 42, 255, 251, 45}),
         "SERVER   Do: 42|CLIENT Will: 42|SERVER   Do: 45|CLIENT Will: 45", false, true, NetworkKind::TelnetAdvanced},
        {"DONT 45 ends it", B({255, 253, 45, 255, 254, 45}), B({255, 251, 45, 255, 252, 45}),
         "SERVER   Do: 45|CLIENT Will: 45|SERVER Dont: 45|CLIENT Wont: 45", false, false, NetworkKind::TelnetAdvanced},
        {"any other DO or DONT: WONT", B({255, 253, 31, 255, 253, 3, 255, 254, 1}),
         B({255, 252, 31, 255, 252, 3, 255, 252, 1}),
         "SERVER   Do: 31|CLIENT Wont: 31|SERVER   Do: 3|CLIENT Wont: 3|SERVER Dont: 1|CLIENT Wont: 1", false, false,
         NetworkKind::TelnetAdvanced},
        {"the first WILL ECHO asks for echo and option 45 and turns standard", B({255, 251, 1}),
         B({255, 253, 1, 255, 253, 45}), "SERVER Will: 1|CLIENT   Do: 1|CLIENT   Do: 45", false, false,
         NetworkKind::TelnetStandard},
        // inetutils telnetd offers authentication (37) and encryption (38)
        // and waits for the answer; a refusal acknowledged is not answered.
        {"any other WILL: DONT", B({255, 251, 37, 255, 251, 38, 255, 251, 3, 255, 252, 37}),
         B({255, 254, 37, 255, 254, 38, 255, 254, 3}),
         "SERVER Will: 37|CLIENT Dont: 37|SERVER Will: 38|CLIENT Dont: 38|SERVER Will: 3|CLIENT Dont: 3|SERVER Wont: "
         "37",
         false, false, NetworkKind::TelnetAdvanced},
        {"the terminal type request", B({255, 250, 24, 1, 255, 240}), B({255, 250, 24, 0}) + "hp70092" + B({255, 240}),
         "SERVER  Sub: " + B({255, 250, 24, 1, 255, 240}) + "|CLIENT  Sub: " + B({255, 250, 24, 0}) + "hp70092" +
             B({255, 240}),
         false, false, NetworkKind::TelnetAdvanced},
        {"other subnegotiations and commands are traced only", B({255, 250, 31, 0, 80, 0, 24, 255, 240, 255, 246}), "",
         "SERVER  Sub: " + B({255, 250, 31, 0, 80, 0, 24, 255, 240}) + "|SERVER Cmnd: 246", false, false,
         NetworkKind::TelnetAdvanced},
    };
    for (const auto& row : rows) {
        Sink sink;
        bool localEcho = false;
        bool suppression = false;
        bool flow = false;
        TelnetNegotiator neg{sink, EchoSwitches{&localEcho, &suppression, &flow}};
        neg.Start(NetworkKind::TelnetAdvanced, "hp70092");
        neg.Connected();
        std::string data;
        neg.Receive(row.Received, data);
        std::string trace;
        for (const auto& [label, text] : sink.trace)
            trace += (trace.empty() ? "" : "|") + label + " " + text;
        EXPECT_EQ(sink.sent, row.Sent) << row.What;
        EXPECT_EQ(trace, row.Trace) << row.What;
        EXPECT_EQ(flow, row.Flow) << row.What;
        EXPECT_EQ(suppression, row.Suppression) << row.What;
        EXPECT_EQ(neg.Kind(), row.Kind) << row.What;
        EXPECT_EQ(data, "") << row.What;
    }
}

TEST_F(NegotiatorTest, ServerOfferingOption45EndsAdvancedWithDo1AndDo45Sent)
{
    Receive(B({255, 251, 1}));
    Receive(B({255, 251, 45}));
    EXPECT_EQ(neg.Kind(), NetworkKind::TelnetAdvanced);
    EXPECT_EQ(sink.sent, B({255, 253, 1, 255, 253, 45}));
    EXPECT_EQ(sink.variants.back(), NetworkKind::TelnetAdvanced);
    Receive(B({255, 252, 45}));
    EXPECT_EQ(neg.Kind(), NetworkKind::TelnetStandard);
    EXPECT_EQ(sink.trace.back(), (std::pair<std::string, std::string>("SERVER Wont:", "45")));
}

TEST_F(NegotiatorTest, LaterWillEchoOnAdvancedRefusesEchoAfterTheWait)
{
    Receive(B({255, 251, 1}));
    Receive(B({255, 251, 45}));
    sink.sent.clear();
    Receive(B({255, 251, 1}));
    EXPECT_EQ(sink.sent, "");
    ASSERT_EQ(sink.delayed.size(), 1u);
    EXPECT_EQ(sink.delayed[0].first, 50);
    EXPECT_FALSE(localEcho);
    sink.RunDelayed();
    EXPECT_EQ(sink.sent, B({255, 254, 1}));
    EXPECT_TRUE(localEcho);
    EXPECT_EQ(sink.trace.back(), (std::pair<std::string, std::string>("CLIENT Dont:", "1")));
}

TEST_F(NegotiatorTest, LaterWillEchoOnStandardOnlySetsServerEcho)
{
    Receive(B({255, 251, 1}));
    Receive(B({255, 252, 1}));
    EXPECT_FALSE(neg.ServerEcho());
    sink.sent.clear();
    Receive(B({255, 251, 1}));
    EXPECT_TRUE(neg.ServerEcho());
    EXPECT_EQ(sink.sent, "");
    EXPECT_TRUE(sink.delayed.empty());
}

TEST_F(NegotiatorTest, DelayedRefusalOfAnEarlierConnectionIsDropped)
{
    Receive(B({255, 251, 1}));
    Receive(B({255, 251, 45}));
    Receive(B({255, 251, 1}));
    ASSERT_EQ(sink.delayed.size(), 1u);
    neg.Start(NetworkKind::TelnetAdvanced, "hp");
    sink.sent.clear();
    sink.RunDelayed();
    EXPECT_EQ(sink.sent, "");
    EXPECT_FALSE(localEcho);
}

TEST_F(NegotiatorTest, DataAroundCommandsReachesTheBuffer)
{
    Receive(B({'l', 'o', 255, 253, 24, 'g', 255, 255, 'i', 'n'}));
    EXPECT_EQ(data, B({'l', 'o', 'g', 255, 'i', 'n'}));
}

TEST_F(NegotiatorTest, BreakAndOptionsAreSentAsCommands)
{
    neg.SendCommand(243);
    neg.SendOption(TelnetVerb::Dont, 1);
    EXPECT_EQ(sink.sent, B({255, 243, 255, 254, 1}));
}

} // namespace
} // namespace kalvor::telnet
