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
    int DataKind;
    bool G;
    bool H;
    bool Block;
    bool Line; // line strapping
    int Expected; // for request 7
};

const DecisionCase kDecisions[] = {
    // G and H both set: always at once.
    {1, true, true, true, false, 0},
    {2, true, true, false, false, 0},
    {3, true, true, true, false, 0},
    {4, true, true, false, false, 0},
    {5, true, true, true, true, 0},
    // G alone: DC2 first for every known kind.
    {1, true, false, false, false, -7},
    {2, true, false, false, false, -7},
    {3, true, false, false, false, -7},
    {4, true, false, true, false, -7},
    {5, true, false, false, true, -7},
    // H alone: kind 2 waits for DC1, the others go at once.
    {1, false, true, true, false, 0},
    {2, false, true, false, false, 7},
    {2, false, true, true, false, 7},
    {3, false, true, true, false, 0},
    {4, false, true, false, false, 0},
    {5, false, true, true, false, 0},
    // Neither.
    {1, false, false, true, false, -7},
    {1, false, false, false, false, 0},
    {5, false, false, true, true, -7},
    {5, false, false, false, false, 0},
    {2, false, false, false, false, 7},
    {2, false, false, true, true, 7},
    {3, false, false, true, false, -7},
    {3, false, false, true, true, 7},
    {3, false, false, false, false, 0},
    {4, false, false, true, false, 0},
    // Unknown kinds never wait.
    {0, true, false, true, false, 0},
    {6, false, false, true, false, 0},
};

TEST(GetDataRequestTypeTest, DecisionTable)
{
    for (const DecisionCase& c : kDecisions) {
        TerminalState st;
        st.Strap.G = c.G;
        st.Strap.H = c.H;
        st.ModeBits = c.Block ? kBlockMode : 0;
        st.Strap.LineStrapping = c.Line;
        SCOPED_TRACE("kind " + std::to_string(c.DataKind) + " G " + std::to_string(c.G) + " H " +
                     std::to_string(c.H) + " block " + std::to_string(c.Block) + " line " + std::to_string(c.Line));
        EXPECT_EQ(GetDataRequestType(7, c.DataKind, st), c.Expected);
        // The sign of the request type given makes no difference.
        EXPECT_EQ(GetDataRequestType(-7, c.DataKind, st), c.Expected);
    }
}

// --------------------------------------------------------------- transitions

class HandshakeTest : public ::testing::Test {
protected:
    struct Sent {
        std::string Text;
        bool LineFeedRequest;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> sent;
    std::vector<int> filled;
    Handshake hs{[this](std::string_view text, bool lf) { sent.push_back({std::string(text), lf}); }};

    HandshakeTest()
    {
        // Request r fills "<r>"; request 1 keeps the buffer and asks for the
        // line feed, the others do not.
        hs.SetFiller([this](int request, std::string& buffer) {
            filled.push_back(request);
            if (request == 1)
                return true;
            buffer = "<" + std::to_string(request) + ">";
            return false;
        });
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
    EXPECT_EQ(hs.PendingRequest(), 0);
    EXPECT_TRUE(hs.Dc1Received());
}

TEST_F(HandshakeTest, DecisionZeroChangesNothing)
{
    hs.Await(5, 0);
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Idle);
    EXPECT_EQ(hs.PendingRequest(), 0);
    EXPECT_TRUE(sent.empty());
}

TEST_F(HandshakeTest, PositiveDecisionWaitsForTheDc1)
{
    hs.Await(8, 8);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::DataOwed);
    EXPECT_EQ(hs.PendingRequest(), 8);
    EXPECT_TRUE(hs.Dc1Received());
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(sent, (std::vector<Sent>{{"<8>", false}}));
    EXPECT_EQ(hs.PendingRequest(), 0);
    EXPECT_TRUE(hs.Dc1Received());
}

TEST_F(HandshakeTest, NegativeDecisionWithTheHostReadySendsDc2Now)
{
    hs.Await(18, -18, Handshake::Dc2Timing::WhenHostReady, "\r");
    EXPECT_EQ(sent, (std::vector<Sent>{{"\x12\r", false}}));
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::DataOwed);
    EXPECT_EQ(hs.PendingRequest(), 18);
    EXPECT_FALSE(hs.Dc1Received());
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(All(), "\\x12\\r<18>");
    EXPECT_TRUE(hs.Dc1Received());
}

TEST_F(HandshakeTest, NegativeDecisionBeforeTheHostIsReadyOwesTheDc2)
{
    hs.Reset(false);
    hs.Await(18, -18, Handshake::Dc2Timing::WhenHostReady, "\r");
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Dc2Owed);
    EXPECT_EQ(hs.PendingRequest(), -18);
    // The owed DC2 goes alone, without what followed a DC2 sent at once.
    EXPECT_FALSE(hs.OnHostDc1());
    EXPECT_EQ(sent, (std::vector<Sent>{{"\x12", false}}));
    EXPECT_EQ(hs.PendingRequest(), 18);
    EXPECT_FALSE(hs.Dc1Received());
    EXPECT_TRUE(filled.empty());
    EXPECT_TRUE(hs.OnHostDc1());
    EXPECT_EQ(All(), "\\x12<18>");
    EXPECT_EQ(filled, std::vector<int>{18});
}

TEST_F(HandshakeTest, ForcedDc2GoesOutBeforeTheHostIsReady)
{
    hs.Reset(false);
    hs.TransmitBuffer = "line\r";
    hs.Await(1, -1, Handshake::Dc2Timing::Now);
    EXPECT_EQ(sent, (std::vector<Sent>{{"\x12", false}}));
    EXPECT_EQ(hs.PendingRequest(), 1);
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
    hs.Await(7, -7);
    hs.TransmitBuffer = "x";
    hs.Reset();
    EXPECT_EQ(hs.CurrentPhase(), Handshake::Phase::Idle);
    EXPECT_EQ(hs.PendingRequest(), 0);
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
        {false, false, "", "<7>"},
        {true, false, "\\x12", "\\x12<7>"},
        {false, true, "", "<7>"},
        {true, true, "<7>", "<7>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("G ") + (c.G ? "1" : "0") + " H " + (c.H ? "1" : "0"));
        sent.clear();
        hs.Reset();
        TerminalState st;
        st.Strap.G = c.G;
        st.Strap.H = c.H;
        hs.HostRequest(7, 2, st);
        EXPECT_EQ(All(), c.Before);
        EXPECT_EQ(hs.CurrentPhase() == Handshake::Phase::Idle, c.G && c.H) << "G and H: sent at once";
        hs.OnHostDc1();
        ASSERT_EQ(All(), c.After);
        EXPECT_EQ(sent.back(), (Sent{"<7>", false})) << "the filler's line feed request";
    }
}

TEST_F(HandshakeTest, OfferedTextGoesOnTheDc1AndTheDecisionIsReturned)
{
    TerminalState st;
    st.Strap.G = true;
    EXPECT_EQ(hs.OfferTransmission(1, 3, "key\r", st), -1);
    EXPECT_EQ(All(), "\\x12");
    hs.OnHostDc1();
    EXPECT_EQ(sent.back(), (Sent{"key\r", true}));

    st.Strap.H = true;
    EXPECT_EQ(hs.OfferTransmission(1, 3, "now", st), 0);
    EXPECT_EQ(sent.back(), (Sent{"now", true}));
}

TEST_F(HandshakeTest, ANewRequestReplacesTheWaitingOne)
{
    hs.Await(7, 7);
    hs.Await(8, 8);
    hs.OnHostDc1();
    EXPECT_EQ(All(), "<8>");
}

} // namespace
} // namespace kalvor::test
