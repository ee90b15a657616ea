#include "forms/TerminalFormDownload.h"

namespace kalvor::forms {
namespace {

constexpr char kEsc = '\x1b';
constexpr std::string_view kFormEnd = "\x1b%kC";

} // namespace

std::error_code TerminalFormDownload::Start(const ByteQueue& buffer)
{
    if (const std::error_code ec = writer_.Start())
        return ec;
    lastDataMs_ = clock_.NowMs();
    seenAppended_ = buffer.Appended();
    return {};
}

TerminalFormDownload::Outcome TerminalFormDownload::Divert(ByteQueue& buffer)
{
    if (buffer.Appended() != seenAppended_) {
        seenAppended_ = buffer.Appended();
        lastDataMs_ = clock_.NowMs();
    }
    const std::string_view view = buffer.View();
    const std::size_t esc = view.find(kEsc);
    if (esc == std::string_view::npos) {
        writer_.Write(view);
        buffer.Consume(view.size());
        return Outcome::Waiting;
    }
    writer_.Write(view.substr(0, esc));
    buffer.Consume(esc);
    if (buffer.Size() < kFormEnd.size())
        return Outcome::Waiting; // a closing sequence split between pieces waits for the rest
    if (buffer.View().substr(0, kFormEnd.size()) != kFormEnd) {
        writer_.Abandon();
        return Outcome::Abandoned;
    }
    buffer.Consume(kFormEnd.size());
    writer_.Close();
    return Outcome::Complete;
}

bool TerminalFormDownload::CheckTimeout()
{
    if (!Receiving() || clock_.NowMs() - lastDataMs_ < kTimeoutMs)
        return false;
    writer_.Abandon();
    return true;
}

} // namespace kalvor::forms
