#include "PictureServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace kalvor::demohost {
namespace {

std::string Status(int code, std::string_view reason, std::string_view type, std::size_t length)
{
    return "HTTP/1.0 " + std::to_string(code) + " " + std::string(reason) + "\r\nServer: kalvor-demohost\r\n" +
           "Content-Type: " + std::string(type) + "\r\nContent-Length: " + std::to_string(length) +
           "\r\nConnection: close\r\n\r\n";
}

std::string Plain(int code, std::string_view reason, bool withBody)
{
    const std::string body = std::string(reason) + "\n";
    return Status(code, reason, "text/plain", body.size()) + (withBody ? body : std::string());
}

std::string_view TypeOf(std::string_view name)
{
    if (name.ends_with(".bmp"))
        return "image/bmp";
    if (name.ends_with(".png"))
        return "image/png";
    return "application/octet-stream";
}

} // namespace

std::string HttpAnswer(std::string_view requestHead, const std::map<std::string, std::string>& files)
{
    // "METHOD /path HTTP/1.x"
    const std::string_view line = requestHead.substr(0, requestHead.find_first_of("\r\n"));
    const std::size_t space1 = line.find(' ');
    const std::size_t space2 = space1 == std::string_view::npos ? space1 : line.find(' ', space1 + 1);
    if (space2 == std::string_view::npos || line.substr(space2 + 1).substr(0, 5) != "HTTP/")
        return Plain(400, "Bad Request", true);
    const std::string_view method = line.substr(0, space1);
    const bool head = method == "HEAD";
    if (method != "GET" && !head)
        return Plain(501, "Not Implemented", true);
    std::string_view path = line.substr(space1 + 1, space2 - space1 - 1);
    path = path.substr(0, path.find_first_of("?#"));
    if (!path.starts_with('/'))
        return Plain(400, "Bad Request", true);
    const auto file = files.find(std::string(path.substr(1)));
    if (file == files.end())
        return Plain(404, "Not Found", !head);
    return Status(200, "OK", TypeOf(file->first), file->second.size()) + (head ? std::string() : file->second);
}

PictureServer::PictureServer()
{
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            // A client that never finishes its request is let go.
            QTimer::singleShot(kIdleMs, socket, [socket] { socket->abort(); });
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                // Answered once, when the head is complete (or too long).
                const QByteArray seen = socket->peek(kMaxRequestHead + 1);
                const qsizetype end = seen.indexOf("\r\n\r\n") >= 0 ? seen.indexOf("\r\n\r\n") : seen.indexOf("\n\n");
                std::string answer;
                if (end >= 0)
                    answer = HttpAnswer(std::string_view(seen.constData(), static_cast<std::size_t>(end)), files_);
                else if (seen.size() > kMaxRequestHead)
                    answer = HttpAnswer("", files_);
                else
                    return;
                QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
                socket->write(answer.data(), static_cast<qint64>(answer.size()));
                socket->disconnectFromHost(); // after the answer has been written
            });
        }
    });
}

bool PictureServer::Listen(const QHostAddress& bind, quint16 port, QString& error)
{
    if (server_.listen(bind, port))
        return true;
    error = server_.errorString();
    return false;
}

} // namespace kalvor::demohost
