// The receive pass (PollingCommBuffer): every byte from the host passes
// through one receive buffer that this routine drains on the 25 ms receive
// timer. In order: gather input, run the script, pace the host with XON/XOFF,
// answer ENQ with ACK, divert a form download, then cut the buffer into text
// runs (cut after each CR) for the text writer and complete escape sequences
// for the dispatcher. A pass ends only when a gather leaves the buffer empty.
// The clock is read when a pass starts, when a gather brings data and every
// kClockPieces pieces, never per line end.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/ByteQueue.h"
#include "comms/Connection.h"
#include "comms/EscapeFramer.h"
#include "comms/ReceiveHooks.h"
#include "comms/Transmitter.h"
#include "engine/Terminal.h"

#include <cstdint>
#include <string>

namespace kalvor {

// What a connection sees of the receive pass: the staging buffer its data is
// delivered into (emptied by every pass while connected), and how much
// received data still waits to be interpreted.
class ReceiveInput {
public:
    virtual std::string& NetInBuffer() = 0;
    virtual std::size_t CommBufferSize() const = 0;
    // Data was appended to NetInBuffer: a pass may run before the next tick.
    virtual void DataArrived() = 0;

protected:
    ~ReceiveInput() = default;
};

class ReceivePass final : public ReceiveInput {
public:
    static constexpr std::size_t kHighWater = 50000; // send XOFF above this
    static constexpr std::size_t kLowWater = 10000;  // send XON below this
    static constexpr std::int64_t kRepaintIntervalMs = 80;
    static constexpr std::size_t kRepaintBacklog = 10000; // no line repaint while this much waits
    static constexpr int kClockPieces = 64;               // pieces between two clock reads within a pass

    ReceivePass(Terminal& terminal, Transmitter& transmitter, Connection& connection, Clock& clock, ReceiveHooks& hooks,
                TraceSink* trace)
        : term_(terminal), tx_(transmitter), conn_(&connection), clock_(clock), hooks_(hooks), trace_(trace)
    {}

    void SetConnection(Connection& connection) { conn_ = &connection; }

    // CommBuffer: received bytes not yet interpreted; also the local-echo path.
    // Code that changes it other than by appending calls PutBack or
    // ForgetScans so that the pass's search positions are taken again.
    ByteQueue& CommBuffer() { return comm_; }
    const ByteQueue& CommBuffer() const { return comm_; }
    // NetInBuffer: bytes delivered by network data events since the last pass.
    std::string& NetInBuffer() override { return netIn_; }
    const std::string& NetInBuffer() const { return netIn_; }
    std::size_t CommBufferSize() const override { return comm_.Size(); }
    void DataArrived() override { hooks_.DataArrived(); }

    // Local echo and local mode: text interpreted exactly like host output.
    void AppendLocal(std::string_view text) { comm_.Append(text); }
    // Puts bytes back in front of the receive buffer.
    void PutBack(std::string_view text)
    {
        comm_.Prepend(text);
        ForgetScans();
    }
    // A network data event.
    void DeliverNetworkData(std::string_view data) { netIn_.append(data); }

    void PollingCommBuffer();

    // ESC @: hold interpretation for `ms` on the terminal's clock.
    void HoldInterpretation(std::int64_t ms) { holdUntil_ = clock_.NowMs() + ms; }
    bool Holding() const { return clock_.NowMs() < holdUntil_; }
    // The receive buffer was changed other than by appending.
    void ForgetScans();
    // Pause/resume button (StopStartButton_Click).
    void StopStart();
    // Soft reset: no pending sequence, no owed characters.
    void ResetEscapeState() { framer_.Reset(); }

    bool DisplayRunning = true; // pause/resume: while false nothing is interpreted
    bool NetworkXoff = false;   // remote flow control agreed on the network connection
    bool EnqAck = false;        // answer ENQ with ACK

    const EscapeFramer& Framer() const { return framer_; }
    std::int64_t LastRepaintMs() const { return lastRepaint_; }

private:
    bool Gather();
    void PaceHost();
    void AnswerEnq();
    bool InterpretPiece();
    bool InterpretDisplayFunctions();
    void CollectEscape();
    void Consume(std::size_t n);
    std::size_t NextEsc();
    void RepaintNow();
    void ReadClock();

    Terminal& term_;
    Transmitter& tx_;
    Connection* conn_;
    Clock& clock_;
    ReceiveHooks& hooks_;
    TraceSink* trace_;

    ByteQueue comm_;
    std::string netIn_;
    std::string serialIn_;
    EscapeFramer framer_;
    std::size_t enqFree_ = 0;                    // leading bytes of comm_ known to hold no ENQ
    std::size_t escAt_ = std::string_view::npos; // offset of the next ESC when known
    std::size_t escScanned_ = 0;                 // leading bytes of comm_ known to hold no ESC
    std::int64_t lastRepaint_ = 0;
    std::int64_t holdUntil_ = 0;
    std::int64_t now_ = 0;     // the clock as the running pass last read it
    int piecesUntilClock_ = 0; // pieces left before the pass reads the clock again
    bool running_ = false;
};

} // namespace kalvor
