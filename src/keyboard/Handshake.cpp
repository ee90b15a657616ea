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

void Handshake::HostRequest(int requestType, int dataKind, const TerminalState& st)
{
    const int decision = GetDataRequestType(requestType, dataKind, st);
    if (decision == 0) {
        SendNow(requestType);
        return;
    }
    PendingRequest = decision;
    if (decision < 0 && Dc1Received) {
        transmit_("\x12", false);
        PendingRequest = -decision;
        Dc1Received = false;
    }
}

int Handshake::OfferTransmission(int requestType, int dataKind, std::string text, const TerminalState& st)
{
    const int decision = GetDataRequestType(requestType, dataKind, st);
    if (decision == 0) {
        transmit_(text, true);
        return 0;
    }
    TransmitBuffer = std::move(text);
    PendingRequest = decision;
    if (decision < 0 && Dc1Received) {
        transmit_("\x12", false);
        PendingRequest = -decision;
        Dc1Received = false;
    }
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

void Handshake::OnHostDc1()
{
    if (PendingRequest < 0) {
        // The DC2 owed before the data; the data follows the next DC1.
        transmit_("\x12", false);
        PendingRequest = -PendingRequest;
        Dc1Received = false;
        return;
    }
    bool lineFeedRequest = true;
    if (PendingRequest == 0)
        TransmitBuffer.clear();
    else if (fill_)
        lineFeedRequest = fill_(PendingRequest, TransmitBuffer);
    if (!TransmitBuffer.empty()) {
        transmit_(TransmitBuffer, lineFeedRequest);
        TransmitBuffer.clear();
    }
    PendingRequest = 0;
    Dc1Received = true;
}

void Handshake::Reset()
{
    PendingRequest = 0;
    Dc1Received = true;
}

} // namespace kalvor
