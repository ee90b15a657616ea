// xmitchar: the Canvo window's own transmit path, taking the steps of the
// terminal's XmitString: the Telnet echo bookkeeping, Roman 8, NUL LF after
// CR when auto line feed is on, chunks of 50 characters on the serial line
// (each waiting for the port to drain, at most 1 s) and 500 on a network
// connection, the "Transmitted:" trace, and "enter"/"exit" in the forms
// debug log.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/Connection.h"
#include "forms/FormsDebugLog.h"
#include "forms/FormsPorts.h"

#include <cstdint>
#include <deque>
#include <string>

namespace kalvor::forms {

class FormsTransmitter final : public FormsOutput {
public:
    static constexpr std::size_t kSerialChunk = 50;
    static constexpr std::size_t kNetworkChunk = 500;
    static constexpr std::int64_t kSerialDrainMs = 1000;

    FormsTransmitter(Connection& connection, Clock& clock, TraceSink* trace = nullptr, FormsDebugLog* log = nullptr)
        : conn_(connection), clock_(clock), trace_(trace), log_(log)
    {}

    // The terminal's switches that shape the bytes.
    bool Roman8Output = false; // the Roman 8 output switch with the Roman 8 character set
    bool AutoLineFeed = false;
    // The echo switch is the terminal transmitter's: the two paths keep one.
    void ShareLocalEchoSwitch(bool& localEchoRequested) { echo_ = &localEchoRequested; }

    // Sends a line with the line-feed request.
    void xmitchar(std::string_view text) override;
    // Writes queued serial chunks whose turn has come (from the 25 ms tick).
    void Pump();
    bool Idle() const { return queue_.empty(); }

private:
    void EchoBookkeeping();
    void WriteChunk(std::string_view chunk);

    Connection& conn_;
    Clock& clock_;
    TraceSink* trace_;
    FormsDebugLog* log_;
    bool ownEcho_ = false;
    bool* echo_ = &ownEcho_;
    std::deque<std::string> queue_; // serial chunks not yet written
    std::int64_t chunkSentAt_ = 0;
    bool chunkInFlight_ = false;
};

} // namespace kalvor::forms
