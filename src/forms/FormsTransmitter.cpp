#include "forms/FormsTransmitter.h"

#include "engine/CharacterSets.h"

namespace kalvor::forms {

void FormsTransmitter::EchoBookkeeping()
{
    if (!conn_.Network())
        return;
    const bool traceOn = trace_ != nullptr && trace_->Tracing();
    switch (conn_.Kind()) {
    case NetworkKind::TelnetAdvanced:
        if (!*echo_ && conn_.TransportOpen()) {
            conn_.SendTelnetOption(TelnetVerb::Dont, 1);
            *echo_ = true;
            if (traceOn)
                trace_->LogTrace("CLIENT Dont:", "1");
        }
        break;
    case NetworkKind::TelnetStandard:
        if (*echo_ && conn_.TransportOpen()) {
            conn_.SendTelnetOption(TelnetVerb::Do, 1);
            *echo_ = false;
            if (traceOn)
                trace_->LogTrace("CLIENT   Do:", "1");
        }
        break;
    default: *echo_ = false; break;
    }
}

void FormsTransmitter::xmitchar(std::string_view text)
{
    DebugScope scope(log_, "xmitchar");
    if (!conn_.Connected() || !conn_.TransportOpen())
        return;
    EchoBookkeeping();
    std::string work(text);
    if (Roman8Output)
        TranslateInPlace(work, Latin1ToRoman8Table());
    if (AutoLineFeed) {
        std::string withLf;
        withLf.reserve(work.size() + 8);
        for (std::size_t i = 0; i < work.size(); ++i) {
            withLf.push_back(work[i]);
            if (work[i] == '\r' && !(i + 2 < work.size() && work[i + 1] == '\0' && work[i + 2] == '\n'))
                withLf.append(std::string_view("\0\n", 2));
        }
        work.swap(withLf);
    }
    const bool serial = !conn_.Network();
    const std::size_t chunk = serial ? kSerialChunk : kNetworkChunk;
    for (std::size_t pos = 0; pos < work.size(); pos += chunk) {
        const std::string_view piece = std::string_view(work).substr(pos, chunk);
        if (serial)
            queue_.emplace_back(piece);
        else
            WriteChunk(piece);
    }
    if (serial)
        Pump();
}

void FormsTransmitter::Pump()
{
    while (!queue_.empty()) {
        if (chunkInFlight_ && conn_.OutputWaiting() > 0 && clock_.NowMs() - chunkSentAt_ < kSerialDrainMs)
            return;
        if (!conn_.Connected() || !conn_.TransportOpen()) {
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

void FormsTransmitter::WriteChunk(std::string_view chunk)
{
    if (trace_ != nullptr && trace_->Tracing())
        trace_->LogTrace("Transmitted:", chunk);
    conn_.Write(chunk);
}

} // namespace kalvor::forms
