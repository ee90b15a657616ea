#include "comms/net/SshConnection.h"

#include "base/AtomicFile.h"
#include "comms/ConnectionRules.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <libssh/libssh.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <system_error>

namespace kalvor::net {

// Everything the window's thread and the worker share. The mutex guards all
// but the atomics.
struct SshShared {
    static constexpr std::size_t kWorkerBuffer = 64 * 1024; // the worker stops reading above this

    std::mutex Mutex;
    std::condition_variable Cv;
    bool Stop = false;
    int Fd = -1; // the socket while the worker owns it
    int WakeRead = -1;
    int WakeWrite = -1;
    std::string Outgoing;
    std::string Incoming;
    bool DrainPosted = false;
    std::atomic<bool> Paused{false};
    std::atomic<bool> Finished{false};
    int Cols = 80;
    int Rows = 24;
    bool ResizeWanted = false;
    bool AnswerReady = false;
    std::optional<std::vector<std::string>> Answers;
    std::optional<bool> HostKeyAccepted;

    // Posting to the window's thread.
    std::weak_ptr<int> Alive;
    SshConnection* Owner = nullptr;
    unsigned Generation = 0;

    ~SshShared()
    {
        if (WakeRead >= 0)
            ::close(WakeRead);
        if (WakeWrite >= 0)
            ::close(WakeWrite);
    }

    void Wake()
    {
        if (WakeWrite >= 0) {
            const char b = 1;
            [[maybe_unused]] const ssize_t n = ::write(WakeWrite, &b, 1);
        }
    }

    bool Stopping()
    {
        std::lock_guard lock(Mutex);
        return Stop;
    }

    // Runs `event` on the window's thread unless the connection is gone or
    // has started another session.
    void Post(std::function<void(SshConnection&)> event)
    {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr)
            return;
        std::weak_ptr<int> alive = Alive;
        SshConnection* owner = Owner;
        const unsigned generation = Generation;
        QMetaObject::invokeMethod(
            app,
            [alive, owner, generation, event = std::move(event)] {
                if (alive.lock())
                    owner->Deliver(generation, event);
            },
            Qt::QueuedConnection);
    }

    void PostText(std::string text)
    {
        Post([text = std::move(text)](SshConnection& c) { c.Events().SshText(text); });
    }
    void PostError(int code, std::string fallback)
    {
        Post([code, text = SshErrorText(code, fallback)](SshConnection& c) {
            c.SessionEnded();
            c.Events().SshError(code, text);
        });
    }
};

namespace {

std::string ErrnoText(int error) { return std::to_string(error) + " " + std::system_category().message(error); }

// Connects a TCP socket, giving up when the session is stopped. Returns the
// descriptor or -1 with `error` describing why.
int ConnectSocket(SshShared& sh, const std::string& host, int port, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (rc != 0) {
        error = gai_strerror(rc);
        return -1;
    }
    int result = -1;
    error = "no address";
    for (addrinfo* a = list; a != nullptr && result < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            error = ErrnoText(errno);
            continue;
        }
        {
            std::lock_guard lock(sh.Mutex);
            sh.Fd = fd;
        }
        int err = 0;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            err = errno;
            if (err == EINPROGRESS) {
                pollfd fds[2] = {{fd, POLLOUT, 0}, {sh.WakeRead, POLLIN, 0}};
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                err = ETIMEDOUT;
                while (std::chrono::steady_clock::now() < deadline && !sh.Stopping()) {
                    if (::poll(fds, 2, 200) > 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
                        socklen_t len = sizeof err;
                        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
                        break;
                    }
                }
            }
        }
        if (err == 0) {
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            result = fd;
        } else {
            error = ErrnoText(err);
            std::lock_guard lock(sh.Mutex);
            sh.Fd = -1;
            ::close(fd);
        }
    }
    ::freeaddrinfo(list);
    return result;
}

void CloseFd(SshShared& sh)
{
    std::lock_guard lock(sh.Mutex);
    if (sh.Fd >= 0) {
        ::close(sh.Fd);
        sh.Fd = -1;
    }
}

// SSH 1: the server's identification line decides.
void RunProtocol1(SshShared& sh, int fd)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!sh.Stopping() && std::chrono::steady_clock::now() < deadline) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {sh.WakeRead, POLLIN, 0}};
        if (::poll(fds, 2, 200) <= 0 || (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
            continue;
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            break;
        if (c == '\n') {
            if (line.rfind("SSH-", 0) == 0)
                break;
            line.clear(); // lines before the identification
            continue;
        }
        if (c != '\r' && line.size() < 255)
            line.push_back(c);
    }
    CloseFd(sh);
    if (sh.Stopping())
        return;
    if (line.rfind("SSH-1.", 0) == 0)
        sh.PostError(-1, "Protocol 1 is not available in this program; choose SSH2. Server: " + line);
    else
        sh.PostError(kSshErrorNoProtocol1, "");
}

std::string Fingerprint(ssh_key key)
{
    unsigned char* hash = nullptr;
    std::size_t length = 0;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) != 0)
        return "?";
    char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
    std::string result = text != nullptr ? text : "?";
    ssh_string_free_char(text);
    ssh_clean_pubkey_hash(&hash);
    return result;
}

// Waits for the window's answer to a question; false when the session stopped.
bool WaitForAnswer(SshShared& sh, std::unique_lock<std::mutex>& lock)
{
    sh.Cv.wait(lock, [&] { return sh.Stop || sh.AnswerReady; });
    return !sh.Stop;
}

class SessionRunner {
public:
    SessionRunner(std::shared_ptr<SshShared> shared, const SshParams& p)
        : shared_(std::move(shared)), sh_(*shared_), p_(p)
    {}
    ~SessionRunner()
    {
        if (channel_ != nullptr) {
            if (ssh_channel_is_open(channel_) != 0)
                ssh_channel_close(channel_);
            ssh_channel_free(channel_);
        }
        if (session_ != nullptr) {
            {
                // The socket belongs to libssh from here on.
                std::lock_guard lock(sh_.Mutex);
                sh_.Fd = -1;
            }
            ssh_disconnect(session_);
            ssh_free(session_);
        }
    }

    void Run(int fd)
    {
        session_ = ssh_new();
        if (session_ == nullptr) {
            CloseFd(sh_);
            sh_.PostError(-1, "The SSH client could not be created.");
            return;
        }
        const int verbosity = SSH_LOG_NOLOG;
        const int no = 0;
        const long timeout = 30;
        const unsigned port = static_cast<unsigned>(p_.Port);
        ssh_options_set(session_, SSH_OPTIONS_LOG_VERBOSITY, &verbosity);
        ssh_options_set(session_, SSH_OPTIONS_PROCESS_CONFIG, &no);
        ssh_options_set(session_, SSH_OPTIONS_HOST, p_.Host.c_str());
        ssh_options_set(session_, SSH_OPTIONS_PORT, &port);
        ssh_options_set(session_, SSH_OPTIONS_USER, p_.User.c_str());
        ssh_options_set(session_, SSH_OPTIONS_TIMEOUT, &timeout);
        const std::string knownHosts = p_.KnownHosts.string();
        ssh_options_set(session_, SSH_OPTIONS_KNOWNHOSTS, knownHosts.c_str());
        ssh_options_set(session_, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, (knownHosts + ".global").c_str());
        socket_t sock = fd;
        ssh_options_set(session_, SSH_OPTIONS_FD, &sock);

        if (ssh_connect(session_) != SSH_OK)
            return Fail();
        const char* banner = ssh_get_serverbanner(session_);
        sh_.PostText(std::string("\r\nConnection started") + "\r\nServer: " + (banner != nullptr ? banner : "") +
                     "\r\nVersion: SSH2");
        if (!CheckHostKey() || !Authenticate() || !OpenShell())
            return;
        sh_.Post([](SshConnection& c) { c.SessionReady(); });
        Pump();
    }

private:
    void Fail()
    {
        if (!sh_.Stopping())
            sh_.PostError(-1, ssh_get_error(session_));
    }

    bool CheckHostKey()
    {
        ssh_key key = nullptr;
        if (ssh_get_server_publickey(session_, &key) != SSH_OK) {
            Fail();
            return false;
        }
        const std::string fingerprint = Fingerprint(key);
        const std::string type =
            ssh_key_type_to_char(ssh_key_type(key)) != nullptr ? ssh_key_type_to_char(ssh_key_type(key)) : "?";
        ssh_key_free(key);
        const std::string where = p_.Host + (p_.Port == 22 ? "" : " port " + std::to_string(p_.Port));
        switch (ssh_session_is_known_server(session_)) {
        case SSH_KNOWN_HOSTS_OK: return true;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            sh_.PostError(SshConnection::kHostKeyChanged,
                          "WARNING: the host key of " + where +
                              " has changed since it was recorded. It may be an attacker's. The connection is refused. "
                              "The server now offers the " +
                              type + " key " + fingerprint +
                              ". If the change is expected, remove the host's line from " + p_.KnownHosts.string() +
                              ".");
            return false;
        case SSH_KNOWN_HOSTS_UNKNOWN:
        case SSH_KNOWN_HOSTS_NOT_FOUND: {
            HostKeyQuestion q{p_.Host, p_.Port, type, fingerprint};
            {
                std::lock_guard lock(sh_.Mutex);
                sh_.AnswerReady = false;
                sh_.HostKeyAccepted.reset();
            }
            sh_.Post([q, shared = Self()](SshConnection& c) {
                auto answer = [weak = std::weak_ptr<SshShared>(shared)](bool accept) {
                    if (auto s = weak.lock()) {
                        std::lock_guard lock(s->Mutex);
                        s->HostKeyAccepted = accept;
                        s->AnswerReady = true;
                        s->Cv.notify_all();
                    }
                };
                c.Events().SshUnknownHostKey(q, answer);
            });
            std::unique_lock lock(sh_.Mutex);
            if (!WaitForAnswer(sh_, lock))
                return false;
            const bool accepted = sh_.HostKeyAccepted.value_or(false);
            lock.unlock();
            if (!accepted) {
                sh_.PostError(-1, "The host key of " + where + " was not accepted.");
                return false;
            }
            std::error_code ec;
            std::filesystem::create_directories(p_.KnownHosts.parent_path(), ec);
            if (!RecordHostKey()) {
                Fail();
                return false;
            }
            return true;
        }
        default: Fail(); return false;
        }
    }

    // Adds the host's key to the known-hosts file by a safe write of the
    // whole file, so that a failure never harms the keys kept before.
    bool RecordHostKey()
    {
        char* entry = nullptr;
        if (ssh_session_export_known_hosts_entry(session_, &entry) != SSH_OK || entry == nullptr)
            return false;
        std::string line(entry);
        ssh_string_free_char(entry);
        if (line.empty() || line.back() != '\n')
            line += '\n';
        std::error_code ec;
        std::ifstream in(p_.KnownHosts, std::ios::binary);
        if (!in && std::filesystem::exists(p_.KnownHosts, ec))
            return false; // a file that cannot be read is not replaced
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!bytes.empty() && bytes.back() != '\n')
            bytes += '\n';
        return !WriteFileAtomically(p_.KnownHosts, bytes + line);
    }

    std::shared_ptr<SshShared> Self() { return shared_; }

    bool Denied(int authType)
    {
        sh_.PostText("\r\nAuthentication attempt failed. AuthType: " + std::to_string(authType));
        sh_.PostError(kSshErrorAccessDenied, "");
        return false;
    }

    bool Succeeded()
    {
        sh_.PostText("\r\nAuthentication succeeded.\r\n");
        return true;
    }

    bool Authenticate()
    {
        int rc = ssh_userauth_none(session_, nullptr);
        if (rc == SSH_AUTH_ERROR) {
            Fail();
            return false;
        }
        if (const char* issue = ssh_get_issue_banner(session_)) {
            sh_.PostText(std::string("\r\nSSHDebug: ") + issue);
            ssh_string_free_char(const_cast<char*>(issue));
        }
        if (rc == SSH_AUTH_SUCCESS)
            return Succeeded();
        const int methods = ssh_userauth_list(session_, nullptr);
        const bool password = (methods & SSH_AUTH_METHOD_PASSWORD) != 0;
        const bool keyboard = (methods & SSH_AUTH_METHOD_INTERACTIVE) != 0;
        if (password && (!p_.Password.empty() || !keyboard)) {
            rc = ssh_userauth_password(session_, nullptr, p_.Password.c_str());
            if (rc == SSH_AUTH_SUCCESS)
                return Succeeded();
            if (rc == SSH_AUTH_ERROR) {
                Fail();
                return false;
            }
            return Denied(kSshAuthPassword);
        }
        if (keyboard)
            return KeyboardInteractive();
        sh_.PostError(-1, "The server offers neither password nor keyboard authentication.");
        return false;
    }

    bool KeyboardInteractive()
    {
        int rc = ssh_userauth_kbdint(session_, nullptr, nullptr);
        while (rc == SSH_AUTH_INFO) {
            KeyboardPrompt prompt;
            const char* name = ssh_userauth_kbdint_getname(session_);
            const char* instruction = ssh_userauth_kbdint_getinstruction(session_);
            prompt.Name = name != nullptr ? name : "";
            prompt.Instruction = instruction != nullptr ? instruction : "";
            const int n = ssh_userauth_kbdint_getnprompts(session_);
            for (int i = 0; i < n; ++i) {
                char echo = 0;
                const char* text = ssh_userauth_kbdint_getprompt(session_, static_cast<unsigned>(i), &echo);
                prompt.Prompts.emplace_back(text != nullptr ? text : "");
                prompt.Echo.push_back(echo != 0);
            }
            if (n > 0) {
                {
                    std::lock_guard lock(sh_.Mutex);
                    sh_.AnswerReady = false;
                    sh_.Answers.reset();
                }
                sh_.Post([prompt, shared = Self()](SshConnection& c) {
                    KeyboardAnswer answer =
                        [weak = std::weak_ptr<SshShared>(shared)](std::optional<std::vector<std::string>> answers) {
                            if (auto s = weak.lock()) {
                                std::lock_guard lock(s->Mutex);
                                s->Answers = std::move(answers);
                                s->AnswerReady = true;
                                s->Cv.notify_all();
                            }
                        };
                    c.Events().SshKeyboardPrompt(prompt, answer);
                });
                std::unique_lock lock(sh_.Mutex);
                if (!WaitForAnswer(sh_, lock))
                    return false;
                if (!sh_.Answers) {
                    lock.unlock();
                    sh_.PostError(-1, "Keyboard authentication was cancelled.");
                    return false;
                }
                const std::vector<std::string> answers = *sh_.Answers;
                lock.unlock();
                for (int i = 0; i < n; ++i) {
                    const std::string a =
                        static_cast<std::size_t>(i) < answers.size() ? answers[static_cast<std::size_t>(i)] : "";
                    ssh_userauth_kbdint_setanswer(session_, static_cast<unsigned>(i), a.c_str());
                }
            }
            rc = ssh_userauth_kbdint(session_, nullptr, nullptr);
        }
        if (rc == SSH_AUTH_SUCCESS)
            return Succeeded();
        if (rc == SSH_AUTH_ERROR) {
            Fail();
            return false;
        }
        return Denied(kSshAuthKeyboard);
    }

    bool OpenShell()
    {
        channel_ = ssh_channel_new(session_);
        int cols = 80;
        int rows = 24;
        {
            std::lock_guard lock(sh_.Mutex);
            cols = sh_.Cols;
            rows = sh_.Rows;
            sh_.ResizeWanted = false;
        }
        if (channel_ == nullptr || ssh_channel_open_session(channel_) != SSH_OK ||
            ssh_channel_request_pty_size(channel_, p_.TerminalType.c_str(), cols, rows) != SSH_OK ||
            ssh_channel_request_shell(channel_) != SSH_OK) {
            if (!sh_.Stopping()) {
                sh_.PostText(std::string("\r\nTunnel error: ") + std::to_string(ssh_get_error_code(session_)) + " " +
                             ssh_get_error(session_));
                sh_.PostError(-1, "The shell could not be opened.");
            }
            return false;
        }
        return true;
    }

    // Moves data both ways until the session stops or the server closes it.
    void Pump()
    {
        std::vector<char> buffer(32 * 1024);
        std::string out;
        for (;;) {
            bool resize = false;
            int cols = 0;
            int rows = 0;
            bool full = false;
            {
                std::lock_guard lock(sh_.Mutex);
                if (sh_.Stop)
                    return;
                out.swap(sh_.Outgoing);
                sh_.Outgoing.clear();
                resize = sh_.ResizeWanted;
                sh_.ResizeWanted = false;
                cols = sh_.Cols;
                rows = sh_.Rows;
                full = sh_.Incoming.size() >= SshShared::kWorkerBuffer;
            }
            if (resize)
                ssh_channel_change_pty_size(channel_, cols, rows);
            std::size_t sent = 0;
            while (sent < out.size()) {
                const int n = ssh_channel_write(channel_, out.data() + sent, static_cast<uint32_t>(out.size() - sent));
                if (n == SSH_ERROR)
                    return LostSession();
                sent += static_cast<std::size_t>(n);
            }
            out.clear();

            const bool reading = !full && !sh_.Paused.load();
            if (reading) {
                for (int stream = 0; stream < 2; ++stream) {
                    for (;;) {
                        const int n = ssh_channel_read_nonblocking(channel_, buffer.data(),
                                                                   static_cast<uint32_t>(buffer.size()), stream);
                        if (n == SSH_ERROR)
                            return LostSession();
                        if (n <= 0)
                            break;
                        Deliver(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
                        std::lock_guard lock(sh_.Mutex);
                        if (sh_.Incoming.size() >= SshShared::kWorkerBuffer || sh_.Stop)
                            break;
                    }
                }
                if (ssh_channel_is_eof(channel_) != 0 || ssh_channel_is_open(channel_) == 0) {
                    if (ssh_channel_poll(channel_, 0) <= 0 && ssh_channel_poll(channel_, 1) <= 0)
                        return ServerClosed();
                    continue;
                }
                if (ssh_channel_poll(channel_, 0) > 0 || ssh_channel_poll(channel_, 1) > 0)
                    continue;
            }
            const int fd = ssh_get_fd(session_);
            pollfd fds[2] = {{sh_.WakeRead, POLLIN, 0}, {fd, static_cast<short>(reading ? POLLIN : 0), 0}};
            ::poll(fds, 2, 1000);
            if ((fds[0].revents & POLLIN) != 0) {
                char drain[64];
                while (::read(sh_.WakeRead, drain, sizeof drain) > 0) {
                }
            }
        }
    }

    void Deliver(std::string_view data)
    {
        bool post = false;
        {
            std::lock_guard lock(sh_.Mutex);
            sh_.Incoming.append(data);
            if (!sh_.DrainPosted) {
                sh_.DrainPosted = true;
                post = true;
            }
        }
        if (post)
            sh_.Post([](SshConnection& c) { c.Drain(); });
    }

    void ServerClosed()
    {
        sh_.Post([](SshConnection& c) {
            c.Drain();
            c.SessionEnded();
            c.Events().SshClosed();
        });
    }

    void LostSession()
    {
        if (sh_.Stopping())
            return;
        sh_.Post([](SshConnection& c) { c.Drain(); });
        sh_.PostError(-1, ssh_get_error(session_));
    }

    std::shared_ptr<SshShared> shared_;
    SshShared& sh_;
    const SshParams& p_;
    ssh_session session_ = nullptr;
    ssh_channel channel_ = nullptr;
};

void RunWorker(std::shared_ptr<SshShared> shared, SshParams params)
{
    SshShared& sh = *shared;
    std::string error;
    const int fd = ConnectSocket(sh, params.Host, params.Port, error);
    if (fd < 0) {
        if (!sh.Stopping()) {
            sh.Post([text = "<connection error: " + error + ">\r\n"](SshConnection& c) {
                c.SessionEnded();
                c.Events().SshFailed(text);
            });
        }
    } else if (params.Protocol == 1) {
        RunProtocol1(sh, fd);
    } else {
        SessionRunner session(shared, params);
        session.Run(fd);
    }
    sh.Finished = true;
}

} // namespace

// ---------------------------------------------------------------------------

SshConnection::SshConnection(ReceiveInput& receive, SshEvents& events)
    : rx_(receive),
      events_(events),
      throttle_(receive, static_cast<ThrottledReader&>(*this)),
      alive_(std::make_shared<int>(0))
{}

void SshConnection::ResumeReading()
{
    if (shared_) {
        shared_->Paused = false;
        shared_->Wake();
    }
}

// What the worker has read and not yet handed over.
std::size_t SshConnection::PendingBytes() const
{
    if (!shared_)
        return 0;
    std::lock_guard lock(shared_->Mutex);
    return shared_->Incoming.size();
}

SshConnection::~SshConnection()
{
    alive_.reset();
    Close();
    ReapWorkers(true);
}

void SshConnection::Open(const SshParams& params)
{
    Close();
    ReapWorkers(false);
    kind_ = params.Protocol == 1 ? NetworkKind::Ssh1 : NetworkKind::Ssh2;
    throttle_.Reset();
    auto shared = std::make_shared<SshShared>();
    int pipeFds[2] = {-1, -1};
    if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) == 0) {
        shared->WakeRead = pipeFds[0];
        shared->WakeWrite = pipeFds[1];
    }
    shared->Alive = alive_;
    shared->Owner = this;
    shared->Generation = ++generation_;
    shared->Cols = params.Cols;
    shared->Rows = params.Rows;
    shared_ = shared;
    active_ = true;
    sessionOpen_ = false;
    workers_.push_back({std::thread(RunWorker, shared, params), shared});
}

void SshConnection::Close()
{
    if (shared_) {
        {
            std::lock_guard lock(shared_->Mutex);
            shared_->Stop = true;
            shared_->Cv.notify_all();
        }
        shared_->Wake();
        shared_.reset();
    }
    ++generation_;
    throttle_.Reset();
    active_ = false;
    sessionOpen_ = false;
}

void SshConnection::ReapWorkers(bool force)
{
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (force && !it->Shared->Finished) {
            // Blocking calls of the worker end at once on a shut-down socket.
            std::lock_guard lock(it->Shared->Mutex);
            if (it->Shared->Fd >= 0)
                ::shutdown(it->Shared->Fd, SHUT_RDWR);
        }
        if (force || it->Shared->Finished) {
            it->Thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

std::size_t SshConnection::WorkersRunning() const
{
    std::size_t n = 0;
    for (const Worker& w : workers_)
        n += w.Shared->Finished ? 0 : 1;
    return n;
}

void SshConnection::Write(std::string_view bytes)
{
    if (!sessionOpen_ || !shared_ || bytes.empty())
        return;
    {
        std::lock_guard lock(shared_->Mutex);
        shared_->Outgoing.append(bytes);
    }
    shared_->Wake();
}

void SshConnection::Resize(int cols, int rows)
{
    if (!shared_)
        return;
    {
        std::lock_guard lock(shared_->Mutex);
        if (shared_->Cols == cols && shared_->Rows == rows)
            return;
        shared_->Cols = cols;
        shared_->Rows = rows;
        shared_->ResizeWanted = true;
    }
    shared_->Wake();
}

void SshConnection::Deliver(unsigned generation, std::function<void(SshConnection&)> event)
{
    if (generation != generation_)
        return;
    event(*this);
}

// SSHTunnelConnection_OnData: what the worker read goes to the staging buffer.
void SshConnection::Drain()
{
    if (!shared_)
        return;
    bool arrived = false;
    {
        std::lock_guard lock(shared_->Mutex);
        arrived = !shared_->Incoming.empty();
        rx_.NetInBuffer().append(shared_->Incoming);
        shared_->Incoming.clear();
        shared_->DrainPosted = false;
    }
    shared_->Paused = !throttle_.MayRead();
    shared_->Wake();
    if (arrived)
        rx_.DataArrived();
}

} // namespace kalvor::net
