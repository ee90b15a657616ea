#include "NetTestSupport.h"

#include "SessionInternals.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sys/prctl.h>
#include <unistd.h>

namespace kalvor::test {

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

void Settle(int ms)
{
    WaitFor([] { return false; }, ms);
}

std::size_t StreamBytes()
{
#ifdef KALVOR_NET_SANITIZED
    long mib = 4;
#else
    long mib = 20;
#endif
    if (const char* text = std::getenv("KALVOR_NET_STREAM_MIB"); text != nullptr && std::strtol(text, nullptr, 10) > 0)
        mib = std::strtol(text, nullptr, 10);
    return static_cast<std::size_t>(mib) * 1024 * 1024;
}

StreamFile WriteStreamFile(const std::filesystem::path& path, std::string_view tail)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::ofstream out(path, std::ios::binary);
    out << "BEGIN-OF-STREAM\n";
    hash.addData(QByteArrayView("BEGIN-OF-STREAM\r\n"));
    StreamFile stream;
    stream.Size = 17;
    for (int i = 0; stream.Size < StreamBytes(); ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%08d", i);
        const std::string line = number + std::string(tail);
        out << line << '\n';
        hash.addData(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        hash.addData(QByteArrayView("\r\n"));
        stream.Size += line.size() + 2;
    }
    stream.Digest = hash.result().toHex().toStdString();
    return stream;
}

void ExpectStream(Harness& h, const StreamFile& stream, const std::function<void()>& start, const std::string& what)
{
    // Everything before the head is skipped; from there on the bytes are
    // hashed up to the expected size, so the stream is never kept whole.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::string prefix;
    bool started = false;
    std::size_t bytes = 0;
    h.Trace.OnReceived = [&](std::string_view data) {
        if (!started) {
            prefix.append(data);
            const auto at = prefix.find(stream.Head);
            if (at == std::string::npos)
                return;
            started = true;
            data = std::string_view(prefix).substr(at);
        }
        const std::size_t take = std::min(data.size(), stream.Size - bytes);
        hash.addData(QByteArrayView(data.data(), static_cast<qsizetype>(take)));
        bytes += take;
    };
    const auto begin = std::chrono::steady_clock::now();
    start();
    const bool complete = WaitFor([&] { return bytes >= stream.Size; }, 300000);
    h.Trace.OnReceived = nullptr;
    ASSERT_TRUE(complete) << bytes << " of " << stream.Size;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_EQ(hash.result().toHex().toStdString(), stream.Digest);
    std::printf("[ figures  ] %zu MiB %s: %.2f s, %.1f MB/s, peak backlog %zu characters, peak RSS %ld kB\n",
                StreamBytes() >> 20, what.c_str(), seconds, static_cast<double>(stream.Size) / 1e6 / seconds,
                h.MaxBacklog, PeakRssKb());
}

long PeakRssKb()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

bool WaitForListener(int port, int timeoutMs)
{
    return WaitFor(
        [port] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
            return probe.waitForConnected(200);
        },
        timeoutMs);
}

int FreeLoopbackPort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

// ---------------------------------------------------------------------------

Harness::Harness()
{
    Term.SetObserver(this);
    ticker_.setInterval(Session::kTickMs);
    QObject::connect(&ticker_, &QTimer::timeout, &ticker_, [this] {
        const std::size_t backlog =
            Internals(Term).Receive().NetInBuffer().size() + Internals(Term).Receive().CommBuffer().Size();
        if (backlog > MaxBacklog)
            MaxBacklog = backlog;
        Term.Tick();
    });
    ticker_.start();
}

Harness::~Harness()
{
    ticker_.stop();
    Term.SetObserver(nullptr);
}

void Harness::Type(std::string_view text)
{
    for (const char c : text)
        Internals(Term).Keys().KeyPress(static_cast<unsigned char>(c));
}

// `count` rows of display memory, row i at ring index ring(i), trailing blanks removed.
static std::string Rows(const DisplayMemory& m, int count, const std::function<int(int)>& ring)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        const int r = ring(i);
        std::string row = r < 0 ? std::string() : m.Row(r).Text;
        row.erase(row.find_last_not_of(' ') + 1);
        out += row + '\n';
    }
    return out;
}

std::string Harness::Screen() const
{
    const DisplayMemory& m = const_cast<Session&>(Term).Memory();
    return Rows(m, m.RowsInTerm, [&](int r) { return m.ScreenRowToRing(r); });
}

std::string Harness::Memory() const
{
    const DisplayMemory& m = const_cast<Session&>(Term).Memory();
    return Rows(m, m.UsedRows(), [&](int age) { return m.Wrap(m.FirstRow + age); });
}

void Harness::Connect(const std::string& hostEntry, NetworkKind kind)
{
    ConnectionSettings& s = Manager.Settings();
    s.ConnectType = 1;
    s.Kind = kind;
    s.HostList = {hostEntry};
    Manager.Connect_Click();
}

// ---------------------------------------------------------------------------

void TelnetPeer::Attach(QTcpSocket* socket)
{
    socket_ = socket;
    const auto read = [this] {
        const QByteArray bytes = socket_->readAll();
        decoder_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), *this);
    };
    QObject::connect(socket_, &QTcpSocket::readyRead, socket_, read);
    read();
}

bool TelnetPeer::Connect(int port)
{
    own_ = std::make_unique<QTcpSocket>();
    Attach(own_.get());
    own_->connectToHost("127.0.0.1", static_cast<quint16>(port));
    return WaitFor([&] { return own_->state() == QAbstractSocket::ConnectedState; });
}

bool TelnetPeer::Accept(QTcpServer& server, int timeoutMs)
{
    if (!WaitFor([&] { return server.hasPendingConnections(); }, timeoutMs))
        return false;
    Attach(server.nextPendingConnection());
    return true;
}

void TelnetPeer::Send(std::string_view text)
{
    std::string out;
    telnet::AppendEscaped(out, text);
    socket_->write(out.data(), static_cast<qint64>(out.size()));
}

std::size_t TelnetPeer::Await(std::string_view text, std::size_t from, int timeoutMs)
{
    WaitFor([&] { return Received.find(text, from) != std::string::npos; }, timeoutMs);
    return Received.find(text, from);
}

// ---------------------------------------------------------------------------

ServerProcess::ServerProcess()
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setChildProcessModifier([] {
        ::setpgid(0, 0);                    // its own process group, stopped as a whole
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // a test that dies takes its servers with it
    });
}

bool ServerProcess::Start(const std::vector<std::string>& argv, std::string& error)
{
    QStringList args;
    for (std::size_t i = 1; i < argv.size(); ++i)
        args << QString::fromStdString(argv[i]);
    process_.start(QString::fromStdString(argv.at(0)), args);
    if (process_.waitForStarted(15000))
        return true;
    error = process_.errorString().toStdString();
    return false;
}

const std::string& ServerProcess::Output()
{
    output_ += process_.readAllStandardOutput().toStdString();
    return output_;
}

int ServerProcess::Stop()
{
    if (!Running())
        return -1;
    const auto group = static_cast<pid_t>(-process_.processId());
    ::kill(group, SIGTERM);
    if (!process_.waitForFinished(10000)) {
        ::kill(group, SIGKILL);
        process_.waitForFinished();
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : 128;
}

std::string RunCommandLine(const std::string& command, int& status)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardInputFile(QProcess::nullDevice()); // nothing run this way waits for input
    p.start("/bin/sh", {"-c", QString::fromStdString(command)});
    const bool ran = p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit;
    status = ran ? p.exitCode() : -1;
    return p.readAllStandardOutput().toStdString();
}

std::string StartDisplay(ServerProcess& x, const std::filesystem::path& folder)
{
    std::string error;
    const bool started =
        x.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"}, error) &&
        WaitFor([&] { return x.Output().find('\n') != std::string::npos || !x.Running(); }, 60000) &&
        x.Output().find('\n') != std::string::npos;
    if (!started)
        return {};
    const std::string display = ":" + x.Output().substr(0, x.Output().find('\n'));
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::filesystem::path suppressions = folder / "lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    std::string lsan = "suppressions=" + suppressions.string();
    if (const char* old = std::getenv("LSAN_OPTIONS"); old != nullptr && *old != '\0')
        lsan = std::string(old) + ":" + lsan;
    ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);
    return display;
}

std::string FindWindow(const std::string& name, int timeoutMs)
{
    std::string window;
    WaitFor(
        [&] {
            int status = 0;
            window = RunCommandLine("xdotool search --onlyvisible --name '^" + name + "$'", status);
            window = status == 0 ? window.substr(0, window.find('\n')) : std::string();
            return !window.empty();
        },
        timeoutMs);
    return window;
}

std::string FindProgram(const std::string& name)
{
    QString found = QStandardPaths::findExecutable(QString::fromStdString(name));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QString::fromStdString(name), {"/usr/sbin", "/sbin"});
    return found.toStdString();
}

int StartDemoHost(ServerProcess& host, const std::vector<std::string>& extra, std::string& error)
{
    std::vector<std::string> argv = {KALVOR_DEMOHOST, "--port", "0"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    if (!host.Start(argv, error))
        return 0;
    // It prints the address it listens on, port last.
    WaitFor([&] { return host.Output().find('\n') != std::string::npos || !host.Running(); });
    const std::string& out = host.Output();
    const auto colon = out.rfind(':');
    const int port = colon == std::string::npos ? 0 : std::atoi(out.c_str() + colon + 1);
    if (port <= 0)
        error = "kalvor-demohost did not start: " + out;
    return port;
}

int StartBusyBoxTelnetd(ServerProcess& server, std::string& error)
{
    error.clear();
    const std::string busybox = FindProgram("busybox");
    if (busybox.empty() || std::system((busybox + " telnetd --help >/dev/null 2>&1").c_str()) != 0)
        return 0;
    const int port = FreeLoopbackPort();
    if (!server.Start({busybox, "telnetd", "-F", "-b", "127.0.0.1", "-p", std::to_string(port), "-l", "/bin/sh"},
                      error))
        return 0;
    if (!WaitForListener(port)) {
        error = "BusyBox telnetd did not start on port " + std::to_string(port);
        return 0;
    }
    return port;
}

bool StartInetutilsTelnetd(ServerProcess& server, int port, const std::string& program, std::string& error)
{
    const std::string telnetd = FindProgram("telnetd");
    const std::string socat = FindProgram("socat");
    if (telnetd.empty() || socat.empty()) {
        error.clear();
        return false;
    }
    const std::string listen = "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork";
    return server.Start({socat, listen, "EXEC:" + telnetd + " -E " + program + ",nofork"}, error);
}

} // namespace kalvor::test
