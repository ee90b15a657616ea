#include "DemoHost.h"

#include "DemoPicture.h"
#include "Listing.h"
#include "VisibleBytes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace kalvor::demohost {
namespace {

constexpr char kDc1 = '\x11';
constexpr char kDc2 = '\x12';
constexpr char kDc3 = '\x13';
constexpr char kSo = '\x0e';
constexpr char kSi = '\x0f';
constexpr char kUs = '\x1f';
constexpr char kRs = '\x1e';
constexpr qint64 kListingBacklog = 128 * 1024; // bytes queued in the socket before more lines are made
constexpr int kGreetingMs = 400;
constexpr int kBlockQuietMs = 300;
constexpr int kReplyTimeoutMs = 3000;

const std::string kClear = "\x1b&a0y0C\x1bJ";
const std::string kNormal = "\x1b&d@";

std::string At(int row, int col) { return "\x1b&a" + std::to_string(row) + "y" + std::to_string(col) + "C"; }

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string TrimText(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

} // namespace

DemoClient::DemoClient(QTcpSocket* socket, const DemoOptions& options, std::function<void(DemoClient*)> closed)
    : socket_(socket), options_(options), closed_(std::move(closed))
{
    if (!options_.LogFile.empty())
        log_ = std::fopen(options_.LogFile.c_str(), "ab");
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QObject::connect(socket_, &QTcpSocket::readyRead, socket_, [this] { Received(); });
    QObject::connect(socket_, &QTcpSocket::bytesWritten, socket_, [this] {
        if (mode_ == Mode::Listing)
            MoreListing();
    });
    QObject::connect(socket_, &QTcpSocket::disconnected, socket_, [this] {
        // The server deletes this client; do it once control returns.
        QTimer::singleShot(0, socket_, [this] { closed_(this); });
    });

    greetingTimer_.setSingleShot(true);
    QObject::connect(&greetingTimer_, &QTimer::timeout, &greetingTimer_, [this] {
        if (mode_ == Mode::Greeting)
            ShowMenu();
    });
    quietTimer_.setSingleShot(true);
    QObject::connect(&quietTimer_, &QTimer::timeout, &quietTimer_, [this] {
        if (mode_ == Mode::Form && !block_.empty())
            FormBlockDone();
    });
    replyTimer_.setSingleShot(true);
    QObject::connect(&replyTimer_, &QTimer::timeout, &replyTimer_, [this] {
        if (mode_ == Mode::Status)
            StatusReply(block_, true);
    });

    // We offer to echo, and ask for the terminal type and remote flow control.
    std::string hello;
    hello += telnet::OptionCommand(TelnetVerb::Will, telnet::kOptEcho);
    hello += telnet::OptionCommand(TelnetVerb::Do, telnet::kOptTerminalType);
    hello += telnet::OptionCommand(TelnetVerb::Do, telnet::kOptRemoteFlowControl);
    SendRaw(hello);
    greetingTimer_.start(kGreetingMs);
}

DemoClient::~DemoClient()
{
    if (log_ != nullptr)
        std::fclose(log_);
    socket_->deleteLater();
}

void DemoClient::Received()
{
    const QByteArray bytes = socket_->readAll();
    if (log_ != nullptr) {
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), log_);
        std::fflush(log_);
    }
    decoder_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), *this);
}

void DemoClient::SendRaw(std::string_view bytes) { socket_->write(bytes.data(), static_cast<qint64>(bytes.size())); }

void DemoClient::Send(std::string_view text)
{
    telnet::AppendEscaped(out_, text);
    Flush();
}

void DemoClient::Flush()
{
    if (xoff_ || out_.empty())
        return;
    socket_->write(out_.data(), static_cast<qint64>(out_.size()));
    out_.clear();
}

// --- Telnet ------------------------------------------------------------------

void DemoClient::Option(TelnetVerb verb, int option)
{
    using telnet::OptionCommand;
    switch (verb) {
    case TelnetVerb::Do:
        if (option == telnet::kOptEcho) {
            if (!willEcho_) {
                willEcho_ = true;
                SendRaw(OptionCommand(TelnetVerb::Will, option));
            }
        } else if (option == telnet::kOptSuppressLocalEcho) {
            if (options_.Standard) {
                SendRaw(OptionCommand(TelnetVerb::Wont, option));
            } else if (!willSuppress_) {
                willSuppress_ = true;
                SendRaw(OptionCommand(TelnetVerb::Will, option));
            }
        } else {
            SendRaw(OptionCommand(TelnetVerb::Wont, option));
        }
        break;
    case TelnetVerb::Dont:
        if (option == telnet::kOptEcho && willEcho_) {
            willEcho_ = false;
            SendRaw(OptionCommand(TelnetVerb::Wont, option));
        } else if (option == telnet::kOptSuppressLocalEcho && willSuppress_) {
            willSuppress_ = false;
            SendRaw(OptionCommand(TelnetVerb::Wont, option));
        }
        break;
    case TelnetVerb::Will:
        if (option == telnet::kOptTerminalType) {
            const char ask[] = {static_cast<char>(telnet::kIac),
                                static_cast<char>(telnet::kSb),
                                static_cast<char>(telnet::kOptTerminalType),
                                static_cast<char>(telnet::kSend),
                                static_cast<char>(telnet::kIac),
                                static_cast<char>(telnet::kSe)};
            SendRaw(std::string_view(ask, sizeof ask));
        } else if (option == telnet::kOptRemoteFlowControl) {
            flowControl_ = true;
        } else {
            SendRaw(OptionCommand(TelnetVerb::Dont, option));
        }
        break;
    case TelnetVerb::Wont:
        if (option == telnet::kOptRemoteFlowControl)
            flowControl_ = false;
        break;
    }
}

void DemoClient::Subnegotiation(std::string_view raw)
{
    // IAC SB 24 IS name IAC SE
    if (raw.size() >= 6 && static_cast<unsigned char>(raw[2]) == telnet::kOptTerminalType &&
        static_cast<unsigned char>(raw[3]) == telnet::kIs) {
        terminalType_ = std::string(raw.substr(4, raw.size() - 6));
        if (mode_ == Mode::Greeting)
            greetingTimer_.start(50);
    }
}

void DemoClient::Command(int) {}

void DemoClient::Data(std::string_view bytes)
{
    for (const char c : bytes)
        Input(c);
}

// --- Input ---------------------------------------------------------------------

void DemoClient::Input(char c)
{
    // Pacing from the terminal: XOFF and XON.
    if (c == kDc3) {
        xoff_ = true;
        return;
    }
    if (c == kDc1) {
        xoff_ = false;
        Flush();
        if (mode_ == Mode::Listing)
            MoreListing();
        return;
    }
    switch (mode_) {
    case Mode::Form:
        if (c == kDc2) {
            // The terminal has a block ready: it may send it now.
            block_.clear();
            Send(std::string(1, kDc1));
            return;
        }
        if (c == '\r' || c == kRs) {
            if (!block_.empty()) {
                quietTimer_.stop();
                FormBlockDone();
            }
            return;
        }
        block_.push_back(c);
        quietTimer_.start(kBlockQuietMs);
        return;
    case Mode::Status:
        if (c == '\r' || c == kRs) {
            replyTimer_.stop();
            StatusReply(block_ + c, false);
            return;
        }
        block_.push_back(c);
        return;
    case Mode::Forms:
        // Value lines end in CR; an LF or NUL after it is dropped. Nothing is echoed.
        if (afterCr_ && (c == '\n' || c == '\0')) {
            afterCr_ = false;
            return;
        }
        afterCr_ = c == '\r';
        if (c == '\r' || c == '\n')
            FormsLine(std::exchange(line_, {}));
        else
            line_.push_back(c);
        return;
    case Mode::Greeting:
    case Mode::Listing: return;
    default: break;
    }
    if (afterCr_ && (c == '\n' || c == '\0')) {
        afterCr_ = false;
        return;
    }
    afterCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
        // A new line either way: a terminal that echoes itself shows only the CR.
        if (mode_ != Mode::UserKeys)
            Send("\r\n");
        std::string line;
        line.swap(line_);
        Line(line);
        return;
    }
    if (c == '\b' || c == 127) {
        if (!line_.empty()) {
            line_.pop_back();
            if (willEcho_)
                Send("\b \b");
        }
        return;
    }
    line_.push_back(c);
    if (willEcho_ && mode_ != Mode::UserKeys)
        Send(std::string(1, c));
}

void DemoClient::Line(const std::string& line)
{
    const std::string text = TrimText(line);
    switch (mode_) {
    case Mode::Menu: {
        const std::string word = Lower(text.substr(0, text.find(' ')));
        const std::string arg =
            text.find(' ') == std::string::npos ? std::string() : TrimText(text.substr(text.find(' ')));
        if (word == "1")
            Enhancements();
        else if (word == "2")
            LineDrawing();
        else if (word == "3")
            StartForm();
        else if (word == "4")
            StartUserKeys();
        else if (word == "5")
            StartStatus();
        else if (word == "6")
            StartMemoryLock();
        else if (word == "7" || word == "list")
            StartListing(arg.empty() ? options_.ListingLines : std::max(0L, std::strtol(arg.c_str(), nullptr, 10)));
        else if (word == "8")
            StartForms();
        else if (word == "bytes")
            SendAllBytes();
        else if (word == "0" || word == "q" || word == "quit") {
            Send("\r\nGoodbye.\r\n");
            socket_->disconnectFromHost();
        } else {
            if (!text.empty())
                Send("Unknown choice: " + text + "\r\n");
            Send("Choice: ");
        }
        return;
    }
    case Mode::Colours:
        if (text.empty()) {
            ShowMenu();
            return;
        }
        if (text.size() == 3 || (text.size() == 4 && (text[3] == 'I' || text[3] == 'i'))) {
            const bool inverse = text.size() == 4;
            Send("\x1b%x" + Lower(text.substr(0, 3)) + (inverse ? "I" : "X"));
        } else {
            Send("A scheme is three letters, with I for its inverse (wob, wobI).\r\n");
        }
        Send("Scheme (Return for the menu): ");
        return;
    case Mode::FormResult:
        if (Lower(text) == "f")
            StartForm();
        else
            ShowMenu();
        return;
    case Mode::UserKeys:
        if (text.empty()) {
            Send("\x1b&j@");
            ShowMenu();
            return;
        }
        Send("received: " + Visible(line) + "\r\n");
        return;
    case Mode::MemoryLock:
        Send("\x1bm\r\nMemory lock is off again.\r\n");
        PressReturn();
        return;
    case Mode::Continue: ShowMenu(); return;
    default: return;
    }
}

// --- The menu and the demonstrations --------------------------------------------

void DemoClient::ShowMenu()
{
    mode_ = Mode::Menu;
    line_.clear();
    std::string s = kClear;
    s += "\x1b&dJ Kalvor demonstration host " + kNormal + "\r\n\r\n";
    s += "  Terminal type: " + (terminalType_.empty() ? std::string("(not told)") : terminalType_) + "\r\n";
    s += std::string("  Telnet option 45: ") + (willSuppress_ ? "agreed (advanced)" : "refused (standard)") +
         ", echo by " + (willEcho_ ? "this host" : "the terminal") + "\r\n\r\n";
    s += "   1  Enhancements and colours\r\n";
    s += "   2  Line drawing\r\n";
    s += "   3  Data-entry form (format mode, block mode, DC1/DC2)\r\n";
    s += "   4  User keys\r\n";
    s += "   5  Status and cursor sensing\r\n";
    s += "   6  Memory lock\r\n";
    s += "   7  Long listing (7 N for N lines)\r\n";
    s += "   8  Forms mode: a graphical form with a picture\r\n";
    s += "   0  Leave\r\n\r\n";
    s += "Choice: ";
    Send(s);
}

void DemoClient::PressReturn()
{
    mode_ = Mode::Continue;
    Send("\r\nPress Return for the menu. ");
}

void DemoClient::Enhancements()
{
    std::string s = kClear + "Display enhancements: ESC & d and a letter\r\n\r\n";
    const char* names[] = {"none",
                           "blink",
                           "inverse",
                           "inverse blink",
                           "underline",
                           "underline blink",
                           "underline inverse",
                           "underline inverse blink",
                           "half-bright",
                           "half blink",
                           "half inverse",
                           "half inverse blink",
                           "half underline",
                           "half underline blink",
                           "half underline inverse",
                           "all four"};
    for (int i = 0; i < 16; ++i) {
        const char letter = static_cast<char>('@' + i);
        s += At(2 + i / 2, (i % 2) * 40) + std::string("ESC & d ") + letter + "  " + "\x1b&d" + letter + " " +
             names[i] + " " + kNormal;
    }
    s += At(11, 0) + "Security (ESC & d s B): " + "\x1b&dsB" + " secret " + kNormal + "\r\n\r\n";
    s += "Colour schemes (ESC % x name X, or I for the inverse palette):\r\n";
    s += "  aok yok gok bok wok wob wog woy wor kow bow boc bob\r\n\r\n";
    s += "Scheme (Return for the menu): ";
    mode_ = Mode::Colours;
    Send(s);
}

void DemoClient::LineDrawing()
{
    // The hp70092 line codes after ESC ) B and SO: r t f g corners, "," and
    // "." lines, "/" crossing, 5 6 7 8 tees; Shift of each for heavy lines.
    std::string s = kClear + "Line drawing: ESC ) B selects the set, SO and SI switch to it and back\r\n\r\n";
    s += "\x1b)B";
    const auto box = [](const std::string& ul, const std::string& h, const std::string& ur, const std::string& v,
                        const std::string& lt, const std::string& x, const std::string& rt, const std::string& ll,
                        const std::string& lr, const std::string& tt, const std::string& bt, int row, int col) {
        std::string b;
        std::string hh;
        for (int i = 0; i < 10; ++i)
            hh += h;
        b += At(row, col) + kSo + ul + hh + tt + hh + ur + kSi;
        for (int r = 1; r <= 2; ++r)
            b += At(row + r, col) + kSo + v + kSi + std::string(10, ' ') + kSo + v + kSi + std::string(10, ' ') + kSo +
                 v + kSi;
        b += At(row + 3, col) + kSo + lt + hh + x + hh + rt + kSi;
        for (int r = 4; r <= 5; ++r)
            b += At(row + r, col) + kSo + v + kSi + std::string(10, ' ') + kSo + v + kSi + std::string(10, ' ') + kSo +
                 v + kSi;
        b += At(row + 6, col) + kSo + ll + hh + bt + hh + lr + kSi;
        return b;
    };
    s += box("r", ",", "t", ".", "5", "/", "6", "f", "g", "7", "8", 3, 2);
    s += At(4, 4) + "light" + At(7, 16) + "lines";
    s += box("R", "<", "T", ">", "%", "?", "^", "F", "G", "&", "*", 3, 30);
    s += At(4, 32) + "heavy" + At(7, 44) + "lines";
    s += At(11, 0) + "Codes: " + kSo + "r t f g , . / 5 6 7 8" + kSi + "  are  r t f g , . / 5 6 7 8\r\n";
    s += "Heavy: " + std::string(1, kSo) + "R T F G < > ? % ^ & *" + kSi + "  are  R T F G < > ? % ^ & *\r\n";
    s += "Block: " + std::string(1, kSo) + "ccccc" + kSi + "  is   c\r\n";
    Send(s);
    PressReturn();
}

// The form: captions, four unprotected fields, format mode and block mode.
// Enter makes the terminal send DC2; the host answers DC1 and the fields
// arrive separated by US.
void DemoClient::StartForm()
{
    std::string s = "\x1bX\x1b&k0B" + kClear;
    s += "\x1b&dJ Data entry " + kNormal +
         "  Fill the fields, Tab moves between them, F12 (Enter) or the\r\n"
         "keypad Enter key sends the form.\r\n";
    const auto field = [](int row, const std::string& caption, int width) {
        return At(row, 2) + caption + At(row, 16) + "\x1b&dD\x1b[" + std::string(static_cast<std::size_t>(width), ' ') +
               "\x1b]" + kNormal;
    };
    s += field(3, "Name", 30);
    s += field(5, "Age", 3);
    s += field(7, "Date", 10) + "  (DD/MM/YYYY)";
    s += field(9, "City", 20) + "  (may stay empty)";
    s += At(12, 2) + "The host checks what arrives and shows it back.";
    s += "\x1bW\x1b&k1B\x1bH\x1b"
         "b";
    s += std::string(1, kDc1);
    block_.clear();
    mode_ = Mode::Form;
    Send(s);
}

void DemoClient::FormBlockDone()
{
    std::vector<std::string> fields;
    std::string current;
    for (const char c : block_) {
        if (c == kUs) {
            fields.push_back(current);
            current.clear();
        } else if (c != '\r' && c != '\n' && c != '\0' && c != kRs) {
            current.push_back(c);
        }
    }
    fields.push_back(current);
    const std::string raw = block_;
    block_.clear();
    while (fields.size() < 4)
        fields.emplace_back();
    for (std::string& f : fields)
        f = TrimText(f);

    std::vector<std::string> problems;
    const std::string& name = fields[0];
    if (name.empty())
        problems.push_back("Name is empty.");
    else if (!std::all_of(name.begin(), name.end(), [](char c) {
                 return std::isalpha(static_cast<unsigned char>(c)) || c == ' ' || c == '-' || c == '\'';
             }))
        problems.push_back("Name holds characters other than letters.");
    const std::string& age = fields[1];
    if (age.empty() ||
        !std::all_of(age.begin(), age.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
        std::atoi(age.c_str()) > 130)
        problems.push_back("Age must be a number from 0 to 130.");
    const std::string& date = fields[2];
    const bool dateShape = date.size() == 10 && date[2] == '/' && date[5] == '/' &&
                           std::all_of(date.begin(), date.end(),
                                       [](char c) { return c == '/' || std::isdigit(static_cast<unsigned char>(c)); });
    if (!dateShape || std::atoi(date.substr(0, 2).c_str()) < 1 || std::atoi(date.substr(0, 2).c_str()) > 31 ||
        std::atoi(date.substr(3, 2).c_str()) < 1 || std::atoi(date.substr(3, 2).c_str()) > 12)
        problems.push_back("Date must be DD/MM/YYYY.");

    std::string s = "\x1bX\x1b&k0B" + kClear + "\x1b&dJ The form arrived " + kNormal + "\r\n\r\n";
    s += "  As sent: " + Visible(raw) + "\r\n\r\n";
    const char* captions[] = {"Name", "Age", "Date", "City"};
    for (std::size_t i = 0; i < 4; ++i)
        s += std::string("  ") + captions[i] + ": [" + fields[i] + "]\r\n";
    s += "\r\n";
    if (problems.empty()) {
        s += "  \x1b&dH All fields are in order. " + kNormal + "\r\n";
    } else {
        for (const std::string& p : problems)
            s += "  \x1b&dB " + p + " " + kNormal + "\r\n";
    }
    s += "\r\nF and Return fills the form again, Return alone goes to the menu. \x1b"
         "b";
    mode_ = Mode::FormResult;
    Send(s);
}

void DemoClient::StartUserKeys()
{
    std::string s = kClear + "User keys defined by the host with ESC & f\r\n\r\n";
    const auto define = [](int key, int attribute, const std::string& label, const std::string& text) {
        return "\x1b&f" + std::to_string(attribute) + "a" + std::to_string(key) + "k" + std::to_string(label.size()) +
               "d" + std::to_string(text.size()) + "L" + label + text;
    };
    s += define(1, 2, "Greet", "hello from f1");
    s += define(2, 1, "Local", "\r\n(f2 writes this on the display only)\r\n");
    s += define(3, 0, "Typed", "f3 types this");
    s += define(4, 2, "  Status request", "\x1b^"); // two label lines of 8
    s += "\x1b&jB";
    s += "  f1 Greet   attribute 2: transmitted with a CR at the end\r\n";
    s += "  f2 Local   attribute 1: written on the display, nothing is sent\r\n";
    s += "  f3 Typed   attribute 0: typed as if from the keyboard (then press Return)\r\n";
    s += "  f4 Status  attribute 2: sends ESC ^\r\n";
    s += "  Shift with a key sends its default, ESC p .. ESC w\r\n\r\n";
    s += "Press the keys (F10 shows them); Return alone goes back to the menu.\r\n";
    mode_ = Mode::UserKeys;
    Send(s);
}

void DemoClient::StartStatus()
{
    statusRequests_ = {
        {"primary status", "\x1b^"},
        {"secondary status", "\x1b~"},
        {"cursor, screen-relative", "\x1b`"},
        {"cursor, absolute", "\x1b"
                             "a"},
        {"terminal identification", "\x1b*s-1^"},
        {"status 7", "\x1b*s7^"},
        {"version", "\x1b*s8^"},
    };
    statusIndex_ = 0;
    statusTable_ = kClear + "Status and cursor-sensing requests (each followed by DC1)\r\n\r\n";
    Send(statusTable_ + At(10, 20) + "(the cursor stands here for the cursor requests)" + At(10, 20));
    mode_ = Mode::Status;
    NextStatusRequest();
}

void DemoClient::NextStatusRequest()
{
    if (statusIndex_ >= statusRequests_.size()) {
        std::string s = kClear + statusTable_.substr(kClear.size());
        Send(s);
        PressReturn();
        return;
    }
    block_.clear();
    replyTimer_.start(kReplyTimeoutMs);
    // The reply waits for the host's DC1.
    Send(statusRequests_[statusIndex_].second + std::string(1, kDc1));
}

void DemoClient::StatusReply(const std::string& reply, bool timedOut)
{
    const auto& [name, request] = statusRequests_[statusIndex_];
    std::string line = "  " + name;
    line.resize(28, ' ');
    line += Visible(request);
    line.resize(40, ' ');
    line += timedOut ? "(no reply)" : Visible(reply);
    statusTable_ += line + "\r\n";
    block_.clear();
    ++statusIndex_;
    NextStatusRequest();
}

void DemoClient::StartMemoryLock()
{
    std::string s = kClear;
    s += "\x1b&dB Memory lock demonstration " + kNormal + "\r\n";
    s += "These three rows stay on the screen while the rows below scroll:\r\n";
    s += "the host moved the cursor below them and sent ESC l.\r\n";
    s += "\x1bl";
    for (int i = 1; i <= 60; ++i)
        s += "scrolling row " + std::to_string(i) + " of 60\r\n";
    s += "Memory lock is on. Press Return to turn it off (ESC m). ";
    mode_ = Mode::MemoryLock;
    Send(s);
}

void DemoClient::StartListing(long lines)
{
    mode_ = Mode::Listing;
    listNext_ = 1;
    listEnd_ = lines;
    Send("\r\nListing " + std::to_string(lines) + " lines\r\n");
    MoreListing();
}

void DemoClient::MoreListing()
{
    if (mode_ != Mode::Listing)
        return;
    while (!xoff_ && socket_->bytesToWrite() < kListingBacklog) {
        if (listNext_ > listEnd_) {
            Send("End of listing: " + std::to_string(listEnd_) + " lines\r\n");
            mode_ = Mode::Continue;
            Send("Press Return for the menu. ");
            return;
        }
        std::string chunk;
        for (int i = 0; i < 200 && listNext_ <= listEnd_; ++i)
            chunk += ListingLine(listNext_++);
        Send(chunk);
    }
}

// Every byte value 0..255 twice between markers: the 255s travel doubled.
void DemoClient::SendAllBytes()
{
    std::string s = "<<";
    for (int round = 0; round < 2; ++round)
        for (int b = 0; b < 256; ++b)
            s.push_back(static_cast<char>(b));
    s += ">>\r\n";
    Send(s);
    Send("Choice: ");
}

// The forms demonstration: the form goes out, value lines come back until
// the form is left.
void DemoClient::StartForms()
{
    mode_ = Mode::Forms;
    line_.clear();
    Send(kClear + "Forms mode: the host sends a form (ESC % k 0 F ... ESC % k C).\r\n" +
         "If the forms window is closed, Return comes back to the menu.\r\n");
    Send(forms_.Start(options_.PicturePort));
}

void DemoClient::FormsLine(const std::string& line)
{
    const FormsDemo::Reply reply = forms_.Line(line);
    Send(reply.Text);
    if (reply.Leave)
        ShowMenu();
}

// --- The server --------------------------------------------------------------------

DemoServer::DemoServer(const DemoOptions& options) : options_(options)
{
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            clients_.push_back(std::make_unique<DemoClient>(socket, options_, [this](DemoClient* gone) {
                std::erase_if(clients_, [gone](const std::unique_ptr<DemoClient>& c) { return c.get() == gone; });
            }));
        }
    });
}

bool DemoServer::Listen(QString& error)
{
    if (!server_.listen(options_.Bind, options_.Port)) {
        error = server_.errorString();
        return false;
    }
    // The pictures' port: as given, else the one after the Telnet port
    // (any free one when the Telnet port was chosen freely).
    int picturePort = options_.PicturePort;
    if (picturePort < 0)
        picturePort = options_.Port == 0 || options_.Port == 65535 ? 0 : options_.Port + 1;
    pictures_.Add(kDemoPictureName, DemoPictureBmp());
    const bool pictures = pictures_.Listen(options_.Bind, static_cast<quint16>(picturePort), pictureError_);
    // A form names the port even when it could not be had: its picture then fails to arrive.
    options_.PicturePort = pictures ? pictures_.Port() : picturePort;
    return true;
}

} // namespace kalvor::demohost
