#include "comms/ReceivePass.h"

#include <cstring>

namespace kalvor {
namespace {

constexpr char kEsc = '\x1b';
constexpr char kCr = '\r';
constexpr char kEnq = '\x05';
constexpr char kAck = '\x06';

} // namespace

void ReceivePass::PollingCommBuffer()
{
    // Keyboard routines call the pass directly; a call made while a pass runs
    // leaves its data to the running pass, which drains until empty.
    if (running_)
        return;
    running_ = true;
    ReadClock();
    for (;;) {
        if (Gather() || --piecesUntilClock_ <= 0)
            ReadClock();
        if (hooks_.ScriptRunning())
            hooks_.RunScriptStep();
        // Pacing also runs on an empty buffer, so that a host paused by XOFF
        // is resumed once a large piece has been interpreted in one go.
        PaceHost();
        if (hooks_.FormsWindowOpen())
            break;
        if (comm_.Empty()) {
            hooks_.ScriptIdleStep();
            break;
        }
        if (!DisplayRunning || now_ < holdUntil_)
            break;
        AnswerEnq();
        if (hooks_.FormDownloadActive()) {
            const std::size_t before = comm_.Size();
            hooks_.DivertFormData(comm_);
            ForgetScans();
            if (comm_.Size() == before && hooks_.FormDownloadActive())
                break; // waiting for more of the form
            continue;
        }
        if (!InterpretPiece())
            break;
        if (comm_.Empty())
            RepaintNow();
    }
    running_ = false;
}

// True when data was added to the receive buffer.
bool ReceivePass::Gather()
{
    const bool traceOn = trace_ != nullptr && trace_->Tracing();
    if (!conn_->Connected()) {
        if (conn_->InputWaiting() > 0) {
            serialIn_.clear();
            conn_->ReadInput(serialIn_);
        }
        return false;
    }
    if (conn_->Network()) {
        if (netIn_.empty())
            return false;
        if (traceOn)
            trace_->LogTrace("Received:", netIn_);
        comm_.Append(netIn_);
        netIn_.clear();
        return true;
    }
    if (traceOn || conn_->InputWaiting() > 0) {
        serialIn_.clear();
        conn_->ReadInput(serialIn_);
        if (traceOn)
            trace_->LogTrace("Received:", serialIn_);
        comm_.Append(serialIn_);
        return !serialIn_.empty();
    }
    return false;
}

void ReceivePass::ReadClock()
{
    now_ = clock_.NowMs();
    piecesUntilClock_ = kClockPieces;
}

void ReceivePass::PaceHost()
{
    const bool paced = conn_->Connected() && (conn_->Network() ? NetworkXoff : conn_->Handshaking() != 0);
    if (!paced)
        return;
    if (tx_.HostPaused && comm_.Size() < kLowWater) {
        tx_.HostPaused = false;
        tx_.XmitString("\x11", false);
    } else if (!tx_.HostPaused && comm_.Size() > kHighWater) {
        tx_.XmitString("\x13", false);
        tx_.HostPaused = true;
    }
}

// Every ENQ waiting in the buffer is removed and answered with one ACK.
void ReceivePass::AnswerEnq()
{
    if (!EnqAck)
        return;
    for (;;) {
        const std::string_view view = comm_.View();
        if (enqFree_ >= view.size())
            return;
        const void* hit = std::memchr(view.data() + enqFree_, kEnq, view.size() - enqFree_);
        if (hit == nullptr) {
            enqFree_ = view.size();
            return;
        }
        const auto pos = static_cast<std::size_t>(static_cast<const char*>(hit) - view.data());
        comm_.EraseAt(pos);
        const std::size_t keep = pos;
        ForgetScans();
        enqFree_ = keep;
        tx_.XmitString(std::string_view(&kAck, 1), false);
    }
}

void ReceivePass::Consume(std::size_t n)
{
    comm_.Consume(n);
    enqFree_ = enqFree_ > n ? enqFree_ - n : 0;
    if (escAt_ != std::string_view::npos && escAt_ >= n) {
        escAt_ -= n;
    } else {
        escAt_ = std::string_view::npos;
        escScanned_ = escScanned_ > n ? escScanned_ - n : 0;
    }
}

// Offset of the first ESC in the receive buffer, or its size when there is
// none. The answer is kept between pieces, so text between two escape
// sequences is searched once however many lines it holds.
std::size_t ReceivePass::NextEsc()
{
    const std::string_view view = comm_.View();
    if (escAt_ != std::string_view::npos && escAt_ < view.size() && view[escAt_] == kEsc)
        return escAt_;
    escAt_ = std::string_view::npos;
    if (escScanned_ > view.size())
        escScanned_ = 0;
    const void* hit = std::memchr(view.data() + escScanned_, kEsc, view.size() - escScanned_);
    if (hit == nullptr) {
        escScanned_ = view.size();
        return view.size();
    }
    escAt_ = static_cast<std::size_t>(static_cast<const char*>(hit) - view.data());
    escScanned_ = escAt_;
    return escAt_;
}

void ReceivePass::ForgetScans()
{
    enqFree_ = 0;
    escAt_ = std::string_view::npos;
    escScanned_ = 0;
}

// Cuts the next piece off the front of the receive buffer and interprets it.
// Returns false when nothing could be taken (the data must wait for more).
bool ReceivePass::InterpretPiece()
{
    if (framer_.Pending()) {
        CollectEscape();
        return true;
    }
    if (term_.State.DisplayFunctions)
        return InterpretDisplayFunctions();

    const std::string_view view = comm_.View();
    const std::size_t esc = NextEsc();
    if (esc == 0) {
        CollectEscape();
        return true;
    }
    const void* cr = std::memchr(view.data(), kCr, esc);
    const std::size_t pos = cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - view.data()) : esc;
    const bool endsWithCr = pos < view.size() && view[pos] == kCr;
    const std::size_t take = endsWithCr ? pos + 1 : pos;
    term_.Writer.PendingText().append(view.substr(0, take));
    Consume(take);
    term_.Writer.WriteHostText();
    if (endsWithCr && now_ - lastRepaint_ >= kRepaintIntervalMs && netIn_.size() < kRepaintBacklog)
        RepaintNow();
    return true;
}

// With display functions on nothing is framed: a piece ends after a CR or
// after the pair ESC Z that switches display functions off. A final lone ESC
// waits for the character that follows it.
bool ReceivePass::InterpretDisplayFunctions()
{
    const std::string_view view = comm_.View();
    std::size_t take = view.size();
    for (std::size_t i = 0; i < view.size(); ++i) {
        if (view[i] == kCr) {
            take = i + 1;
            break;
        }
        if (view[i] == kEsc) {
            if (i + 1 == view.size()) {
                take = i;
                break;
            }
            if (view[i + 1] == 'Z') {
                take = i + 2;
                break;
            }
        }
    }
    if (take == 0)
        return false;
    term_.Writer.PendingText().append(view.substr(0, take));
    Consume(take);
    term_.Writer.WriteHostText();
    return true;
}

void ReceivePass::CollectEscape()
{
    for (;;) {
        const EscapeFramer::Step step = framer_.Collect(comm_);
        ForgetScans();
        if (step == EscapeFramer::Step::Incomplete)
            return;
        if (step == EscapeFramer::Step::Overflow) {
            framer_.Reset();
            return;
        }
        const EscapeResult result = term_.Escapes.Dispatch(framer_.Sequence());
        if (result.Status == EscapeStatus::NeedMore) {
            framer_.ExpectData(result.MoreChars);
            continue;
        }
        framer_.Reset();
        return;
    }
}

void ReceivePass::RepaintNow()
{
    lastRepaint_ = now_;
    hooks_.Repaint();
}

void ReceivePass::StopStart()
{
    if (DisplayRunning) {
        tx_.XmitString("\x13", false);
        DisplayRunning = false;
    } else {
        tx_.XmitString("\x11", false);
        DisplayRunning = true;
    }
}

} // namespace kalvor
