// The Telnet component: a Qt TCP socket carrying the Telnet protocol of
// telnet::TelnetNegotiator. Received data goes to the network staging buffer
// (Telnet1_DataIn); outgoing data has its IAC bytes doubled. Reading stops
// while the terminal is more than 50000 characters behind and resumes below
// 10000, so the host is held back by TCP itself and nothing is lost.
#pragma once

#include "base/TraceSink.h"
#include "comms/TelnetProtocol.h"
#include "comms/net/NetConnection.h"

#include <QTcpSocket>

#include <functional>
#include <string>
#include <vector>

namespace kalvor::net {

// What the Telnet component tells its owner (the connection manager), on the
// window's thread.
class TelnetEvents {
public:
    // Telnet1_Connected: status 0 on success, else an error code and its text.
    virtual void TelnetConnected(int status, const std::string& description) = 0;
    // Telnet1_Disconnected: the server closed the connection.
    virtual void TelnetDisconnected() = 0;
    // The variant changed by negotiation.
    virtual void TelnetVariantChanged(NetworkKind kind) = 0;

protected:
    ~TelnetEvents() = default;
};

class TelnetConnection final : public ManagedConnection, private telnet::NegotiatorSink, private ThrottledReader {
public:
    static constexpr qint64 kReadChunk = 64 * 1024;
    static constexpr qint64 kSocketBuffer = 256 * 1024;

    // `switches`: the echo and flow-control switches the negotiation keeps
    // (the transmit path's and the receive pass's).
    TelnetConnection(ReceiveInput& receive, telnet::EchoSwitches switches, TraceSink* trace, TelnetEvents& events);
    ~TelnetConnection() override;
    TelnetConnection(const TelnetConnection&) = delete;
    TelnetConnection& operator=(const TelnetConnection&) = delete;

    // Connection
    bool Network() const override { return true; }
    NetworkKind Kind() const override { return neg_.Kind(); }
    bool TransportOpen() const override { return ComponentConnected(); }
    void Write(std::string_view bytes) override;
    void SendTelnetOption(TelnetVerb verb, int option) override;
    void SendTelnetCommand(int command) override;

    // The component's own operations.
    void ConnectTo(const std::string& host, int port, NetworkKind kind, const std::string& terminalType);
    void DisconnectTransport();
    bool ComponentConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    // Connecting or connected.
    bool ComponentBusy() const { return socket_.state() != QAbstractSocket::UnconnectedState; }
    // The variant chosen by ESC % c or the settings while connected.
    void SetKind(NetworkKind kind) { neg_.SetKind(kind); }
    const telnet::TelnetNegotiator& Negotiator() const { return neg_; }
    InputThrottle& Throttle() { return throttle_; }

private:
    // NegotiatorSink
    void SendRaw(std::string_view bytes) override;
    void Trace(std::string_view label, std::string_view data) override;
    void VariantChanged(NetworkKind kind) override;
    void After(int milliseconds, std::function<void()> action) override;
    // ThrottledReader
    void ResumeReading() override { ReadSocket(); }

    void ReadSocket();
    void SocketConnected();
    void SocketError(QAbstractSocket::SocketError error);
    void SocketDisconnected();

    ReceiveInput& rx_;
    TraceSink* trace_;
    TelnetEvents& events_;
    telnet::TelnetNegotiator neg_;
    InputThrottle throttle_;
    QTcpSocket socket_;
    std::vector<char> buffer_;
    std::string out_;
    bool established_ = false; // the current attempt reached the connected state
    bool closing_ = false;     // DisconnectTransport is under way: no events
};

} // namespace kalvor::net
