#include "comms/TelnetProtocol.h"

#include <cstring>

namespace kalvor::telnet {

unsigned char VerbByte(TelnetVerb verb)
{
    switch (verb) {
    case TelnetVerb::Do: return kDo;
    case TelnetVerb::Dont: return kDont;
    case TelnetVerb::Will: return kWill;
    case TelnetVerb::Wont: return kWont;
    }
    return kDo;
}

std::string OptionCommand(TelnetVerb verb, int option)
{
    std::string s;
    s.push_back(static_cast<char>(kIac));
    s.push_back(static_cast<char>(VerbByte(verb)));
    s.push_back(static_cast<char>(option & 0xff));
    return s;
}

void AppendEscaped(std::string& out, std::string_view data)
{
    const char iac = static_cast<char>(kIac);
    while (!data.empty()) {
        const void* hit = std::memchr(data.data(), iac, data.size());
        if (hit == nullptr) {
            out.append(data);
            return;
        }
        const auto n = static_cast<std::size_t>(static_cast<const char*>(hit) - data.data()) + 1;
        out.append(data.substr(0, n));
        out.push_back(iac);
        data.remove_prefix(n);
    }
}

std::string EscapeIac(std::string_view data)
{
    std::string out;
    out.reserve(data.size() + 8);
    AppendEscaped(out, data);
    return out;
}

// ---------------------------------------------------------------------------

void TelnetDecoder::Reset()
{
    state_ = State::Data;
    sub_.clear();
}

void TelnetDecoder::Feed(std::string_view bytes, Events& events)
{
    const char iac = static_cast<char>(kIac);
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        switch (state_) {
        case State::Data: {
            const void* hit = std::memchr(bytes.data() + i, iac, n - i);
            const std::size_t end =
                hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data()) : n;
            if (end > i)
                events.Data(bytes.substr(i, end - i));
            i = end;
            if (i < n) {
                state_ = State::Iac;
                ++i;
            }
            break;
        }
        case State::Iac: {
            const auto b = static_cast<unsigned char>(bytes[i++]);
            if (b == kIac) {
                events.Data(std::string_view(&iac, 1));
                state_ = State::Data;
            } else if (b >= kWill) {
                verb_ = b == kWill   ? TelnetVerb::Will
                        : b == kWont ? TelnetVerb::Wont
                        : b == kDo   ? TelnetVerb::Do
                                     : TelnetVerb::Dont;
                state_ = State::Verb;
            } else if (b == kSb) {
                sub_.assign({iac, static_cast<char>(kSb)});
                state_ = State::Sub;
            } else {
                state_ = State::Data;
                events.Command(b);
            }
            break;
        }
        case State::Verb:
            state_ = State::Data;
            events.Option(verb_, static_cast<unsigned char>(bytes[i++]));
            break;
        case State::Sub: {
            const auto b = bytes[i++];
            if (b == iac)
                state_ = State::SubIac;
            else if (sub_.size() < kMaxSubnegotiation)
                sub_.push_back(b);
            break;
        }
        case State::SubIac: {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == kIac) {
                ++i;
                if (sub_.size() < kMaxSubnegotiation)
                    sub_.push_back(iac);
                state_ = State::Sub;
                break;
            }
            sub_.push_back(iac);
            sub_.push_back(static_cast<char>(kSe));
            std::string done;
            done.swap(sub_);
            if (b == kSe) {
                ++i;
                state_ = State::Data;
            } else {
                // A command inside the subnegotiation ends it; the byte is
                // read again as the command after IAC.
                state_ = State::Iac;
            }
            events.Subnegotiation(done);
            break;
        }
        }
    }
}

// ---------------------------------------------------------------------------

void TelnetNegotiator::Start(NetworkKind kind, std::string terminalType)
{
    ++generation_;
    kind_ = kind;
    terminalType_ = std::move(terminalType);
    serverEcho_ = false;
    justConnected_ = false;
    decoder_.Reset();
}

void TelnetNegotiator::Connected() { justConnected_ = true; }

void TelnetNegotiator::Receive(std::string_view bytes, std::string& data)
{
    data_ = &data;
    decoder_.Feed(bytes, *this);
    data_ = nullptr;
}

void TelnetNegotiator::SendOption(TelnetVerb verb, int option) { sink_.SendRaw(OptionCommand(verb, option)); }

void TelnetNegotiator::SendCommand(int command)
{
    const char bytes[2] = {static_cast<char>(kIac), static_cast<char>(command & 0xff)};
    sink_.SendRaw(std::string_view(bytes, 2));
}

void TelnetNegotiator::SetKind(NetworkKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    sink_.VariantChanged(kind);
}

void TelnetNegotiator::Data(std::string_view bytes)
{
    if (data_ != nullptr)
        data_->append(bytes);
}

namespace {

const char* ClientLabel(TelnetVerb verb)
{
    switch (verb) {
    case TelnetVerb::Do: return "CLIENT   Do:";
    case TelnetVerb::Dont: return "CLIENT Dont:";
    case TelnetVerb::Will: return "CLIENT Will:";
    case TelnetVerb::Wont: return "CLIENT Wont:";
    }
    return "";
}

const char* ServerLabel(TelnetVerb verb)
{
    switch (verb) {
    case TelnetVerb::Do: return "SERVER   Do:";
    case TelnetVerb::Dont: return "SERVER Dont:";
    case TelnetVerb::Will: return "SERVER Will:";
    case TelnetVerb::Wont: return "SERVER Wont:";
    }
    return "";
}

} // namespace

void TelnetNegotiator::Reply(TelnetVerb verb, int option)
{
    SendOption(verb, option);
    sink_.Trace(ClientLabel(verb), std::to_string(option));
}

void TelnetNegotiator::Option(TelnetVerb verb, int option)
{
    sink_.Trace(ServerLabel(verb), std::to_string(option));
    switch (verb) {
    case TelnetVerb::Do:
        if (option == kOptTerminalType) {
            Reply(TelnetVerb::Will, option);
        } else if (option == kOptRemoteFlowControl) {
            Reply(TelnetVerb::Will, option);
            Set(sw_.RemoteFlowControl, true);
        } else if (option == kOpt42 || option == kOptSuppressLocalEcho) {
            Reply(TelnetVerb::Will, option);
            Set(sw_.EchoSuppressionOffered, true);
        } else {
            Reply(TelnetVerb::Wont, option);
        }
        break;
    case TelnetVerb::Dont:
        Reply(TelnetVerb::Wont, option);
        if (option == kOpt42 || option == kOptSuppressLocalEcho)
            Set(sw_.EchoSuppressionOffered, false);
        break;
    case TelnetVerb::Will:
        if (option == kOptEcho) {
            serverEcho_ = true;
            if (justConnected_) {
                Reply(TelnetVerb::Do, kOptEcho);
                SetKind(NetworkKind::TelnetStandard);
                Reply(TelnetVerb::Do, kOptSuppressLocalEcho);
                justConnected_ = false;
            } else if (kind_ == NetworkKind::TelnetAdvanced) {
                const unsigned generation = generation_;
                sink_.After(kEchoDelayMs, [this, generation] {
                    if (generation != generation_)
                        return;
                    Reply(TelnetVerb::Dont, kOptEcho);
                    Set(sw_.LocalEchoRequested, true);
                });
            }
        } else if (option == kOptSuppressLocalEcho) {
            SetKind(NetworkKind::TelnetAdvanced);
        } else {
            // An option the terminal does not handle is refused, so that a
            // server waiting for the answer (inetutils telnetd offering
            // authentication and encryption) goes on.
            Reply(TelnetVerb::Dont, option);
        }
        break;
    case TelnetVerb::Wont:
        if (option == kOptEcho)
            serverEcho_ = false;
        else if (option == kOptRemoteFlowControl)
            Set(sw_.RemoteFlowControl, false);
        else if (option == kOptSuppressLocalEcho)
            SetKind(NetworkKind::TelnetStandard);
        break;
    }
}

void TelnetNegotiator::Subnegotiation(std::string_view raw)
{
    sink_.Trace("SERVER  Sub:", raw);
    if (raw.size() < 3 || static_cast<unsigned char>(raw[2]) != kOptTerminalType)
        return;
    std::string reply;
    reply.push_back(static_cast<char>(kIac));
    reply.push_back(static_cast<char>(kSb));
    reply.push_back(static_cast<char>(kOptTerminalType));
    reply.push_back(static_cast<char>(kIs));
    AppendEscaped(reply, terminalType_);
    reply.push_back(static_cast<char>(kIac));
    reply.push_back(static_cast<char>(kSe));
    sink_.SendRaw(reply);
    sink_.Trace("CLIENT  Sub:", reply);
}

void TelnetNegotiator::Command(int code) { sink_.Trace("SERVER Cmnd:", std::to_string(code)); }

} // namespace kalvor::telnet
