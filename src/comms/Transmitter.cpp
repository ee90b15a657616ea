#include "comms/Transmitter.h"

#include "engine/CharacterSets.h"

namespace kalvor {

void Transmitter::SetConnection(Connection& connection)
{
    conn_ = &connection;
    queue_.clear();
    chunkInFlight_ = false;
}

void Transmitter::EchoBookkeeping()
{
    if (!conn_->Network())
        return;
    const bool traceOn = trace_ != nullptr && trace_->Tracing();
    switch (conn_->Kind()) {
    case NetworkKind::TelnetAdvanced:
        if (!LocalEchoRequested && conn_->TransportOpen()) {
            conn_->SendTelnetOption(TelnetVerb::Dont, 1);
            LocalEchoRequested = true;
            if (traceOn)
                trace_->LogTrace("CLIENT Dont:", "1");
        }
        break;
    case NetworkKind::TelnetStandard:
        if (LocalEchoRequested && conn_->TransportOpen()) {
            conn_->SendTelnetOption(TelnetVerb::Do, 1);
            LocalEchoRequested = false;
            if (traceOn)
                trace_->LogTrace("CLIENT   Do:", "1");
        }
        break;
    default: LocalEchoRequested = false; break;
    }
}

void Transmitter::XmitString(std::string_view text, bool lineFeedRequest)
{
    if (!conn_->Connected() || !conn_->TransportOpen())
        return;
    EchoBookkeeping();
    const bool serial = !conn_->Network();
    if (serial && HostPaused) {
        queue_.emplace_back(1, '\x11');
        HostPaused = false;
    }

    work_.assign(text);
    if (st_.HostRoman8)
        TranslateInPlace(work_, Latin1ToRoman8Table());
    if (st_.AutoLineFeed && lineFeedRequest) {
        std::string withLf;
        withLf.reserve(work_.size() + 8);
        for (std::size_t i = 0; i < work_.size(); ++i) {
            withLf.push_back(work_[i]);
            if (work_[i] == '\r' && !(i + 2 < work_.size() && work_[i + 1] == '\0' && work_[i + 2] == '\n')) {
                withLf.push_back('\0');
                withLf.push_back('\n');
            }
        }
        work_.swap(withLf);
    }

    const std::size_t chunk = serial ? kSerialChunk : kNetworkChunk;
    for (std::size_t pos = 0; pos < work_.size(); pos += chunk) {
        const std::string_view piece = std::string_view(work_).substr(pos, chunk);
        if (serial)
            queue_.emplace_back(piece);
        else
            WriteChunk(piece);
    }
    if (serial)
        Pump();
}

void Transmitter::Pump()
{
    while (!queue_.empty()) {
        if (chunkInFlight_ && conn_->OutputWaiting() > 0 && clock_.NowMs() - chunkSentAt_ < kSerialDrainMs)
            return;
        if (!conn_->Connected() || !conn_->TransportOpen()) {
            queue_.clear();
            chunkInFlight_ = false;
            return;
        }
        WriteChunk(queue_.front());
        queue_.pop_front();
        chunkInFlight_ = true;
        chunkSentAt_ = clock_.NowMs();
    }
}

void Transmitter::WriteChunk(std::string_view chunk)
{
    if (trace_ != nullptr && trace_->Tracing())
        trace_->LogTrace("Transmitted:", chunk);
    conn_->Write(chunk);
}

} // namespace kalvor
