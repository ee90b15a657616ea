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

#include <functional>
#include <string>
#include <string_view>

namespace kalvor {

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
    // Soft reset: the host is taken as ready again.
    void Reset();

private:
    TransmitFn transmit_;
    FillFn fill_;
};

} // namespace kalvor
