// Fuzz target for the connection rules: bytes of any shape cut at NUL into
// the texts of the connection settings (host entry, direct target, port,
// entry type, serial port name, baud, phone entry, dial-out prefix) and
// read as the connection manager reads them.
//
// Invariants, checked after every input (a violation is reported on stderr
// and ends the run with a trap):
//   - a network target's port is 1..65535 and its host has no blanks at
//     either end;
//   - removing comments leaves no "[";
//   - a port number is never negative; the status texts are lower case
//     without blanks where the rules say so;
//   - a dial command, when there is one, is a modem command ending in CR.
#include "Invariants.h"
#include "comms/ConnectionRules.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kalvor;

using kalvor::fuzz::Expect;
bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    std::vector<std::string> f;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (f.size() < 9) {
        const std::size_t nul = rest.find('\0');
        f.emplace_back(rest.substr(0, nul));
        rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    }

    ConnectionSettings s;
    s.HostList = {f[0]};
    s.DirectTarget = f[1];
    s.DirectPort = f[2];
    s.DirectEntryType = f[3];
    s.PortName = f[4];
    s.BaudRate = f[5];
    s.PhoneList = {f[6]};
    s.DialOutPrefix = f[7];
    s.DefaultPort = f[8].empty() ? 23 : static_cast<unsigned char>(f[8][0]) * 257 % 70000;
    s.Parity = f[8];

    const NetworkTarget target = ConnectTelnet(s);
    Expect(target.Port >= 1 && target.Port <= 65535, "port out of range");
    Expect(target.Host.empty() || (!Blank(target.Host.front()) && !Blank(target.Host.back())), "host with blanks");
    HostEntryText(s);

    const std::string plain = RemoveComments(f[0]);
    Expect(plain.find('[') == std::string::npos, "a comment left behind");

    Expect(PortNumber(f[4]) >= 0, "negative port number");
    const std::string status = StatusPortName(f[4]);
    Expect(std::none_of(status.begin(), status.end(), [](char c) { return c == ' ' || (c >= 'A' && c <= 'Z'); }),
           "status port name with a blank or an upper-case letter");
    BaudStatusText(f[5], f[4]);
    SerialSettingsText(s);
    HandshakingCode(f[5]);
    OpenFailureMessage(SerialOpenError::Other, PortNumber(f[4]), f[5]);

    if (const auto dial = DialCommand(s))
        Expect(!dial->empty() && dial->back() == '\r', "a dial command that does not end in CR");
    return 0;
}
