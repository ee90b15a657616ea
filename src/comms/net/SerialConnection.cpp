#include "comms/net/SerialConnection.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>
#include <vector>

namespace kalvor::net {
namespace {

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(
            Trim(std::string_view(text).substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return parts;
}

} // namespace

SerialConnection::SerialConnection(SerialEvents& events) : events_(events)
{
    carrierTimer_.setInterval(kCarrierPollMs);
    QObject::connect(&carrierTimer_, &QTimer::timeout, &carrierTimer_, [this] { PollCarrier(); });
    breakTimer_.setSingleShot(true);
    QObject::connect(&breakTimer_, &QTimer::timeout, &breakTimer_, [this] {
        if (port_.isOpen())
            port_.setBreakEnabled(false);
        port_.clearError();
        breakHeld_ = false;
    });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this](QSerialPort::SerialPortError error) {
        // The device went away: unplugged, or the far end of a virtual line closed.
        if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || !port_.isOpen())
            return;
        const std::string reason = port_.errorString().toStdString();
        // Closing inside the error signal is safe once control returns.
        QTimer::singleShot(0, &port_, [this, reason] {
            if (!port_.isOpen())
                return;
            std::string last;
            ReadInput(last);
            Close();
            events_.PortLost(reason, last);
        });
    });
}

SerialConnection::~SerialConnection() { Close(); }

SerialOpenError SerialConnection::Open(const std::string& device, const std::string& settingsText, int portHandshaking,
                                       int handshaking)
{
    Close();
    handshaking_ = handshaking;
    settingsText_ = settingsText;
    const std::vector<std::string> parts = Split(settingsText);
    const long baud = parts.size() > 0 ? std::strtol(parts[0].c_str(), nullptr, 10) : 0;
    const char parity = parts.size() > 1 && !parts[1].empty() ? parts[1][0] : 'N';
    const long dataBits = parts.size() > 2 ? std::strtol(parts[2].c_str(), nullptr, 10) : 8;
    const std::string stopBits = parts.size() > 3 ? parts[3] : "1";

    port_.setPortName(QString::fromStdString(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = port_.error();
        const QString text = port_.errorString();
        port_.clearError();
        switch (error) {
        case QSerialPort::DeviceNotFoundError: return SerialOpenError::InvalidPort;
        case QSerialPort::OpenError: return SerialOpenError::AlreadyOpen;
        case QSerialPort::PermissionError:
            return text.contains(QStringLiteral("lock"), Qt::CaseInsensitive) ? SerialOpenError::Locked
                                                                              : SerialOpenError::Other;
        default: return SerialOpenError::Other;
        }
    }
    if (baud <= 0 || !port_.setBaudRate(static_cast<qint32>(baud))) {
        port_.close();
        port_.clearError();
        return SerialOpenError::ByteSize;
    }
    QSerialPort::Parity p = QSerialPort::NoParity;
    switch (parity) {
    case 'E': p = QSerialPort::EvenParity; break;
    case 'O': p = QSerialPort::OddParity; break;
    case 'M': p = QSerialPort::MarkParity; break;
    case 'S': p = QSerialPort::SpaceParity; break;
    default: break;
    }
    const QSerialPort::DataBits bits = dataBits == 5   ? QSerialPort::Data5
                                       : dataBits == 6 ? QSerialPort::Data6
                                       : dataBits == 7 ? QSerialPort::Data7
                                                       : QSerialPort::Data8;
    const QSerialPort::StopBits stops = stopBits == "2"     ? QSerialPort::TwoStop
                                        : stopBits == "1.5" ? QSerialPort::OneAndHalfStop
                                                            : QSerialPort::OneStop;
    const QSerialPort::FlowControl flow = portHandshaking == 1   ? QSerialPort::SoftwareControl
                                          : portHandshaking >= 2 ? QSerialPort::HardwareControl
                                                                 : QSerialPort::NoFlowControl;
    const bool ok =
        port_.setParity(p) && port_.setDataBits(bits) && port_.setStopBits(stops) && port_.setFlowControl(flow);
    if (!ok) {
        port_.close();
        port_.clearError();
        return SerialOpenError::Other;
    }
    port_.clearError();
    // The carrier is watched where the device reports its modem lines.
    const QSerialPort::PinoutSignals pins = port_.pinoutSignals();
    if (port_.error() == QSerialPort::NoError) {
        carrier_ = (pins & QSerialPort::DataCarrierDetectSignal) != 0;
        carrierTimer_.start();
    }
    port_.clearError();
    return SerialOpenError::None;
}

void SerialConnection::Close()
{
    carrierTimer_.stop();
    breakTimer_.stop();
    breakHeld_ = false;
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

void SerialConnection::ResetCounts()
{
    if (port_.isOpen())
        port_.clear();
}

std::size_t SerialConnection::InputWaiting()
{
    return port_.isOpen() ? static_cast<std::size_t>(port_.bytesAvailable()) : 0;
}

void SerialConnection::ReadInput(std::string& appendTo)
{
    if (!port_.isOpen())
        return;
    const QByteArray bytes = port_.readAll();
    appendTo.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::size_t SerialConnection::OutputWaiting()
{
    return port_.isOpen() ? static_cast<std::size_t>(port_.bytesToWrite()) : 0;
}

void SerialConnection::Write(std::string_view bytes)
{
    if (port_.isOpen() && !bytes.empty())
        port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The break state is set now and cleared by a timer, so the window keeps
// running while it is held.
void SerialConnection::SendBreak(int milliseconds)
{
    if (!port_.isOpen() || breakHeld_)
        return;
    port_.flush();
    port_.setBreakEnabled(true);
    port_.clearError();
    breakHeld_ = true;
    breakTimer_.start(milliseconds);
}

void SerialConnection::PollCarrier()
{
    if (!port_.isOpen())
        return;
    const QSerialPort::PinoutSignals pins = port_.pinoutSignals();
    if (port_.error() != QSerialPort::NoError) {
        port_.clearError();
        carrierTimer_.stop();
        return;
    }
    const bool carrier = (pins & QSerialPort::DataCarrierDetectSignal) != 0;
    if (carrier != carrier_) {
        carrier_ = carrier;
        events_.CarrierChanged(carrier);
    }
}

} // namespace kalvor::net
