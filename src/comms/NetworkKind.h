// The network kinds of a connection, numbered as the settings store them and
// listed in that order by the connection settings dialog (NetworkList).
#pragma once

#include <array>
#include <string_view>

namespace kalvor {

enum class NetworkKind : int {
    TelnetStandard = 0,
    TelnetAdvanced = 1,
    Ssh1 = 2,
    Ssh2 = 3,
    LocalProgram = 4, // a program run in a pseudo-terminal on this machine
};

inline constexpr int kNetworkKindCount = 5;

// NetworkList's texts, indexed by NetworkKind.
inline constexpr std::array<std::string_view, kNetworkKindCount> kNetworkKindTexts = {
    "TELNET (standard)", "TELNET (advanced)", "SSH1", "SSH2", "Local program"};

constexpr bool IsTelnetKind(NetworkKind kind)
{
    return kind == NetworkKind::TelnetStandard || kind == NetworkKind::TelnetAdvanced;
}

constexpr bool IsSshKind(NetworkKind kind) { return kind == NetworkKind::Ssh1 || kind == NetworkKind::Ssh2; }

// A stored number or a list position as a kind: Telnet (advanced), the
// program's default, when it is out of range.
constexpr NetworkKind NetworkKindFromNumber(int number)
{
    return number >= 0 && number < kNetworkKindCount ? static_cast<NetworkKind>(number) : NetworkKind::TelnetAdvanced;
}

constexpr int NetworkKindNumber(NetworkKind kind) { return static_cast<int>(kind); }

} // namespace kalvor
