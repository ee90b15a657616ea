// The DC1/DC2 handshake with which the host paces block transfers and status
// replies. One small state machine: the phase of the pending request and the
// DC1-received flag change together, in Handshake::Step only.
//
//   phase      pending request   meaning
//   Idle         0               nothing waits
//   Dc2Owed     -r               a DC2 goes out on the host's next DC1, the
//                                data of request r on the DC1 after that
//   DataOwed    +r               the data of request r goes out on the host's
//                                next DC1
//
//   DC1 received: the host's DC1 arrived and no request was pending. It
//   starts set (the host is taken as ready until a transmission waits for it)
//   and is cleared whenever a DC2 goes out.
//
// Transitions:
//   request, decision 0        unchanged (the caller sends at once)
//   request, decision +r       -> DataOwed r
//   request, decision -r       DC1 received (or DC2 forced): DC2 now
//                              -> DataOwed r, DC1 received cleared;
//                              else -> Dc2Owed r
//   host DC1 in Dc2Owed        DC2 alone -> DataOwed, DC1 received cleared
//   host DC1 otherwise         the data of the request (none when Idle) is
//                              filled and sent -> Idle, DC1 received set
//   reset                      -> Idle, DC1 received as the reset says
//                              (set by a soft reset)
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
    enum class Phase { Idle, Dc2Owed, DataOwed };
    // When a DC2 owed by a new request goes out: once the host's DC1 has
    // arrived (now if it already has), or at once regardless.
    enum class Dc2Timing { WhenHostReady, Now };

    // Sends bytes to the host (XmitString).
    using TransmitFn = std::function<void(std::string_view text, bool lineFeedRequest)>;
    // Fills the transmit buffer for request type `request` when it goes out;
    // returns whether the text goes out with the line-feed request.
    using FillFn = std::function<bool(int request, std::string& buffer)>;

    explicit Handshake(TransmitFn transmit) : transmit_(std::move(transmit)) {}

    void SetFiller(FillFn fill) { fill_ = std::move(fill); }

    Phase CurrentPhase() const { return phase_; }
    // The pending request as a signed number: 0 none, -r a DC2 is owed
    // first, +r the data goes out on the next DC1.
    int PendingRequest() const;
    bool Dc1Received() const { return dc1Received_; }

    // The string being assembled for one transmission; a request that
    // carries its text from the start (a user key, a modify-mode line) puts
    // it here before it waits.
    std::string TransmitBuffer;

    // Records request `requestType` with the decision of GetDataRequestType.
    // 0 changes nothing (the caller sends at once); otherwise the request
    // waits as the transitions above say. `afterDc2` follows a DC2 sent by
    // this call (never one sent on a later DC1).
    void Await(int requestType, int decision, Dc2Timing timing = Dc2Timing::WhenHostReady,
               std::string_view afterDc2 = {});
    // The host's DC1 arrived (called by the text writer). Returns true when
    // it completed the handshake (the data, if any, went out), false when it
    // only released an owed DC2.
    bool OnHostDc1();
    // A host request for data (cursor sensing, status, block): sent at once,
    // after a DC2, or when the host's DC1 comes, as the straps decide.
    void HostRequest(int requestType, int dataKind, const TerminalState& st);
    // Data the terminal sends of its own accord (a transmit-only user key,
    // request type 1 with data kind 3): sent at once when the straps allow
    // it, returning 0; otherwise `text` becomes the pending transmission,
    // goes out on the host's DC1 (after a DC2 where one is owed: sent now
    // when the host's DC1 has already arrived) and the decision is returned.
    int OfferTransmission(int requestType, int dataKind, std::string text, const TerminalState& st);
    // Nothing pending; `hostReady`: the host's DC1 is taken as received (a
    // soft reset), else the first DC2 waits for the host's first DC1.
    void Reset(bool hostReady = true);

private:
    // Fills and sends request `requestType` now, emptying the buffer.
    void SendNow(int requestType);
    enum class Event { Request, HostDc1, Reset };
    // Every change of phase, request and DC1-received flag. Returns true when
    // a host DC1 completed the handshake.
    bool Step(Event event, int requestType = 0, int decision = 0, Dc2Timing timing = Dc2Timing::WhenHostReady,
              std::string_view afterDc2 = {}, bool hostReady = true);
    void SendDc2(std::string_view afterDc2);
    void Complete();

    TransmitFn transmit_;
    FillFn fill_;
    Phase phase_ = Phase::Idle;
    int request_ = 0; // the waiting request type, positive; 0 when idle
    bool dc1Received_ = true;
};

} // namespace kalvor
