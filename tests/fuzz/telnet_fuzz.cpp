// Fuzz target for the Telnet protocol machine, both ways. The first byte
// chooses the variant and how the host's bytes are cut into chunks; the rest
// is what the host sends, and also data the terminal sends.
//
// Invariants, checked after every input (a violation is reported on stderr
// and ends the run with a trap):
//   - host to terminal: the data handed on is never more than the bytes
//     received, and is the same however the bytes are cut into chunks;
//     every reply the negotiator sends is a whole command (IAC, a verb and
//     an option, or IAC SB ... IAC SE), and the variant stays standard or
//     advanced;
//   - terminal to host: data with its IAC bytes doubled is decoded back to
//     the same data, with no command in it.
#include "Invariants.h"
#include "comms/TelnetProtocol.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kalvor;
using namespace kalvor::telnet;

using kalvor::fuzz::Expect;
// The socket side of the negotiator: replies kept, delayed actions run at once.
class Sink final : public NegotiatorSink {
public:
    std::vector<std::string> Sent;
    void SendRaw(std::string_view bytes) override { Sent.emplace_back(bytes); }
    void Trace(std::string_view, std::string_view) override {}
    void VariantChanged(NetworkKind kind) override
    {
        Expect(kind == NetworkKind::TelnetStandard || kind == NetworkKind::TelnetAdvanced, "variant");
    }
    void After(int, std::function<void()> action) override { action(); }
};

bool WholeCommand(std::string_view b)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    if (b.size() == 3 && at(0) == kIac && at(1) >= kWill && at(1) <= kDont)
        return true;
    if (b.size() == 2 && at(0) == kIac && at(1) >= kSe)
        return true;
    return b.size() >= 4 && at(0) == kIac && at(1) == kSb && at(b.size() - 2) == kIac && at(b.size() - 1) == kSe;
}

std::string Receive(std::string_view bytes, NetworkKind kind, std::size_t chunk, Sink& sink)
{
    bool localEcho = false, suppression = false, flow = false;
    TelnetNegotiator n(sink, EchoSwitches{&localEcho, &suppression, &flow});
    n.Start(kind, "hp");
    n.Connected();
    std::string data;
    for (std::size_t i = 0; i < bytes.size(); i += chunk)
        n.Receive(bytes.substr(i, chunk), data);
    Expect(n.Kind() == NetworkKind::TelnetStandard || n.Kind() == NetworkKind::TelnetAdvanced, "kind");
    return data;
}

class Collect final : public TelnetDecoder::Events {
public:
    std::string DataBytes;
    int Commands = 0;
    void Data(std::string_view bytes) override { DataBytes.append(bytes); }
    void Option(TelnetVerb, int) override { ++Commands; }
    void Subnegotiation(std::string_view) override { ++Commands; }
    void Command(int) override { ++Commands; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > (1u << 16))
        return 0;
    const auto control = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const NetworkKind kind = (control & 1) != 0 ? NetworkKind::TelnetStandard : NetworkKind::TelnetAdvanced;
    const std::size_t chunk = 1 + (control >> 1) % 16;

    Sink whole, cut;
    const std::string all = Receive(bytes, kind, bytes.size() + 1, whole);
    const std::string pieces = Receive(bytes, kind, chunk, cut);
    Expect(all.size() <= bytes.size(), "more data than bytes received");
    Expect(all == pieces, "the data depends on how the bytes are cut");
    for (const std::string& reply : whole.Sent)
        Expect(WholeCommand(reply), "a reply that is not a whole command");

    // Terminal to host.
    Collect back;
    TelnetDecoder decoder;
    const std::string escaped = EscapeIac(bytes);
    for (std::size_t i = 0; i < escaped.size(); i += chunk)
        decoder.Feed(std::string_view(escaped).substr(i, chunk), back);
    Expect(back.DataBytes == bytes, "escaped data does not come back");
    Expect(back.Commands == 0, "escaped data holds a command");
    return 0;
}
