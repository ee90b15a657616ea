// The DC1/DC2 handshake with which the host paces block transfers and status
// replies. One small state machine: the phase, the pending request and the
// DC1-received flag change together, in Handshake::Step only.
//
//   phase      meaning
//   Idle       nothing waits (the pending request is None)
//   Dc2Owed    a DC2 goes out on the host's next DC1, the data of the pending
//              request on the DC1 after that
//   DataOwed   the data of the pending request goes out on the host's next DC1
//
//   DC1 received: the host's DC1 arrived and no request was pending. It
//   starts set (the host is taken as ready until a transmission waits for it)
//   and is cleared whenever a DC2 goes out.
//
// Transitions, for request r:
//   decision SendNow           unchanged (the caller sends at once)
//   decision AwaitDc1          -> DataOwed r
//   decision Dc2First          DC1 received (or DC2 forced): DC2 now
//                              -> DataOwed r, DC1 received cleared;
//                              else -> Dc2Owed r
//   host DC1 in Dc2Owed        DC2 alone -> DataOwed, DC1 received cleared
//   host DC1 otherwise         the data of the request (none when Idle) is
//                              filled and sent -> Idle, DC1 received set
//   reset                      -> Idle, DC1 received as the reset says
//                              (set by a soft reset)
#pragma once

#include "engine/HostRequest.h"
#include "engine/TerminalState.h"

#include <string>
#include <string_view>

namespace kalvor {

// The kinds of data the straps treat differently.
enum class DataKind {
    HostReply, // a reply to the host: cursor sensing, status, ESC d
    UserKey,   // a transmit-only user key
    Line,      // a modify-mode line, the field of an Enter in format mode
    Block,     // the other Enter cases
};

// What the straps decide for data about to go out.
enum class RequestDecision {
    SendNow,  // no handshake: it goes out at once
    Dc2First, // the terminal sends DC2 first; the data follows the host's DC1
    AwaitDc1, // it waits for the host's DC1
};

// The decision for data of `kind`, from straps G (inhibit handshake) and H
// (inhibit DC2), block mode and page strapping.
RequestDecision GetDataRequestType(DataKind kind, const TerminalState& st);

// What the handshake asks of the program around it: the transmit path, and
// the data of a request when it goes out (block transmission). The session
// implements it.
class HandshakeEvents {
public:
    // XmitString: send `text` to the host.
    virtual void Transmit(std::string_view text, bool lineFeedRequest) = 0;
    // Fills the transmit buffer for `request` when it goes out; returns
    // whether the text goes out with the line-feed request.
    virtual bool FillRequest(HostRequest request, std::string& buffer) = 0;

protected:
    ~HandshakeEvents() = default;
};

class Handshake {
public:
    enum class Phase { Idle, Dc2Owed, DataOwed };
    // When a DC2 owed by a new request goes out: once the host's DC1 has
    // arrived (now if it already has), or at once regardless.
    enum class Dc2Timing { WhenHostReady, Now };

    explicit Handshake(HandshakeEvents& events) : events_(events) {}
    Handshake(const Handshake&) = delete;
    Handshake& operator=(const Handshake&) = delete;

    Phase CurrentPhase() const { return phase_; }
    // The request waiting in the current phase; None while idle.
    HostRequest PendingRequest() const { return request_; }
    bool Dc1Received() const { return dc1Received_; }

    // The string being assembled for one transmission; a request that
    // carries its text from the start (a user key, a modify-mode line) puts
    // it here before it waits.
    std::string TransmitBuffer;

    // Records `request` with the decision of GetDataRequestType. SendNow
    // changes nothing (the caller sends at once); otherwise the request
    // waits as the transitions above say. `afterDc2` follows a DC2 sent by
    // this call (never one sent on a later DC1).
    void Await(HostRequest request, RequestDecision decision, Dc2Timing timing = Dc2Timing::WhenHostReady,
               std::string_view afterDc2 = {});
    // The host's DC1 arrived (called by the text writer). Returns true when
    // it completed the handshake (the data, if any, went out), false when it
    // only released an owed DC2.
    bool OnHostDc1();
    // A host request for data (cursor sensing, status, block): sent at once,
    // after a DC2, or when the host's DC1 comes, as the straps decide.
    void AnswerHost(HostRequest request, const TerminalState& st);
    // Data the terminal sends of its own accord (a transmit-only user key):
    // sent at once when the straps allow it (SendNow); otherwise `text`
    // becomes the pending transmission, goes out on the host's DC1 (after a
    // DC2 where one is owed: sent now when the host's DC1 has already
    // arrived). Returns the decision.
    RequestDecision OfferTransmission(HostRequest request, DataKind kind, std::string text, const TerminalState& st);
    // Nothing pending; `hostReady`: the host's DC1 is taken as received (a
    // soft reset), else the first DC2 waits for the host's first DC1.
    void Reset(bool hostReady = true);

private:
    // Fills and sends `request` now, emptying the buffer.
    void SendNow(HostRequest request);
    enum class Event { Request, HostDc1, Reset };
    // Every change of phase, request and DC1-received flag. Returns true when
    // a host DC1 completed the handshake.
    bool Step(Event event, HostRequest request = HostRequest::None, RequestDecision decision = RequestDecision::SendNow,
              Dc2Timing timing = Dc2Timing::WhenHostReady, std::string_view afterDc2 = {}, bool hostReady = true);
    void SendDc2(std::string_view afterDc2);
    void Complete();

    HandshakeEvents& events_;
    Phase phase_ = Phase::Idle;
    HostRequest request_ = HostRequest::None; // None while idle
    bool dc1Received_ = true;
};

} // namespace kalvor
