// The demonstration host's pictures over HTTP: a small HTTP/1.0 responder on
// a second loopback port that answers GET and HEAD for the files it was given
// (the forms demonstration's /RESOURCESERVER points here) and closes each
// connection after one answer.
#pragma once

#include <QHostAddress>
#include <QString>
#include <QTcpServer>

#include <map>
#include <string>
#include <string_view>

namespace kalvor::demohost {

// The whole answer to one request head (the request line and the header
// lines up to the blank line): 200 with Content-Length and the file for a
// known name, 404 for an unknown one, 501 for a method other than GET and
// HEAD, 400 for a line that is not a request.
std::string HttpAnswer(std::string_view requestHead, const std::map<std::string, std::string>& files);

class PictureServer {
public:
    static constexpr qint64 kMaxRequestHead = 8192; // a longer head is answered 400
    static constexpr int kIdleMs = 10000;           // a connection is closed after this at the latest

    PictureServer();
    // `name` is served as "/name".
    void Add(const std::string& name, std::string bytes) { files_[name] = std::move(bytes); }
    // Starts listening; false with `error` when the port cannot be had.
    bool Listen(const QHostAddress& bind, quint16 port, QString& error);
    quint16 Port() const { return server_.serverPort(); }

private:
    QTcpServer server_;
    std::map<std::string, std::string> files_;
};

} // namespace kalvor::demohost
