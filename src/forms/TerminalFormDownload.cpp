#include "forms/TerminalFormDownload.h"

#include <cerrno>

namespace kalvor::forms {
namespace {

constexpr char kEsc = '\x1b';
constexpr std::string_view kFormEnd = "\x1b%kC";

} // namespace

std::error_code TerminalFormDownload::Start(const ByteQueue& buffer)
{
    Abandon();
    std::error_code ec;
    std::filesystem::create_directories(files_.Form.parent_path(), ec);
    std::filesystem::remove(files_.Log, ec);
    log_.open(files_.Log, std::ios::binary | std::ios::trunc);
    errno = 0;
    form_.open(files_.Form, std::ios::binary | std::ios::trunc);
    if (!form_.is_open()) {
        const int error = errno != 0 ? errno : EACCES;
        log_.close();
        return {error, std::generic_category()};
    }
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
        Write(view);
        buffer.Consume(view.size());
        return Outcome::Waiting;
    }
    Write(view.substr(0, esc));
    buffer.Consume(esc);
    if (buffer.Size() < kFormEnd.size())
        return Outcome::Waiting; // a closing sequence split between pieces waits for the rest
    if (buffer.View().substr(0, kFormEnd.size()) != kFormEnd) {
        Abandon();
        return Outcome::Abandoned;
    }
    buffer.Consume(kFormEnd.size());
    Close();
    return Outcome::Complete;
}

bool TerminalFormDownload::CheckTimeout()
{
    if (!Receiving() || clock_.NowMs() - lastDataMs_ < kTimeoutMs)
        return false;
    Abandon();
    return true;
}

void TerminalFormDownload::Write(std::string_view text)
{
    if (text.empty())
        return;
    form_.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (log_.is_open())
        log_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TerminalFormDownload::Close()
{
    form_.close();
    log_.close();
}

void TerminalFormDownload::Abandon()
{
    if (!Receiving())
        return;
    Close();
    std::error_code ec;
    std::filesystem::remove(files_.Form, ec);
}

} // namespace kalvor::forms
