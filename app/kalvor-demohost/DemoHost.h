// A small host application for trying Kalvor out: it listens on a loopback
// port, speaks Telnet (it offers to echo, asks for the terminal type and for
// remote flow control, and agrees to option 45 unless told to be a standard
// server), and offers a menu of demonstrations of the terminal's escape
// language: enhancements and colours, line drawing, a format-mode form in
// block mode paced with DC1/DC2, user keys, status and cursor-sensing
// replies, memory lock, a long listing, and forms mode: a graphical form
// whose picture the server serves over HTTP on a second port.
#pragma once

#include "DemoForms.h"
#include "PictureServer.h"

#include "comms/TelnetProtocol.h"

#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvor::demohost {

struct DemoOptions {
    QHostAddress Bind = QHostAddress::LocalHost;
    quint16 Port = 2323;
    bool Standard = false;    // refuse option 45: the terminal stays "Telnet (standard)"
    std::string LogFile;      // every byte received from terminals is appended here
    long ListingLines = 3000; // lines of the long listing unless the choice names a number
    int PicturePort = -1;     // the pictures' HTTP port: -1 for Port + 1 (any free one when Port is 0)
};

class DemoClient final : private telnet::TelnetDecoder::Events {
public:
    DemoClient(QTcpSocket* socket, const DemoOptions& options, std::function<void(DemoClient*)> closed);
    ~DemoClient() override;
    DemoClient(const DemoClient&) = delete;
    DemoClient& operator=(const DemoClient&) = delete;

private:
    enum class Mode {
        Greeting,   // waiting for the negotiation to settle
        Menu,       // reading a menu choice
        Colours,    // reading colour-scheme names
        Form,       // the form is shown; waiting for the terminal's DC2 and block
        FormResult, // the checked block is shown; Return goes on
        UserKeys,   // showing what user keys send
        Status,     // collecting the replies to status requests
        Continue,   // "press Return" after a demonstration
        MemoryLock, // memory lock on until Return
        Listing,    // the long listing is being sent
        Forms,      // forms mode: value lines come back, host command lines go out
    };

    // TelnetDecoder::Events
    void Data(std::string_view bytes) override;
    void Option(TelnetVerb verb, int option) override;
    void Subnegotiation(std::string_view raw) override;
    void Command(int code) override;

    void Received();
    void Input(char c);
    void Line(const std::string& line);
    void Send(std::string_view text);
    void SendRaw(std::string_view bytes);
    void Flush();

    void ShowMenu();
    void Enhancements();
    void LineDrawing();
    void StartForm();
    void FormBlockDone();
    void StartUserKeys();
    void StartStatus();
    void NextStatusRequest();
    void StatusReply(const std::string& reply, bool timedOut);
    void StartMemoryLock();
    void StartListing(long lines);
    void MoreListing();
    void SendAllBytes();
    void StartForms();
    void FormsLine(const std::string& line);
    void PressReturn();

    QTcpSocket* socket_;
    DemoOptions options_;
    std::function<void(DemoClient*)> closed_;
    telnet::TelnetDecoder decoder_;
    std::FILE* log_ = nullptr;
    Mode mode_ = Mode::Greeting;
    std::string terminalType_;
    bool willEcho_ = true;      // we echo what the terminal types
    bool willSuppress_ = false; // option 45 agreed
    bool flowControl_ = false;  // the terminal agreed to remote flow control
    bool xoff_ = false;         // the terminal sent DC3
    bool afterCr_ = false;      // an LF or NUL right after CR is dropped
    std::string line_;
    std::string out_; // waiting for XON or for the socket
    std::string block_;
    std::vector<std::pair<std::string, std::string>> statusRequests_;
    std::size_t statusIndex_ = 0;
    std::string statusTable_;
    FormsDemo forms_;
    long listNext_ = 0;
    long listEnd_ = 0;
    QTimer greetingTimer_;
    QTimer quietTimer_; // the end of a block: no more data for a while
    QTimer replyTimer_; // a status reply that never comes
};

class DemoServer {
public:
    explicit DemoServer(const DemoOptions& options);
    // Starts listening; false with `error` when the port cannot be had. The
    // picture server is started too; when its port cannot be had,
    // PictureError says why and the form's picture will not arrive.
    bool Listen(QString& error);
    quint16 Port() const { return server_.serverPort(); }
    quint16 PicturePort() const { return pictures_.Port(); }
    const QString& PictureError() const { return pictureError_; }

private:
    DemoOptions options_;
    QTcpServer server_;
    PictureServer pictures_;
    QString pictureError_;
    std::vector<std::unique_ptr<DemoClient>> clients_;
};

} // namespace kalvor::demohost
