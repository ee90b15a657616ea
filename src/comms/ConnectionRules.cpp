#include "comms/ConnectionRules.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace kalvor {
namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A port text: digits only (blanks around allowed), 1..65535.
std::optional<int> ParsePort(std::string_view text)
{
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const char c : t) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535)
        return std::nullopt;
    return value;
}

} // namespace

std::string Trim(std::string_view text)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && Blank(text[b]))
        ++b;
    while (e > b && Blank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

std::string RemoveComments(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('[', i);
        if (open == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, open - i));
        const std::size_t close = text.find(']', open + 1);
        if (close == std::string_view::npos)
            break;
        i = close + 1;
    }
    return out;
}

NetworkTarget ConnectTelnet(const ConnectionSettings& settings)
{
    NetworkTarget target;
    target.Port = settings.DefaultPort;
    if (!Trim(settings.DirectTarget).empty()) {
        target.Host = Trim(settings.DirectTarget);
        if (const auto port = ParsePort(settings.DirectPort))
            target.Port = *port;
        return target;
    }
    const std::string entry = Trim(RemoveComments(settings.HostEntry()));
    std::size_t cut = entry.find(':');
    if (cut == std::string::npos)
        cut = entry.find_first_of(" \t");
    if (cut == std::string::npos) {
        target.Host = entry;
        return target;
    }
    target.Host = Trim(std::string_view(entry).substr(0, cut));
    if (const auto port = ParsePort(std::string_view(entry).substr(cut + 1)))
        target.Port = *port;
    return target;
}

std::string HostEntryText(const ConnectionSettings& settings)
{
    if (!Trim(settings.DirectTarget).empty())
        return Trim(settings.DirectTarget);
    return Trim(settings.HostEntry());
}

int PortNumber(std::string_view portName)
{
    int value = 0;
    bool any = false;
    for (const char c : portName) {
        if (c >= '0' && c <= '9') {
            any = true;
            if (value < 100000)
                value = value * 10 + (c - '0');
        } else if (any) {
            break;
        }
    }
    return any ? value : 0;
}

int HandshakingCode(std::string_view name)
{
    const std::string t = Trim(name);
    if (t == "Xon/Xoff")
        return 1;
    if (t == "RTS/CTS")
        return 2;
    if (t == "Xon/RTS")
        return 3;
    return 0;
}

void ApplyEightBitData(ConnectionSettings& settings, bool eightBit)
{
    if (eightBit) {
        settings.DataBits = "8";
        settings.Parity = "None";
        return;
    }
    settings.DataBits = "7";
    if (settings.Parity.empty() || settings.Parity[0] == 'N' || settings.Parity[0] == 'n')
        settings.Parity = "Even";
}

std::string SerialSettingsText(const ConnectionSettings& settings)
{
    const std::string parity = Trim(settings.Parity);
    std::string text = Trim(settings.BaudRate);
    text += ',';
    text += parity.empty() ? 'N' : static_cast<char>(std::toupper(static_cast<unsigned char>(parity[0])));
    text += ',';
    text += Trim(settings.DataBits);
    text += ',';
    text += Trim(settings.StopBits);
    return text;
}

std::string StatusPortName(std::string_view portName)
{
    std::string out;
    for (const char c : portName)
        if (!Blank(c))
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

std::string BaudStatusText(std::string_view baud, std::string_view portName)
{
    const std::string digits = Trim(baud);
    const long value = std::strtol(digits.c_str(), nullptr, 10);
    std::string text;
    if (value > 56000)
        text = std::to_string(std::lround(static_cast<double>(value) / 1000.0)) + "k baud";
    else
        text = digits + " baud";
    return text + " at " + StatusPortName(portName);
}

std::string OpenFailureMessage(SerialOpenError error, int portNumber, std::string_view baud)
{
    std::string why;
    switch (error) {
    case SerialOpenError::InvalidPort: why = " does not exist>"; break;
    case SerialOpenError::AlreadyOpen:
    case SerialOpenError::DeviceAlreadyOpen: why = " is already open>"; break;
    case SerialOpenError::ByteSize: why = " does not support " + Trim(baud) + " baud>"; break;
    case SerialOpenError::Locked: why = " is locked by another device>"; break;
    default: why = " cannot be opened>"; break;
    }
    return "\r\n<error: com " + std::to_string(portNumber) + why + "\r\n";
}

std::optional<std::string> DialCommand(const ConnectionSettings& settings)
{
    if (!Trim(settings.DirectTarget).empty())
        return "atdt " + Trim(settings.DirectTarget) + "\r";
    const std::string entry = Trim(settings.PhoneEntry());
    if (entry.empty() || entry == kNoModem)
        return std::nullopt;
    const std::string prefix = Trim(settings.DialOutPrefix);
    if (prefix.empty())
        return "atdt " + entry + "\r";
    return "atdt " + prefix + (prefix.back() == ',' ? "" : ",") + entry + "\r";
}

std::string SshErrorText(int code, std::string_view fallback)
{
    switch (code) {
    case kSshErrorNoProtocol1: return "This host does not support the SSH1 protocol.";
    case kSshErrorAccessDenied: return "Access denied. Incorrect user/password information.";
    default: return std::string(fallback);
    }
}

} // namespace kalvor
