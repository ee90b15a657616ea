#include "keyboard/Handshake.h"

namespace kalvor {

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
