// The DC1/DC2 handshake: every transition of the handshake's state machine,
// with the bytes each sends. Which requests wait under which straps is
// checked by the screen cases (block, status, sensing).
#include "BlocksFixture.h"

#include "keyboard/Handshake.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvor::test {
namespace {

// --------------------------------------------------------------- transitions

constexpr DataKind kKey = DataKind::UserKey;
constexpr RequestDecision kNow = RequestDecision::SendNow;
constexpr RequestDecision kDc2 = RequestDecision::Dc2First;
constexpr RequestDecision kDc1 = RequestDecision::AwaitDc1;

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
