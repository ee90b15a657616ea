// The transmit path (XmitString): every byte the terminal side sends to the
// host passes here. Chunks of 50 characters on the serial line, 500 on a
// network connection; Roman 8 translation; NUL LF after CR on request; the
// Telnet echo bookkeeping; the trace of each chunk.
//
// On the serial line each chunk waits until the port has drained or one
// second has passed before the next is written; the chunks wait in a queue
// that Pump() moves on from the receive timer, so nothing blocks.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/Connection.h"
#include "engine/TerminalState.h"

#include <deque>
#include <string>
#include <string_view>

namespace kalvor {

class Transmitter {
public:
    static constexpr std::size_t kSerialChunk = 50;
    static constexpr std::size_t kNetworkChunk = 500;
    static constexpr std::int64_t kSerialDrainMs = 1000;

    Transmitter(const TerminalState& state, Connection& connection, Clock& clock, TraceSink* trace)
        : st_(state), conn_(&connection), clock_(clock), trace_(trace)
    {}

    void SetConnection(Connection& connection);

    // XmitString(text, line-feed request).
    void XmitString(std::string_view text, bool lineFeedRequest);
    // Writes queued serial chunks whose turn has come.
    void Pump();
    bool Idle() const { return queue_.empty(); }

    // The program sent XOFF because the receive buffer ran full.
    bool HostPaused = false;
    // The program told the Telnet server DONT ECHO and echoes itself.
    bool LocalEchoRequested = false;
    // The server asked DO 42 or DO 45 (echo suppression offered).
    bool EchoSuppressionOffered = false;

private:
    void EchoBookkeeping();
    void WriteChunk(std::string_view chunk);

    const TerminalState& st_;
    Connection* conn_;
    Clock& clock_;
    TraceSink* trace_;
    std::deque<std::string> queue_; // serial chunks not yet written
    std::int64_t chunkSentAt_ = 0;
    bool chunkInFlight_ = false;
    std::string work_;
};

} // namespace kalvor
