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
}

// The sink records what goes to the socket and "~" where the delayed actions
// ran.
struct Sink final : NegotiatorSink {
    std::string sent;
    std::vector<std::function<void()>> delayed;
    NetworkKind told = NetworkKind::TelnetAdvanced; // the variant last told
    void SendRaw(std::string_view bytes) override { sent.append(bytes); }
    void Trace(std::string_view, std::string_view) override {}
    void VariantChanged(NetworkKind kind) override { told = kind; }
    void After(int, std::function<void()> action) override { delayed.push_back(std::move(action)); }
};

// An advanced connection receiving each step in turn ("run": the delayed
// actions run; "restart": a new connection starts): what the terminal sent,
// the switches set and the variant (also as told to
// the connection), and the data passed on.
TEST(Negotiator, AnswersOfAnAdvancedConnection)
{
    const struct Row {
        const char* What;
        std::vector<std::string> Steps;
        std::string Sent;
        std::string State = "advanced"; // "flow", "suppression", "local-echo", "server-echo", then the variant
        std::string Data = "";
    } rows[] = {
        {"DO 24: WILL", {B({255, 253, 24})}, B({255, 251, 24})},
        {"DO 33 agrees and sets the switch; DONT 33 keeps it", {B({255, 253, 33, 255, 254, 33})},
         B({255, 251, 33, 255, 252, 33}), "flow advanced"},
        {"WONT 33 is not answered", {B({255, 253, 33, 255, 252, 33})}, B({255, 251, 33})},
        {"DO 42 and DO 45 suppress the echo", {B({255, 253, 42, 255, 253, 45})}, B({255, 251, 42, 255, 251, 45}),
         "suppression advanced"},
        {"DONT 45 ends it", {B({255, 253, 45, 255, 254, 45})}, B({255, 251, 45, 255, 252, 45})},
        {"any other DO or DONT: WONT", {B({255, 253, 31, 255, 254, 1})}, B({255, 252, 31, 255, 252, 1})},
        // inetutils telnetd offers authentication (37) and encryption (38)
        // and waits for the answer; a refusal acknowledged is not answered.
        {"any other WILL: DONT", {B({255, 251, 37, 255, 251, 38, 255, 252, 37})}, B({255, 254, 37, 255, 254, 38})},
        {"the terminal type request", {B({255, 250, 24, 1, 255, 240})}, B({255, 250, 24, 0}) + "hp70092" + B({255, 240})},
        {"other subnegotiations and commands are not answered", {B({255, 250, 31, 0, 80, 0, 24, 255, 240, 255, 246})}, ""},
        {"data around commands is passed on", {B({'l', 'o', 255, 253, 24, 'g', 255, 255, 'i', 'n'})},
         B({255, 251, 24}), "advanced", B({'l', 'o', 'g', 255, 'i', 'n'})},
        // The first WILL ECHO asks for the echo and option 45.
        {"no option 45 offered: standard", {B({255, 251, 1})}, B({255, 253, 1, 255, 253, 45}), "server-echo standard"},
        {"option 45 offered: advanced", {B({255, 251, 1}), B({255, 251, 45})}, B({255, 253, 1, 255, 253, 45}),
         "server-echo advanced"},
        {"option 45 withdrawn: standard", {B({255, 251, 1}), B({255, 251, 45}), B({255, 252, 45})},
         B({255, 253, 1, 255, 253, 45}), "server-echo standard"},
        {"a later WILL ECHO on advanced is refused after a wait, and the terminal echoes",
         {B({255, 251, 1}), B({255, 251, 45}), B({255, 251, 1}), "run"}, B({255, 253, 1, 255, 253, 45}) + "~" +
         B({255, 254, 1}), "local-echo server-echo advanced"},
        {"WONT ECHO ends the server's echo", {B({255, 251, 1}), B({255, 252, 1})}, B({255, 253, 1, 255, 253, 45}),
         "standard"},
        {"a later WILL ECHO on standard only sets the server's echo",
         {B({255, 251, 1}), B({255, 252, 1}), B({255, 251, 1}), "run"}, B({255, 253, 1, 255, 253, 45}) + "~",
         "server-echo standard"},
        {"a refusal delayed from an earlier connection is dropped",
         {B({255, 251, 1}), B({255, 251, 45}), B({255, 251, 1}), "restart", "run"},
         B({255, 253, 1, 255, 253, 45}) + "~"},
    };
    for (const Row& row : rows) {
        Sink sink;
        bool localEcho = false, suppression = false, flow = false;
        TelnetNegotiator neg{sink, EchoSwitches{&localEcho, &suppression, &flow}};
        neg.Start(NetworkKind::TelnetAdvanced, "hp70092");
        neg.Connected();
        std::string data;
        for (const std::string& step : row.Steps) {
            if (step == "restart") {
                neg.Start(NetworkKind::TelnetAdvanced, "hp70092");
            } else if (step == "run") {
                sink.sent += "~";
                for (auto& action : std::exchange(sink.delayed, {}))
                    action();
            } else {
                neg.Receive(step, data);
            }
        }
        const std::string state = std::string(flow ? "flow " : "") + (suppression ? "suppression " : "") +
                                  (localEcho ? "local-echo " : "") + (neg.ServerEcho() ? "server-echo " : "") +
                                  (neg.Kind() == NetworkKind::TelnetStandard ? "standard" : "advanced");
        EXPECT_EQ(sink.sent, row.Sent) << row.What;
        EXPECT_EQ(state, row.State) << row.What;
        EXPECT_EQ(sink.told, neg.Kind()) << row.What;
        EXPECT_EQ(data, row.Data) << row.What;
    }
}

TEST(Negotiator, BreakAndOptionsAreSentAsCommands)
{
    Sink sink;
    TelnetNegotiator neg{sink, EchoSwitches{}};
    neg.SendCommand(243);
    neg.SendOption(TelnetVerb::Dont, 1);
    EXPECT_EQ(sink.sent, B({255, 243, 255, 254, 1}));
}

} // namespace
} // namespace kalvor::telnet
