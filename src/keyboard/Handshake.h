// The DC1/DC2 handshake with which the host paces block transfers and status
// replies: the pending request and the DC1-received flag.
//
//   pending request  0: none
//                   <0: a DC2 must still be sent before the data
//                   >0: the data of that request type goes out on the next DC1
//   DC1 received     the host's DC1 arrived and no request was pending; starts
//                    set (the host is taken as ready until a transmission
//                    waits for it)
#pragma once

#include "engine/TerminalState.h"

#include <functional>
#include <string>
#include <string_view>

namespace kalvor {

// Whether data goes out now (0), needs DC2 first (negative) or waits for the
// host's DC1 (positive), from straps G (inhibit handshake) and H (inhibit
// DC2), block mode and page strapping. `dataKind` 1..5 as the callers give it.
int GetDataRequestType(int requestType, int dataKind, const TerminalState& st);

class Handshake {
public:
    // Sends bytes to the host (XmitString).
    using TransmitFn = std::function<void(std::string_view text, bool lineFeedRequest)>;
    // Fills the transmit buffer for request type `request` when its DC1 came;
    // returns whether the text goes out with the line-feed request.
    using FillFn = std::function<bool(int request, std::string& buffer)>;

    explicit Handshake(TransmitFn transmit) : transmit_(std::move(transmit)) {}

    void SetFiller(FillFn fill) { fill_ = std::move(fill); }

    int PendingRequest = 0;
    bool Dc1Received = true;
    std::string TransmitBuffer;

    // The host's DC1 arrived (called by the text writer).
    void OnHostDc1();
    // A host request for data (cursor sensing, status, block): sent at once,
    // after a DC2, or when the host's DC1 comes, as the straps decide.
    void HostRequest(int requestType, int dataKind, const TerminalState& st);
    // Data the terminal sends of its own accord (a transmit-only user key,
    // request type 1 with data kind 3): sent at once when the straps allow
    // it, returning 0; otherwise `text` becomes the pending transmission,
    // goes out on the host's DC1 (after a DC2 where one is owed: sent now
    // when the host's DC1 has already arrived) and the decision is returned.
    int OfferTransmission(int requestType, int dataKind, std::string text, const TerminalState& st);
    // Soft reset: the host is taken as ready again.
    void Reset();

private:
    void SendNow(int requestType);

    TransmitFn transmit_;
    FillFn fill_;
};

} // namespace kalvor
