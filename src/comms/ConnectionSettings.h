// The connection settings as the connection manager reads them: a plain
// record filled from the configuration file and the settings dialogs. The
// defaults are the program's start-up defaults.
#pragma once

#include "comms/NetworkKind.h"

#include <string>
#include <vector>

namespace kalvor {

// The phone entry that means "do not dial".
inline constexpr const char* kNoModem = "no modem/direct connect to host";

struct ConnectionSettings {
    // 0 serial, any other value network.
    int ConnectType = 1;

    // Serial line.
    std::string BaudRate = "19200";
    std::string PortName = "Com 1";
    std::string Handshaking = "Xon/Xoff"; // "None", "Xon/Xoff", "RTS/CTS", "Xon/RTS"
    std::string Parity = "None";          // first letter used: E, O, N, M, S
    std::string DataBits = "8";
    std::string StopBits = "1";

    // Modem: entry 0 is the current one.
    std::vector<std::string> PhoneList{kNoModem};
    std::string DialOutPrefix;

    // Network.
    NetworkKind Kind = NetworkKind::TelnetAdvanced;
    std::vector<std::string> HostList; // entry 0 is the current host text
    int DefaultPort = 23;
    std::string TerminalType = "hp";
    std::string SshUser;
    std::string SshPassword; // plain text (descrambled when read)

    // A target given directly (by a script): a number to dial or a host with
    // an optional port; the entry type "ADDR" makes it a network address.
    std::string DirectTarget;
    std::string DirectPort;
    std::string DirectEntryType;

    bool Network() const { return ConnectType != 0; }
    std::string HostEntry() const { return HostList.empty() ? std::string() : HostList.front(); }
    std::string PhoneEntry() const { return PhoneList.empty() ? std::string() : PhoneList.front(); }
};

} // namespace kalvor
