// The terminal's answers to the host's status requests, byte for byte: who
// it is, its straps and modes, its printer, and the definitions of its user
// keys. Every reply ends in the reply terminator: RS in block mode with page
// strapping, CR otherwise.
#pragma once

#include "engine/TerminalState.h"

#include <array>
#include <string>
#include <string_view>

namespace kalvor {

// What the replies read beyond the terminal state: the serial line and the
// printer, which live with the connection and the print engine.
struct StatusEnvironment {
    bool SerialParity = false; // the serial parity setting is "Even" or "Odd"
    char PrinterState = ' ';   // 'F' or 'S' as the printer reports itself; anything else: ready
};

// The definition of one user key as the host reads it back.
struct UserKeyDefinition {
    std::string Line1; // label line 1
    std::string Line2; // label line 2
    int Attribute = 0; // 0 normal, 1 local, 2 transmit only
    std::string Text;  // the key's string
};
using UserKeyTable = std::array<UserKeyDefinition, 8>;

// The terminal identification and version.
inline constexpr std::string_view kTerminalId = "70092";
inline constexpr std::string_view kVersionString = "KALVOR-V3.1";

// The complete reply to status request `StatusID` (-1..8) with its
// terminator; `StatusIDdevice` 4 selects the printer variant of status 6. A
// StatusID outside -1..8 yields the terminator alone.
//
//   -1  "70092"
//    0  ESC \ and the seven primary status bytes
//    1  ESC | and the seven secondary status bytes
//    2  "0!#C"        3  " A"        4  "B"        5  "\" B"
//    6  ESC \ p 6 (or 4), two printer state bytes, "0" (or "1" for device 4)
//    7  "cDHND"       8  "KALVOR-V3.1"
std::string BuildTerminalStatus(int StatusID, int StatusIDdevice, const TerminalState& st,
                                const StatusEnvironment& env = {});

// The seven bytes after ESC \ and ESC |.
std::string PrimaryStatusBytes(const TerminalState& st);
std::string SecondaryStatusBytes(const TerminalState& st, const StatusEnvironment& env);

// ESC % a rrr r ccc C: an object address, three digits each (cut to the last
// three).
std::string BuildObjAddr(int AddressRow, int AddressCol);

// One user key definition: ESC & f n k a a 16 d lll L, the 16 label
// characters (each line padded with blanks or cut to 8), the string; without
// a terminator.
std::string UserKeyDefinitionText(int key, const UserKeyDefinition& def);

// The definitions of the user keys one at a time. `counter` is twice the
// index of the next key (0..14) and advances by two; from 16 on the reply is
// the block-end string and the terminator.
std::string BuildUserKeyLine(int& counter, const UserKeyTable& keys, const TerminalState& st,
                             std::string_view blockEnd);
// All eight definitions, each followed by CR LF in block mode with page
// strapping and by CR otherwise, then the block-end string.
std::string BuildUserKeyPage(const UserKeyTable& keys, const TerminalState& st, std::string_view blockEnd);

} // namespace kalvor
