#include "comms/net/TelnetConnection.h"

#include <QString>

namespace kalvor::net {

TelnetConnection::TelnetConnection(ReceiveInput& receive, telnet::EchoSwitches switches, TraceSink* trace,
                                   TelnetEvents& events)
    : rx_(receive),
      trace_(trace),
      events_(events),
      neg_(*this, switches),
      throttle_(receive, static_cast<ThrottledReader&>(*this)),
      buffer_(static_cast<std::size_t>(kReadChunk))
{
    socket_.setReadBufferSize(kSocketBuffer);
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { ReadSocket(); });
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] { SocketConnected(); });
    QObject::connect(&socket_, &QTcpSocket::disconnected, &socket_, [this] { SocketDisconnected(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, &socket_,
                     [this](QAbstractSocket::SocketError error) { SocketError(error); });
}

TelnetConnection::~TelnetConnection()
{
    closing_ = true;
    socket_.abort();
}

void TelnetConnection::ConnectTo(const std::string& host, int port, NetworkKind kind, const std::string& terminalType)
{
    closing_ = true;
    socket_.abort();
    closing_ = false;
    established_ = false;
    throttle_.Reset();
    neg_.Start(kind, terminalType);
    socket_.connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
}

void TelnetConnection::DisconnectTransport()
{
    closing_ = true;
    if (socket_.state() == QAbstractSocket::ConnectedState)
        socket_.flush();
    socket_.abort();
    throttle_.Reset();
    established_ = false;
    closing_ = false;
}

void TelnetConnection::Write(std::string_view bytes)
{
    if (!ComponentConnected() || bytes.empty())
        return;
    out_.clear();
    telnet::AppendEscaped(out_, bytes);
    socket_.write(out_.data(), static_cast<qint64>(out_.size()));
}

void TelnetConnection::SendTelnetOption(TelnetVerb verb, int option)
{
    if (ComponentConnected())
        neg_.SendOption(verb, option);
}

void TelnetConnection::SendTelnetCommand(int command)
{
    if (ComponentConnected())
        neg_.SendCommand(command);
}

void TelnetConnection::SendRaw(std::string_view bytes)
{
    if (ComponentConnected())
        socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void TelnetConnection::Trace(std::string_view label, std::string_view data)
{
    if (trace_ != nullptr && trace_->Tracing())
        trace_->LogTrace(label, data);
}

void TelnetConnection::VariantChanged(NetworkKind kind) { events_.TelnetVariantChanged(kind); }

void TelnetConnection::After(int milliseconds, std::function<void()> action)
{
    QTimer::singleShot(milliseconds, &socket_, std::move(action));
}

// Telnet1_DataIn: everything the socket holds, unless the terminal is behind.
void TelnetConnection::ReadSocket()
{
    const std::size_t before = rx_.NetInBuffer().size();
    while (socket_.bytesAvailable() > 0) {
        if (!throttle_.MayRead())
            break;
        const qint64 n = socket_.read(buffer_.data(), kReadChunk);
        if (n <= 0)
            break;
        neg_.Receive(std::string_view(buffer_.data(), static_cast<std::size_t>(n)), rx_.NetInBuffer());
    }
    if (rx_.NetInBuffer().size() != before)
        rx_.DataArrived();
}

void TelnetConnection::SocketConnected()
{
    if (closing_)
        return;
    established_ = true;
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    neg_.Connected();
    events_.TelnetConnected(0, std::string());
}

void TelnetConnection::SocketError(QAbstractSocket::SocketError error)
{
    if (closing_ || established_)
        return; // errors of an established connection end in SocketDisconnected
    const std::string text = socket_.errorString().toStdString();
    events_.TelnetConnected(static_cast<int>(error) + 1, text);
}

void TelnetConnection::SocketDisconnected()
{
    if (closing_ || !established_)
        return;
    established_ = false;
    // What arrived before the close is still delivered, whatever the backlog.
    while (socket_.bytesAvailable() > 0) {
        const qint64 n = socket_.read(buffer_.data(), kReadChunk);
        if (n <= 0)
            break;
        neg_.Receive(std::string_view(buffer_.data(), static_cast<std::size_t>(n)), rx_.NetInBuffer());
    }
    throttle_.Reset();
    events_.TelnetDisconnected();
}

} // namespace kalvor::net
