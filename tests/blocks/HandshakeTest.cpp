// The DC1/DC2 handshake: the decision table of GetDataRequestType and every
// transition of the handshake's state machine, with the bytes each sends.
#include "BlocksFixture.h"

#include "keyboard/Handshake.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvor::test {
namespace {

// --------------------------------------------------------------- decisions

struct DecisionCase {
    DataKind Kind;
    bool G;
    bool H;
    bool Block;
    bool Line; // line strapping
    RequestDecision Expected;
};

constexpr DataKind kReply = DataKind::HostReply;
constexpr DataKind kKey = DataKind::UserKey;
constexpr DataKind kLine = DataKind::Line;
constexpr DataKind kBlock = DataKind::Block;
constexpr RequestDecision kNow = RequestDecision::SendNow;
constexpr RequestDecision kDc2 = RequestDecision::Dc2First;
constexpr RequestDecision kDc1 = RequestDecision::AwaitDc1;

const DecisionCase kDecisions[] = {
    // G and H both set: always at once.
    {kReply, true, true, false, false, kNow},
    {kKey, true, true, true, false, kNow},
    {kLine, true, true, false, false, kNow},
    {kBlock, true, true, true, true, kNow},
    // G alone: DC2 first for every kind.
    {kReply, true, false, false, false, kDc2},
    {kKey, true, false, false, false, kDc2},
    {kLine, true, false, true, false, kDc2},
    {kBlock, true, false, false, true, kDc2},
    // H alone: replies wait for DC1, the others go at once.
    {kReply, false, true, false, false, kDc1},
    {kReply, false, true, true, false, kDc1},
    {kKey, false, true, true, false, kNow},
    {kLine, false, true, false, false, kNow},
    {kBlock, false, true, true, false, kNow},
    // Neither.
    {kBlock, false, false, true, true, kDc2},
    {kBlock, false, false, false, false, kNow},
    {kReply, false, false, false, false, kDc1},
    {kReply, false, false, true, true, kDc1},
    {kKey, false, false, true, false, kDc2},
    {kKey, false, false, true, true, kDc1},
    {kKey, false, false, false, false, kNow},
    {kLine, false, false, true, false, kNow},
};

TEST(GetDataRequestTypeTest, DecisionTable)
{
    for (const DecisionCase& c : kDecisions) {
        TerminalState st;
        st.Strap.G = c.G;
        st.Strap.H = c.H;
        st.ModeBits = c.Block ? kBlockMode : 0;
        st.Strap.LineStrapping = c.Line;
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(c.Kind)) + " G " + std::to_string(c.G) + " H " +
                     std::to_string(c.H) + " block " + std::to_string(c.Block) + " line " + std::to_string(c.Line));
        EXPECT_EQ(GetDataRequestType(c.Kind, st), c.Expected);
    }
}

// --------------------------------------------------------------- transitions

std::string Name(HostRequest request)
{
    switch (request) {
    case HostRequest::PrimaryStatus: return "primary";
    case HostRequest::SecondaryStatus: return "secondary";
    case HostRequest::EnterBlock: return "block";
    default: return "other";
    }
}

class HandshakeTest : public ::testing::Test, private HandshakeEvents {
protected:
    struct Sent {
        std::string Text;
        bool LineFeedRequest;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> sent;
    std::vector<HostRequest> filled;
    Handshake hs{static_cast<HandshakeEvents&>(*this)};

    void Transmit(std::string_view text, bool lf) override { sent.push_back({std::string(text), lf}); }
    // A request fills "<its name>"; a user key keeps the buffer and asks for
    // the line feed, the others do not.
    bool FillRequest(HostRequest request, std::string& buffer) override
    {
        filled.push_back(request);
        if (request == HostRequest::UserKey)
            return true;
        buffer = "<" + Name(request) + ">";
        return false;
    }

    std::string All() const
    {
        std::string s;
        for (const Sent& x : sent)
            s += x.Text;
        return Visible(s);
    }
};

TEST_F(HandshakeTest, StartsIdleWithTheHostReady)
{
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Idle);
    EXPECT_EQ(hs.PendingRequest(), HostRequest::None);
    EXPECT_TRUE(hs.Dc1Received());
}

TEST_F(HandshakeTest, DecisionZeroChangesNothing)
{
    hs.Await(HostRequest::RelativeCursor, kNow);
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Idle);
    EXPECT_EQ(hs.PendingRequest(), HostRequest::None);
    EXPECT_TRUE(sent.empty());
}

TEST_F(HandshakeTest, PositiveDecisionWaitsForTheDc1)
{
    hs.Await(HostRequest::SecondaryStatus, kDc1);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::DataOwed);
    EXPECT_EQ(hs.PendingRequest(), HostRequest::SecondaryStatus);
    EXPECT_TRUE(hs.Dc1Received());
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(sent, (std::vector<Sent>{{"<secondary>", false}}));
    EXPECT_EQ(hs.PendingRequest(), HostRequest::None);
    EXPECT_TRUE(hs.Dc1Received());
}

TEST_F(HandshakeTest, NegativeDecisionWithTheHostReadySendsDc2Now)
{
    hs.Await(HostRequest::EnterBlock, kDc2, Handshake::Dc2Timing::WhenHostReady, "\r");
    EXPECT_EQ(sent, (std::vector<Sent>{{"\x12\r", false}}));
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::DataOwed);
    EXPECT_EQ(hs.PendingRequest(), HostRequest::EnterBlock);
    EXPECT_FALSE(hs.Dc1Received());
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(All(), "\\x12\\r<block>");
    EXPECT_TRUE(hs.Dc1Received());
}

TEST_F(HandshakeTest, NegativeDecisionBeforeTheHostIsReadyOwesTheDc2)
{
    hs.Reset(false);
    hs.Await(HostRequest::EnterBlock, kDc2, Handshake::Dc2Timing::WhenHostReady, "\r");
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Dc2Owed);
    EXPECT_EQ(hs.PendingRequest(), HostRequest::EnterBlock);
    // The owed DC2 goes alone, without what followed a DC2 sent at once.
    EXPECT_FALSE(hs.OnHostDc1());
    EXPECT_EQ(sent, (std::vector<Sent>{{"\x12", false}}));
    EXPECT_EQ(hs.PendingRequest(), HostRequest::EnterBlock);
    EXPECT_FALSE(hs.Dc1Received());
    EXPECT_TRUE(filled.empty());
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(All(), "\\x12<block>");
    EXPECT_EQ(filled, std::vector<HostRequest>{HostRequest::EnterBlock});
}

TEST_F(HandshakeTest, ForcedDc2GoesOutBeforeTheHostIsReady)
{
    hs.Reset(false);
    hs.TransmitBuffer = "line\r";
    hs.Await(HostRequest::UserKey, kDc2, Handshake::Dc2Timing::Now);
    EXPECT_EQ(sent, (std::vector<Sent>{{"\x12", false}}));
    EXPECT_EQ(hs.PendingRequest(), HostRequest::UserKey);
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(sent.back(), (Sent{"line\r", true}));
}

TEST_F(HandshakeTest, Dc1WhileIdleEmptiesTheBufferAndSendsNothing)
{
    hs.TransmitBuffer = "stale";
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(hs.TransmitBuffer.empty());
    EXPECT_TRUE(filled.empty());
}

TEST_F(HandshakeTest, ResetForgetsThePendingRequest)
{
    hs.Reset(false);
    hs.Await(HostRequest::PrimaryStatus, kDc2);
    hs.TransmitBuffer = "x";
    hs.Reset();
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Idle);
    EXPECT_EQ(hs.PendingRequest(), HostRequest::None);
    EXPECT_TRUE(hs.Dc1Received());
    EXPECT_TRUE(hs.TransmitBuffer.empty());
    hs.OnHostDc1();
    EXPECT_TRUE(sent.empty());
}

TEST_F(HandshakeTest, HostRequestUnderTheStraps)
{
    struct Case {
        bool G, H;
        const char* Before;
        const char* After;
    };
    const Case cases[] = {
        {false, false, "", "<primary>"},
        {true, false, "\\x12", "\\x12<primary>"},
        {false, true, "", "<primary>"},
        {true, true, "<primary>", "<primary>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("G ") + (c.G ? "1" : "0") + " H " + (c.H ? "1" : "0"));
        sent.clear();
        hs.Reset();
        TerminalState st;
        st.Strap.G = c.G;
        st.Strap.H = c.H;
        hs.AnswerHost(HostRequest::PrimaryStatus, st);
        EXPECT_EQ(All(), c.Before);
        EXPECT_EQ(hs.CurrentPhase() == Handshake::Phase::Idle, c.G && c.H) << "G and H: sent at once";
        hs.OnHostDc1();
        ASSERT_EQ(All(), c.After);
        EXPECT_EQ(sent.back(), (Sent{"<primary>", false})) << "the filler's line feed request";
    }
}

TEST_F(HandshakeTest, OfferedTextGoesOnTheDc1AndTheDecisionIsReturned)
{
    TerminalState st;
    st.Strap.G = true;
    EXPECT_EQ(hs.OfferTransmission(HostRequest::UserKey, kKey, "key\r", st), kDc2);
    EXPECT_EQ(All(), "\\x12");
    hs.OnHostDc1();
    EXPECT_EQ(sent.back(), (Sent{"key\r", true}));

    st.Strap.H = true;
    EXPECT_EQ(hs.OfferTransmission(HostRequest::UserKey, kKey, "now", st), kNow);
    EXPECT_EQ(sent.back(), (Sent{"now", true}));
}

TEST_F(HandshakeTest, ANewRequestReplacesTheWaitingOne)
{
    hs.Await(HostRequest::PrimaryStatus, kDc1);
    hs.Await(HostRequest::SecondaryStatus, kDc1);
    hs.OnHostDc1();
    EXPECT_EQ(All(), "<secondary>");
}

} // namespace
} // namespace kalvor::test
