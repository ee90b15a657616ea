// The rules of connecting that need no platform: where a host entry points,
// the serial settings text and status-panel text, the open-failure messages,
// the modem's dial command, the SSH messages, and the receive throttle that
// stops reading a network connection while the terminal is behind.
#pragma once

#include "comms/ConnectionSettings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor {

// Blanks (space, tab, CR, LF) removed at both ends.
std::string Trim(std::string_view text);
// Every part from "[" to the next "]" removed (an unclosed "[" runs to the end).
std::string RemoveComments(std::string_view text);

// Where a network connection goes (ConnectTelnet).
struct NetworkTarget {
    std::string Host;
    int Port = 23;
};

// A host given directly takes its port text or the default port; otherwise
// host entry 0 without comments, trimmed: "host:port", "host port" or a bare
// host on the default port. A port text that is not a number in 1..65535
// gives the default port.
NetworkTarget ConnectTelnet(const ConnectionSettings& settings);
// The host entry as shown in messages and the caption: entry 0 trimmed (or
// the host given directly).
std::string HostEntryText(const ConnectionSettings& settings);

// --- Serial line ---------------------------------------------------------

// The number in a port name ("COM 3", "Com3" -> 3); 0 when there is none.
int PortNumber(std::string_view portName);
// "None" 0, "Xon/Xoff" 1, "RTS/CTS" 2, "Xon/RTS" 3 (unknown names 0).
int HandshakingCode(std::string_view name);
// Baud "," parity letter "," data bits "," stop bits, e.g. "9600,N,8,1".
std::string SerialSettingsText(const ConnectionSettings& settings);
// ESC & k I: 8-bit data selects 8 data bits and parity "None"; 7-bit data
// selects 7 data bits and turns a parity of "None" into "Even".
void ApplyEightBitData(ConnectionSettings& settings, bool eightBit);
// The port name in lower case without blanks, as the status panel shows it ("com1").
std::string StatusPortName(std::string_view portName);
// "9600 baud at com1"; above 56000 baud "128k baud at com2".
std::string BaudStatusText(std::string_view baud, std::string_view portName);

// Why opening the serial port failed, numbered as the serial component numbers them.
enum class SerialOpenError : int {
    None = 0,
    InvalidPort = 8002,
    AlreadyOpen = 8005,
    ByteSize = 8008,
    Locked = 8010,
    DeviceAlreadyOpen = 8013,
    Other = -1,
};
// CR LF "<error: com 3 does not exist>" CR LF and the others of the table.
std::string OpenFailureMessage(SerialOpenError error, int portNumber, std::string_view baud);

// The modem's initialisation command.
inline constexpr std::string_view kModemInit = "atv1q0\r";
// The dial command for the settings, or nothing when no number is dialled.
std::optional<std::string> DialCommand(const ConnectionSettings& settings);

// --- SSH -----------------------------------------------------------------

// Error codes of the SSH messages.
inline constexpr int kSshErrorNoProtocol1 = 2;
inline constexpr int kSshErrorAccessDenied = 114;
// Authentication types in the "AuthType:" message.
inline constexpr int kSshAuthPassword = 4;
inline constexpr int kSshAuthKeyboard = 16;
// The title of the keyboard-interactive prompts.
inline constexpr const char* kKeyboardAuthTitle = "Keyboard authentication";
// The text of an SSH error code (the table's texts for 2 and 114).
std::string SshErrorText(int code, std::string_view fallback);

// --- Receive throttle ----------------------------------------------------

// Reading from a network connection stops while more than kHigh characters
// wait to be interpreted and starts again once fewer than kLow wait, so a
// host that sends faster than the terminal interprets is held back by the
// transport itself and nothing is lost.
class ReceiveThrottle {
public:
    static constexpr std::size_t kHigh = 50000;
    static constexpr std::size_t kLow = 10000;

    // Given the characters now waiting, whether reading may go on.
    bool MayRead(std::size_t backlog)
    {
        if (paused_) {
            if (backlog < kLow)
                paused_ = false;
        } else if (backlog > kHigh) {
            paused_ = true;
        }
        return !paused_;
    }
    bool Paused() const { return paused_; }
    void Reset() { paused_ = false; }

private:
    bool paused_ = false;
};

} // namespace kalvor
