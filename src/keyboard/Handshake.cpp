#include "keyboard/Handshake.h"

#include <cstdlib>
#include <utility>

namespace kalvor {

int GetDataRequestType(int requestType, int dataKind, const TerminalState& st)
{
    const int r = std::abs(requestType);
    const bool g = st.Strap.G;
    const bool h = st.Strap.H;
    const bool known = dataKind >= 1 && dataKind <= 5;
    if (!known || (g && h))
        return 0;
    if (g)
        return -r;
    if (h)
        return dataKind == 2 ? r : 0;
    switch (dataKind) {
    case 1:
    case 5: return st.BlockMode() ? -r : 0;
    case 2: return r;
    case 3: return st.BlockMode() ? (st.Strap.PageStrapping() ? -r : r) : 0;
    default: return 0;
    }
}

int Handshake::PendingRequest() const
{
    switch (phase_) {
    case Phase::Dc2Owed: return -request_;
    case Phase::DataOwed: return request_;
    case Phase::Idle: break;
    }
    return 0;
}

bool Handshake::Step(Event event, int requestType, int decision, Dc2Timing timing, std::string_view afterDc2,
                     bool hostReady)
{
    switch (event) {
    case Event::Request:
        if (decision == 0)
            return false;
        request_ = std::abs(requestType);
        if (decision > 0) {
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
        request_ = 0;
        dc1Received_ = true;
        return true;
    case Event::Reset:
        phase_ = Phase::Idle;
        request_ = 0;
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
    transmit_(dc2, false);
}

// The data of the waiting request (nothing when idle) goes out.
void Handshake::Complete()
{
    bool lineFeedRequest = true;
    if (phase_ == Phase::Idle)
        TransmitBuffer.clear();
    else if (fill_)
        lineFeedRequest = fill_(request_, TransmitBuffer);
    if (!TransmitBuffer.empty())
        transmit_(TransmitBuffer, lineFeedRequest);
    TransmitBuffer.clear();
}

void Handshake::Await(int requestType, int decision, Dc2Timing timing, std::string_view afterDc2)
{
    Step(Event::Request, requestType, decision, timing, afterDc2);
}

bool Handshake::OnHostDc1() { return Step(Event::HostDc1); }

void Handshake::Reset(bool hostReady) { Step(Event::Reset, 0, 0, Dc2Timing::WhenHostReady, {}, hostReady); }

void Handshake::HostRequest(int requestType, int dataKind, const TerminalState& st)
{
    const int decision = GetDataRequestType(requestType, dataKind, st);
    if (decision == 0)
        SendNow(requestType);
    else
        Await(requestType, decision);
}

int Handshake::OfferTransmission(int requestType, int dataKind, std::string text, const TerminalState& st)
{
    const int decision = GetDataRequestType(requestType, dataKind, st);
    if (decision == 0) {
        transmit_(text, true);
        return 0;
    }
    TransmitBuffer = std::move(text);
    Await(requestType, decision);
    return decision;
}

void Handshake::SendNow(int requestType)
{
    bool lineFeedRequest = false;
    if (fill_)
        lineFeedRequest = fill_(requestType, TransmitBuffer);
    if (!TransmitBuffer.empty())
        transmit_(TransmitBuffer, lineFeedRequest);
    TransmitBuffer.clear();
}

} // namespace kalvor
