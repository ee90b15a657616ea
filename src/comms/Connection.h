// What the receive pass and the transmit path need of a connection. The
// serial port, Telnet, SSH and local-program adapters implement it; tests and
// the headless terminal use small fakes.
#pragma once

#include "comms/NetworkKind.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvor {

enum class TelnetVerb { Do, Dont, Will, Wont };

class Connection {
public:
    virtual ~Connection() = default;

    // Connected switch: true from a successful connect until disconnect.
    virtual bool Connected() const = 0;
    // Network switch: false for the serial line.
    virtual bool Network() const = 0;
    virtual NetworkKind Kind() const { return NetworkKind::TelnetStandard; }
    // A Telnet connection: network, standard or advanced variant.
    bool IsTelnet() const { return Network() && IsTelnetKind(Kind()); }
    // The serial port is open, the Telnet component connected, or the SSH
    // session open: transmission is possible.
    virtual bool TransportOpen() const = 0;
    // Serial handshaking code: 0 None, 1 Xon/Xoff, 2 RTS/CTS, 3 Xon/RTS.
    virtual int Handshaking() const { return 0; }

    // Serial line: bytes waiting to be read, reading them, bytes not yet sent.
    virtual std::size_t InputWaiting() { return 0; }
    virtual void ReadInput(std::string& appendTo) { (void)appendTo; }
    virtual std::size_t OutputWaiting() { return 0; }

    // Sends one chunk (serial: character by character; network: one send).
    virtual void Write(std::string_view bytes) = 0;
    // Telnet option commands (DO/DONT ECHO bookkeeping of the transmit path).
    virtual void SendTelnetOption(TelnetVerb verb, int option) { (void)verb, (void)option; }
    // Serial line: sets the break state, holds it for `milliseconds` while the
    // event loop keeps running, then clears it.
    virtual void SendBreak(int milliseconds) { (void)milliseconds; }
    // Telnet: a command sent as IAC and its code (BREAK is 243).
    virtual void SendTelnetCommand(int command) { (void)command; }
};

// No connection at all: local mode.
class NoConnection final : public Connection {
public:
    bool Connected() const override { return false; }
    bool Network() const override { return false; }
    bool TransportOpen() const override { return false; }
    void Write(std::string_view) override {}
};

} // namespace kalvor
