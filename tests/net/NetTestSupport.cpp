#include "NetTestSupport.h"

#include "SessionInternals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
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

std::string StreamLabel() { return std::to_string(StreamBytes() / (1024 * 1024)) + " MiB"; }

void StreamReceiver::Feed(std::string_view data)
{
    if (!started_) {
        prefix_.append(data);
        const auto at = prefix_.find("BEGIN-OF-STREAM\r\n");
        if (at == std::string::npos)
            return;
        started_ = true;
        data = std::string_view(prefix_).substr(at);
    }
    const std::size_t take = std::min(data.size(), expected_ - bytes_);
    hash_.addData(QByteArrayView(data.data(), static_cast<qsizetype>(take)));
    bytes_ += take;
}

std::string Sha256Hex(std::string_view data)
{
    return QCryptographicHash::hash(QByteArrayView(data.data(), static_cast<qsizetype>(data.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

StreamFile WriteStreamFile(const std::filesystem::path& path, std::string_view tail)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::ofstream out(path, std::ios::binary);
    out << "BEGIN-OF-STREAM\n";
    hash.addData(QByteArrayView("BEGIN-OF-STREAM\r\n"));
    StreamFile stream{17, {}};
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
    StreamReceiver got(stream.Size);
    h.OnData = [&](std::string_view data) { got.Feed(data); };
    const auto begin = std::chrono::steady_clock::now();
    start();
    const bool complete = WaitFor([&] { return got.Complete(); }, 300000);
    h.OnData = nullptr;
    ASSERT_TRUE(complete) << got.Bytes() << " of " << stream.Size;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_EQ(got.Digest(), stream.Digest);
    std::printf("[ figures  ] %s %s: %.2f s, %.1f MB/s, peak backlog %zu characters, peak RSS %ld kB\n",
                StreamLabel().c_str(), what.c_str(), seconds, static_cast<double>(stream.Size) / 1e6 / seconds,
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
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addr.sin_port = htons(static_cast<uint16_t>(port));
            const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
            ::close(fd);
            return ok;
        },
        timeoutMs);
}

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        socklen_t len = sizeof addr;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
        port = ntohs(addr.sin_port);
    }
    ::close(fd);
    return port;
}

bool RecordingTrace::Has(std::string_view label, std::string_view data) const
{
    for (const auto& [l, d] : Lines)
        if (l == label && d == data)
            return true;
    return false;
}

std::vector<std::string> RecordingTrace::Negotiation() const
{
    std::vector<std::string> out;
    for (const auto& [l, d] : Lines)
        if ((l.rfind("SERVER", 0) == 0 || l.rfind("CLIENT", 0) == 0) && l.find("Sub") == std::string::npos)
            out.push_back(l + " " + d);
    return out;
}

// ---------------------------------------------------------------------------

Harness::Harness()
{
    Term.SetObserver(this);
    Trace.OnReceived = [this](std::string_view data) {
        if (Capture)
            Captured += data;
        if (OnData && !data.empty())
            OnData(data);
    };
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

std::string Harness::Screen() const
{
    const DisplayMemory& m = const_cast<Session&>(Term).Memory();
    std::string out;
    for (int r = 0; r < m.RowsInTerm; ++r) {
        const int ring = m.ScreenRowToRing(r);
        std::string row = ring < 0 ? std::string() : m.Row(ring).Text;
        while (!row.empty() && row.back() == ' ')
            row.pop_back();
        out += row;
        out += '\n';
    }
    return out;
}

std::string Harness::Memory() const
{
    const DisplayMemory& m = const_cast<Session&>(Term).Memory();
    std::string out;
    for (int age = 0; age < m.UsedRows(); ++age) {
        std::string row = m.Row(m.Wrap(m.FirstRow + age)).Text;
        while (!row.empty() && row.back() == ' ')
            row.pop_back();
        out += row;
        out += '\n';
    }
    return out;
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

bool ServerProcess::Start(const std::vector<std::string>& argv, std::string& error)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = "pipe failed";
        return false;
    }
    std::vector<char*> args;
    std::vector<std::string> copy = argv;
    for (std::string& a : copy)
        args.push_back(a.data());
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = "fork failed";
        return false;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        // A test that dies takes its servers with it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::dup2(fds[1], 1);
        const int devnull = ::open("/dev/null", O_RDONLY);
        if (devnull >= 0)
            ::dup2(devnull, 0);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid);
    ::close(fds[1]);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    pid_ = pid;
    out_ = fds[0];
    return true;
}

const std::string& ServerProcess::Output()
{
    if (out_ >= 0) {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            output_.append(buffer, static_cast<std::size_t>(n));
        }
    }
    return output_;
}

bool ServerProcess::Running()
{
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void ServerProcess::Stop()
{
    if (pid_ > 0) {
        ::kill(-pid_, SIGTERM);
        for (int i = 0; i < 200; ++i) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            ::usleep(10000);
        }
        if (pid_ > 0) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    if (out_ >= 0) {
        ::close(out_);
        out_ = -1;
    }
}

std::string FindProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    dirs += ":/usr/sbin:/sbin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t colon = dirs.find(':', start);
        const std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        const std::string candidate = dir + "/" + name;
        struct stat st {};
        if (!dir.empty() && ::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return std::string();
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
