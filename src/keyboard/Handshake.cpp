#include "keyboard/Handshake.h"

#include <utility>

namespace kalvor {

RequestDecision GetDataRequestType(DataKind kind, const TerminalState& st)
{
    const bool g = st.Strap.G;
    const bool h = st.Strap.H;
    if (g && h)
        return RequestDecision::SendNow;
    if (g)
        return RequestDecision::Dc2First;
    if (h)
        return kind == DataKind::HostReply ? RequestDecision::AwaitDc1 : RequestDecision::SendNow;
    switch (kind) {
    case DataKind::Block: return st.BlockMode() ? RequestDecision::Dc2First : RequestDecision::SendNow;
    case DataKind::HostReply: return RequestDecision::AwaitDc1;
    case DataKind::UserKey:
        if (!st.BlockMode())
            return RequestDecision::SendNow;
        return st.Strap.PageStrapping() ? RequestDecision::Dc2First : RequestDecision::AwaitDc1;
    case DataKind::Line: break;
    }
    return RequestDecision::SendNow;
}

bool Handshake::Step(Event event, HostRequest request, RequestDecision decision, Dc2Timing timing,
                     std::string_view afterDc2, bool hostReady)
{
    switch (event) {
    case Event::Request:
        if (decision == RequestDecision::SendNow)
            return false;
        request_ = request;
        if (decision == RequestDecision::AwaitDc1) {
            phase_ = Phase::DataOwed;
        } else if (dc1Received_ || timing == Dc2Timing::Now) {
            SendDc2(afterDc2);
            phase_ = Phase::DataOwed;
            dc1Received_ = false;
        } else {
            phase_ = Phase::Dc2Owed;
        }
        return false;
    case Event::HostDc1:
        if (phase_ == Phase::Dc2Owed) {
            // The DC2 owed before the data; the data follows the next DC1.
            SendDc2({});
            phase_ = Phase::DataOwed;
            dc1Received_ = false;
            return false;
        }
        Complete();
        phase_ = Phase::Idle;
        request_ = HostRequest::None;
        dc1Received_ = true;
        return true;
    case Event::Reset:
        phase_ = Phase::Idle;
        request_ = HostRequest::None;
        dc1Received_ = hostReady;
        TransmitBuffer.clear();
        return false;
    }
    return false;
}

void Handshake::SendDc2(std::string_view afterDc2)
{
    std::string dc2(1, '\x12');
    dc2.append(afterDc2);
    events_.Transmit(dc2, false);
}

// The data of the waiting request (nothing when idle) goes out.
void Handshake::Complete()
{
    bool lineFeedRequest = true;
    if (phase_ == Phase::Idle)
        TransmitBuffer.clear();
    else
        lineFeedRequest = events_.FillRequest(request_, TransmitBuffer);
    if (!TransmitBuffer.empty())
        events_.Transmit(TransmitBuffer, lineFeedRequest);
    TransmitBuffer.clear();
}

void Handshake::Await(HostRequest request, RequestDecision decision, Dc2Timing timing, std::string_view afterDc2)
{
    Step(Event::Request, request, decision, timing, afterDc2);
}

bool Handshake::OnHostDc1() { return Step(Event::HostDc1); }

void Handshake::Reset(bool hostReady)
{
    Step(Event::Reset, HostRequest::None, RequestDecision::SendNow, Dc2Timing::WhenHostReady, {}, hostReady);
}

void Handshake::AnswerHost(HostRequest request, const TerminalState& st)
{
    const RequestDecision decision = GetDataRequestType(DataKind::HostReply, st);
    if (decision == RequestDecision::SendNow)
        SendNow(request);
    else
        Await(request, decision);
}

RequestDecision Handshake::OfferTransmission(HostRequest request, DataKind kind, std::string text,
                                             const TerminalState& st)
{
    const RequestDecision decision = GetDataRequestType(kind, st);
    if (decision == RequestDecision::SendNow) {
        events_.Transmit(text, true);
        return decision;
    }
    TransmitBuffer = std::move(text);
    Await(request, decision);
    return decision;
}

void Handshake::SendNow(HostRequest request)
{
    const bool lineFeedRequest = events_.FillRequest(request, TransmitBuffer);
    if (!TransmitBuffer.empty())
        events_.Transmit(TransmitBuffer, lineFeedRequest);
    TransmitBuffer.clear();
}

} // namespace kalvor
