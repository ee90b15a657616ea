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

TEST(TelnetDecoder, DoubledIacIsOneDataByte)
{
    Recorder r;
    TelnetDecoder d;
    d.Feed(B({'a', 255, 255, 'b', 255, 255, 255, 255}), r);
    EXPECT_EQ(r.data, B({'a', 255, 'b', 255, 255}));
    EXPECT_TRUE(r.events.empty());
}

TEST(TelnetDecoder, CommandsSplitAcrossChunksKeepTheirPlace)
{
    Recorder r;
    TelnetDecoder d;
    d.Feed(B({'x', 255}), r);
    d.Feed(B({253}), r);
    d.Feed(B({24, 'y', 255}), r);
    d.Feed(B({255, 'z', 255, 241}), r);
    EXPECT_EQ(r.data, B({'x', 'y', 255, 'z'}));
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0], "opt 253 24 after 1");
    EXPECT_EQ(r.events[1], "cmd 241");
}

TEST(TelnetDecoder, SubnegotiationIsDeliveredWholeWithDoubledIacReduced)
{
    Recorder r;
    TelnetDecoder d;
    const std::string sb = B({255, 250, 24, 1, 255, 255, 7, 255, 240});
    for (const char c : sb)
        d.Feed(std::string_view(&c, 1), r);
    d.Feed("after", r);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0], "sub " + B({255, 250, 24, 1, 255, 7, 255, 240}));
    EXPECT_EQ(r.data, "after");
}

TEST(TelnetDecoder, CommandInsideSubnegotiationEndsIt)
{
    Recorder r;
    TelnetDecoder d;
    d.Feed(B({255, 250, 24, 1, 255, 253, 1, 'q'}), r);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0], "sub " + B({255, 250, 24, 1, 255, 240}));
    EXPECT_EQ(r.events[1], "opt 253 1 after 0");
    EXPECT_EQ(r.data, "q");
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

TEST_F(NegotiatorTest, DoTerminalTypeIsAnsweredWill)
{
    Receive(B({255, 253, 24}));
    EXPECT_EQ(sink.sent, B({255, 251, 24}));
    ASSERT_EQ(sink.trace.size(), 2u);
    EXPECT_EQ(sink.trace[0], (std::pair<std::string, std::string>("SERVER   Do:", "24")));
    EXPECT_EQ(sink.trace[1], (std::pair<std::string, std::string>("CLIENT Will:", "24")));
}

TEST_F(NegotiatorTest, DoRemoteFlowControlAgreesAndSetsTheSwitch)
{
    Receive(B({255, 253, 33}));
    EXPECT_EQ(sink.sent, B({255, 251, 33}));
    EXPECT_TRUE(flow);
    sink.sent.clear();
    Receive(B({255, 254, 33})); // DONT 33: WONT, the switch stays
    EXPECT_EQ(sink.sent, B({255, 252, 33}));
    EXPECT_TRUE(flow);
    Receive(B({255, 252, 33})); // WONT 33 clears it, no reply
    EXPECT_FALSE(flow);
    EXPECT_EQ(sink.sent, B({255, 252, 33}));
}

TEST_F(NegotiatorTest, DoAndDontEchoSuppressionOptions)
{
    Receive(B({255, 253, 42}));
    EXPECT_TRUE(suppression);
    suppression = false;
    Receive(B({255, 253, 45}));
    EXPECT_TRUE(suppression);
    EXPECT_EQ(sink.sent, B({255, 251, 42, 255, 251, 45}));
    sink.sent.clear();
    Receive(B({255, 254, 45}));
    EXPECT_FALSE(suppression);
    EXPECT_EQ(sink.sent, B({255, 252, 45}));
    EXPECT_EQ(sink.trace.back(), (std::pair<std::string, std::string>("CLIENT Wont:", "45")));
}

TEST_F(NegotiatorTest, AnyOtherDoOrDontIsRefused)
{
    Receive(B({255, 253, 31, 255, 253, 3, 255, 254, 1}));
    EXPECT_EQ(sink.sent, B({255, 252, 31, 255, 252, 3, 255, 252, 1}));
    EXPECT_EQ(sink.trace[4], (std::pair<std::string, std::string>("SERVER Dont:", "1")));
}

TEST_F(NegotiatorTest, FirstWillEchoAsksForEchoAndOption45AndTurnsStandard)
{
    Receive(B({255, 251, 1}));
    EXPECT_EQ(sink.sent, B({255, 253, 1, 255, 253, 45}));
    EXPECT_TRUE(neg.ServerEcho());
    EXPECT_FALSE(neg.JustConnected());
    EXPECT_EQ(neg.Kind(), NetworkKind::TelnetStandard);
    ASSERT_EQ(sink.variants.size(), 1u);
    EXPECT_EQ(sink.variants[0], NetworkKind::TelnetStandard);
    ASSERT_EQ(sink.trace.size(), 3u);
    EXPECT_EQ(sink.trace[0], (std::pair<std::string, std::string>("SERVER Will:", "1")));
    EXPECT_EQ(sink.trace[1], (std::pair<std::string, std::string>("CLIENT   Do:", "1")));
    EXPECT_EQ(sink.trace[2], (std::pair<std::string, std::string>("CLIENT   Do:", "45")));
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

TEST_F(NegotiatorTest, OtherWillIsRefusedWithDont)
{
    // inetutils telnetd offers authentication (37) and encryption (38) and
    // waits for the answer before it goes on.
    Receive(B({255, 251, 37, 255, 251, 38, 255, 251, 3}));
    EXPECT_EQ(sink.sent, B({255, 254, 37, 255, 254, 38, 255, 254, 3}));
    ASSERT_EQ(sink.trace.size(), 6u);
    EXPECT_EQ(sink.trace[1], (std::pair<std::string, std::string>("CLIENT Dont:", "37")));
    EXPECT_EQ(sink.trace[3], (std::pair<std::string, std::string>("CLIENT Dont:", "38")));
    // A refusal the server acknowledges with WONT is not answered again.
    sink.sent.clear();
    Receive(B({255, 252, 37}));
    EXPECT_EQ(sink.sent, "");
}

TEST_F(NegotiatorTest, TerminalTypeRequestIsAnsweredWithTheConfiguredType)
{
    neg.Start(NetworkKind::TelnetAdvanced, "hp70092");
    Receive(B({255, 250, 24, 1, 255, 240}));
    EXPECT_EQ(sink.sent, B({255, 250, 24, 0}) + "hp70092" + B({255, 240}));
    ASSERT_EQ(sink.trace.size(), 2u);
    EXPECT_EQ(sink.trace[0].first, "SERVER  Sub:");
    EXPECT_EQ(sink.trace[0].second, B({255, 250, 24, 1, 255, 240}));
    EXPECT_EQ(sink.trace[1].first, "CLIENT  Sub:");
    EXPECT_EQ(sink.trace[1].second, sink.sent);
}

TEST_F(NegotiatorTest, OtherSubnegotiationsAndCommandsAreTracedOnly)
{
    Receive(B({255, 250, 31, 0, 80, 0, 24, 255, 240, 255, 246, 'a'}));
    EXPECT_EQ(sink.sent, "");
    EXPECT_EQ(data, "a");
    ASSERT_EQ(sink.trace.size(), 2u);
    EXPECT_EQ(sink.trace[1], (std::pair<std::string, std::string>("SERVER Cmnd:", "246")));
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
