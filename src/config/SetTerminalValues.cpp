#include "config/SetTerminalValues.h"

#include "comms/ConnectionRules.h"
#include "config/Configuration.h"
#include "config/DialogValueLists.h"

#include <algorithm>
#include <cctype>

namespace kalvor::config {
namespace {

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of a port text, or 0 when it is not one in 1..65535.
int PortValue(std::string_view text)
{
    const std::string t = Trim(text);
    if (!AllDigits(t) || t.size() > 5)
        return 0;
    const int n = std::stoi(t);
    return n >= 1 && n <= 65535 ? n : 0;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

template <std::size_t N>
std::vector<std::string> NonEmpty(const std::array<std::string, N>& entries)
{
    std::vector<std::string> out;
    for (const std::string& e : entries)
        if (!Trim(e).empty())
            out.push_back(e);
    return out;
}

template <std::size_t N>
void Store(const std::vector<std::string>& list, std::array<std::string, N>& entries)
{
    for (std::size_t i = 0; i < N; ++i)
        entries[i] = i < list.size() ? list[i] : std::string();
}

} // namespace

SetTerminalValues SetTerminalValuesFrom(const Settings& s)
{
    SetTerminalValues v;
    v.Network = s.ConnectType != 0;
    v.CommPort = s.CommPort;
    v.BaudRate = s.BaudRate;
    v.Handshake = s.Handshake;
    const char p = s.Parity.empty() ? 'N' : static_cast<char>(std::toupper(static_cast<unsigned char>(s.Parity[0])));
    v.Parity = p == 'E' ? "Even" : p == 'O' ? "Odd" : "None";
    v.EightDataBits = s.DataBits != "7";
    v.TwoStopBits = s.StopBits == "2";
    v.EchoOn = s.Echo;
    v.RespondToEnq = s.RespondToEnq;
    v.PhoneList = NonEmpty(s.Phones);
    if (std::find(v.PhoneList.begin(), v.PhoneList.end(), kDirectConnect) == v.PhoneList.end())
        v.PhoneList.emplace_back(kDirectConnect);
    v.PhoneText = s.Phones[0];
    v.DialOutPrefix = s.DialOutPrefix;
    v.Kind = NetworkKindFromNumber(s.NetworkType);
    v.NetPort = std::to_string(s.TelnetPort);
    v.TerminalType = s.TerminalType;
    v.HostList = NonEmpty(s.Hosts);
    v.HostText = s.Hosts[0];
    v.SshUser = s.SshUser;
    v.SshPassword = s.SshPassword;
    return v;
}

std::optional<std::string> CheckSetTerminalValues(const SetTerminalValues& v)
{
    const std::string baud = Trim(v.BaudRate);
    if (!AllDigits(baud) || baud.size() > 9 || std::stol(baud) == 0)
        return "The baud rate must be a number, such as 9600.";
    if (!v.Network && PortNumber(v.CommPort) <= 0)
        return "The communication port must name a port number, such as COM 1.";
    if (v.Network && v.Kind != NetworkKind::LocalProgram) {
        if (PortValue(v.NetPort) == 0)
            return "The network port must be a number from 1 to 65535.";
        if (Trim(v.TerminalType).empty())
            return "The terminal type cannot be empty.";
    }
    return std::nullopt;
}

std::vector<std::string> UpdateEntryList(const std::vector<std::string>& entries, std::string_view typed,
                                         std::size_t capacity)
{
    std::vector<std::string> out;
    out.emplace_back(typed);
    for (const std::string& e : entries)
        if (!Trim(e).empty() && e != typed && out.size() < capacity)
            out.push_back(e);
    if (out.size() > capacity)
        out.resize(capacity);
    return out;
}

std::vector<std::string> DropEntry(const std::vector<std::string>& entries, int index)
{
    std::vector<std::string> out = entries;
    if (index >= 0 && index < static_cast<int>(out.size()))
        out.erase(out.begin() + index);
    return out;
}

std::optional<std::string> ProposedPort(NetworkKind oldKind, NetworkKind newKind)
{
    // The families: Telnet, SSH, and the local program, which has no port.
    const auto family = [](NetworkKind kind) { return IsTelnetKind(kind) ? 0 : IsSshKind(kind) ? 1 : 2; };
    if (family(newKind) == family(oldKind))
        return std::nullopt;
    if (IsTelnetKind(newKind))
        return std::to_string(kTelnetPort);
    if (IsSshKind(newKind))
        return std::to_string(kSshPort);
    return std::nullopt;
}

std::optional<std::string> EntryPort(std::string_view hostEntry)
{
    // The entry names its port when the default does not matter.
    ConnectionSettings a, b;
    a.HostList = b.HostList = {std::string(hostEntry)};
    a.DefaultPort = 1;
    b.DefaultPort = 2;
    const int port = ConnectTelnet(a).Port;
    if (port != ConnectTelnet(b).Port)
        return std::nullopt;
    return std::to_string(port);
}

std::optional<std::string> ProposedHostText(NetworkKind oldKind, NetworkKind newKind)
{
    if (newKind == NetworkKind::LocalProgram && oldKind != NetworkKind::LocalProgram)
        return std::string();
    return std::nullopt;
}

std::string NormalisedPhoneEntry(std::string_view entry)
{
    if (Trim(entry).empty())
        return {};
    const std::string lower = Lower(entry);
    if (lower.find("local") != std::string::npos || lower.find("[direct connect]") != std::string::npos)
        return kDirectConnect;
    return std::string(entry);
}

void GetSetTermValues(const SetTerminalValues& v, Settings& s)
{
    s.ConnectType = v.Network ? 1 : 0;
    s.CommPort = Trim(v.CommPort);
    s.BaudRate = Trim(v.BaudRate);
    s.Handshake = std::find(kHandshakeNames.begin(), kHandshakeNames.end(), v.Handshake) != kHandshakeNames.end()
                      ? v.Handshake
                      : std::string(kHandshakeNames[0]);
    s.Parity = v.Parity == "Even" || v.Parity == "Odd" ? v.Parity : "None";
    s.DataBits = v.EightDataBits ? "8" : "7";
    s.StopBits = v.TwoStopBits ? "2" : "1";
    s.Echo = v.EchoOn;
    s.RespondToEnq = v.RespondToEnq;

    std::vector<std::string> phones;
    for (const std::string& e : UpdateEntryList(v.PhoneList, v.PhoneText, kPhoneEntries)) {
        std::string n = NormalisedPhoneEntry(e);
        if (phones.empty() || std::find(phones.begin(), phones.end(), n) == phones.end())
            phones.push_back(std::move(n));
    }
    Store(phones, s.Phones);
    s.DialOutPrefix = v.DialOutPrefix;

    s.NetworkType = NetworkKindNumber(v.Kind);
    if (const int port = PortValue(v.NetPort); port != 0)
        s.TelnetPort = port;
    if (!Trim(v.TerminalType).empty())
        s.TerminalType = Trim(v.TerminalType);
    Store(UpdateEntryList(v.HostList, v.HostText, kHostEntries), s.Hosts);
    s.SshUser = v.SshUser;
    s.SshPassword = v.SshPassword;
}

ConnectionSettings ConnectionSettingsFrom(const Settings& s)
{
    ConnectionSettings c;
    c.ConnectType = s.ConnectType;
    c.BaudRate = s.BaudRate;
    c.PortName = s.CommPort;
    c.Handshaking = s.Handshake;
    c.Parity = s.Parity;
    c.DataBits = s.DataBits;
    c.StopBits = s.StopBits;
    c.PhoneList.assign(s.Phones.begin(), s.Phones.end());
    c.DialOutPrefix = s.DialOutPrefix;
    c.Kind = NetworkKindFromNumber(s.NetworkType);
    c.HostList.assign(s.Hosts.begin(), s.Hosts.end());
    c.DefaultPort = s.TelnetPort;
    c.TerminalType = s.TerminalType;
    c.SshUser = s.SshUser;
    c.SshPassword = s.SshPassword;
    return c;
}

int AcceptConnectionSettings(Configuration& config, const SetTerminalValues& values)
{
    // The session holds echo and ENQ/ACK; everything else it holds is taken
    // as it is now, so applying changes only what the dialog changed.
    config.CollectFromSession();
    GetSetTermValues(values, config.Values());
    config.ApplyToSession();
    return config.UpdateSection("NewCommConfig");
}

} // namespace kalvor::config
