// The serial port component: a Qt serial port read by the receive pass
// (InputWaiting, ReadInput), written chunk by chunk by the transmit path,
// with the break held for a while on a timer and the carrier watched.
#pragma once

#include "comms/ConnectionRules.h"
#include "comms/net/NetConnection.h"

#include <QSerialPort>
#include <QTimer>

#include <string>

namespace kalvor::net {

// What the serial port tells its owner (the connection manager).
class SerialEvents {
public:
    // The carrier changed (Comm1_OnComm carrier event).
    virtual void CarrierChanged(bool carrier) = 0;
    // The device went away (unplugged, or the far end of a virtual pair
    // closed); `lastInput` is what the port still held.
    virtual void PortLost(const std::string& reason, const std::string& lastInput) = 0;

protected:
    ~SerialEvents() = default;
};

class SerialConnection final : public ManagedConnection {
public:
    static constexpr int kCarrierPollMs = 250;

    explicit SerialConnection(SerialEvents& events);
    ~SerialConnection() override;
    SerialConnection(const SerialConnection&) = delete;
    SerialConnection& operator=(const SerialConnection&) = delete;

    // Connection
    bool Network() const override { return false; }
    bool TransportOpen() const override { return port_.isOpen(); }
    int Handshaking() const override { return handshaking_; }
    std::size_t InputWaiting() override;
    void ReadInput(std::string& appendTo) override;
    std::size_t OutputWaiting() override;
    void Write(std::string_view bytes) override;
    void SendBreak(int milliseconds) override;

    // Opens `device` with the settings text "baud,parity,data,stop" and the
    // port's own flow control (`portHandshaking`, 0..3). `handshaking` is the
    // configured code the receive pass paces by.
    [[nodiscard]] SerialOpenError Open(const std::string& device, const std::string& settingsText, int portHandshaking,
                                       int handshaking);
    void Close();
    bool IsOpen() const { return port_.isOpen(); }
    // The settings text of the last Open, whether it succeeded or not.
    const std::string& SettingsText() const { return settingsText_; }
    bool BreakHeld() const { return breakHeld_; }
    // Empties the port's input and output queues.
    void ResetCounts();

private:
    void PollCarrier();

    SerialEvents& events_;
    QSerialPort port_;
    QTimer carrierTimer_;
    QTimer breakTimer_;
    int handshaking_ = 0;
    std::string settingsText_;
    bool carrier_ = false;
    bool breakHeld_ = false;
};

} // namespace kalvor::net
