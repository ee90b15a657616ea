// The connection settings dialog (SetTerminal) without its widgets: the
// values its controls hold, how they are filled from the settings, checked,
// and copied back (GetSetTermValues), the host and phone lists with their
// updates and drops, and the port proposed when the network kind changes.
//
// Accepting the dialog (AcceptConnectionSettings) stores the values into the
// configuration, applies echo and ENQ/ACK to the session, and writes the
// "NewCommConfig" section of the current configuration file; reconnecting is
// the window's part.
#pragma once

#include "comms/ConnectionSettings.h"
#include "config/Settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::config {

class Configuration;

struct SetTerminalValues {
    bool Network = true;                            // NetworkButton (else SerialButton)
    std::string CommPort;                           // CommPortSelect
    std::string BaudRate;                           // BaudSelect
    std::string Handshake;                          // HandShakeSelect
    std::string Parity;                             // "None", "Even" or "Odd"
    bool EightDataBits = true;                      // EightDataBits (else SevenDataBits)
    bool TwoStopBits = false;                       // TwoStopBits (else OneStopBit)
    bool EchoOn = false;                            // EchoOn (else EchoOff)
    bool RespondToEnq = false;                      // RespondToEnq
    std::vector<std::string> PhoneList;             // PhoneList's entries (no empty ones)
    std::string PhoneText;                          // PhoneList's typed text: the current entry
    std::string DialOutPrefix;                      // DialOutPrefix
    NetworkKind Kind = NetworkKind::TelnetAdvanced; // NetworkList
    std::string NetPort;                            // NetPortList
    std::string TerminalType;                       // NetTermTypeList
    std::vector<std::string> HostList;              // HostList's entries (no empty ones)
    std::string HostText;                           // HostList's typed text: the current entry
    std::string SshUser;                            // the SSH login dialog's fields
    std::string SshPassword;

    bool operator==(const SetTerminalValues&) const = default;
};

// The controls' values for the settings. The phone list always offers
// "no modem/direct connect to host".
SetTerminalValues SetTerminalValuesFrom(const Settings& settings);

// The message for a value that cannot be used, or nothing when all can:
// a baud rate that is not a number, a serial port without a number (serial
// only), a network port outside 1..65535 and an empty terminal type
// (network only).
std::optional<std::string> CheckSetTerminalValues(const SetTerminalValues& values);

// UpdateHostList / UpdatePhoneList: the typed entry becomes entry 0; it is
// added when the list does not hold it yet, and moved to the front when it
// does. Empty entries are dropped (an empty typed entry stays as entry 0);
// the list keeps at most `capacity` entries.
std::vector<std::string> UpdateEntryList(const std::vector<std::string>& entries, std::string_view typed,
                                         std::size_t capacity);
// DropAddressButton / DropPhoneButton: the entry at `index` removed.
std::vector<std::string> DropEntry(const std::vector<std::string>& entries, int index);

// NetworkList_Click: the port proposed when the kind changes to a Telnet
// kind ("23") or an SSH kind ("22") from a kind of another family (the local
// program has no port); nothing otherwise.
std::optional<std::string> ProposedPort(NetworkKind oldKind, NetworkKind newKind);

// The port a host entry names itself ("localhost:2323 [demo]" gives
// "2323"), which wins over the port box at connect; nothing when it names
// none.
std::optional<std::string> EntryPort(std::string_view hostEntry);

// The host text proposed when the kind changes to the local program from a
// network kind: empty, the login shell (a host name is no command).
std::optional<std::string> ProposedHostText(NetworkKind oldKind, NetworkKind newKind);

// A phone entry as stored: one that contains "local" (any case) or
// "[direct connect]" is "no modem/direct connect to host"; a blank one is
// empty.
std::string NormalisedPhoneEntry(std::string_view entry);

// GetSetTermValues: the controls' values into the settings: connection type,
// serial line, echo, ENQ/ACK, the phone book (updated with the typed entry
// and normalised), dial-out prefix, network kind, port, terminal type, the
// host list (updated with the typed entry) and the SSH login. A port or
// terminal type that CheckSetTerminalValues refuses leaves the setting as it
// was.
void GetSetTermValues(const SetTerminalValues& values, Settings& settings);

// The connection settings the connection manager reads, from the settings.
// A target given by a script is not part of them.
ConnectionSettings ConnectionSettingsFrom(const Settings& settings);

// The dialog was accepted: the values are stored (GetSetTermValues), echo
// and ENQ/ACK applied to the attached session, and the "NewCommConfig"
// section of the current file written. Returns 0 or the error number of the
// write.
int AcceptConnectionSettings(Configuration& config, const SetTerminalValues& values);

} // namespace kalvor::config
