// The SSH client: libssh (protocol 2) on a worker thread, joined to the
// window's thread by events. The worker connects the TCP socket, exchanges
// keys, checks the host key against the known-hosts file in the program
// folder, authenticates (password, or keyboard-interactive with the prompts
// answered by the window), opens a shell with a pseudo-terminal of the
// configured terminal type and size, and then moves data both ways. Received
// data goes to the network staging buffer; reading stops while the terminal
// is more than 50000 characters behind.
//
// For the SSH 1 kind the worker reads the server's identification line only:
// a server that offers no protocol 1 gets error 2; protocol 1 itself is not
// spoken.
#pragma once

#include "comms/net/NetConnection.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kalvor::net {

struct SshParams {
    std::string Host;
    int Port = 22;
    std::string User;
    std::string Password;
    std::string TerminalType = "hp";
    int Cols = 80;
    int Rows = 24;
    int Protocol = 2; // 1 or 2
    std::filesystem::path KnownHosts;
};

// The keyboard-interactive prompts of one round.
struct KeyboardPrompt {
    std::string Name;
    std::string Instruction;
    std::vector<std::string> Prompts;
    std::vector<bool> Echo; // whether the answer may be shown while typed
};
// The answers in prompt order, or nothing when the user cancelled.
using KeyboardAnswer = std::function<void(std::optional<std::vector<std::string>>)>;

// A host key not yet in the known-hosts file.
struct HostKeyQuestion {
    std::string Host;
    int Port = 22;
    std::string KeyType;     // "ssh-ed25519", ...
    std::string Fingerprint; // "SHA256:..."
};
using HostKeyAnswer = std::function<void(bool accept)>;

struct SshShared;

// What the SSH client tells its owner (the connection manager), on the
// window's thread. The questions are answered through their answer
// functions, now or later.
class SshEvents {
public:
    virtual void SshText(const std::string& text) = 0;            // a message for the receive buffer
    virtual void SshError(int code, const std::string& text) = 0; // an error; the session is over
    virtual void SshClosed() = 0;                                 // the server closed the session
    virtual void SshFailed(const std::string& text) = 0;          // the socket could not connect
    virtual void SshKeyboardPrompt(const KeyboardPrompt& prompt, KeyboardAnswer answer) = 0;
    virtual void SshUnknownHostKey(const HostKeyQuestion& question, HostKeyAnswer answer) = 0;

protected:
    ~SshEvents() = default;
};

class SshConnection final : public ManagedConnection, private ThrottledReader {
public:
    // The error code of a host key that differs from the recorded one.
    static constexpr int kHostKeyChanged = -2;

    SshConnection(ReceiveInput& receive, SshEvents& events);
    ~SshConnection() override;
    SshConnection(const SshConnection&) = delete;
    SshConnection& operator=(const SshConnection&) = delete;

    // Connection
    bool Network() const override { return true; }
    NetworkKind Kind() const override { return kind_; }
    bool TransportOpen() const override { return sessionOpen_; }
    void Write(std::string_view bytes) override;

    // Starts a session (the socket connects, the client follows).
    void Open(const SshParams& params);
    // Closes the client and the socket; the session sends no more events.
    void Close();
    // The terminal's size changed.
    void Resize(int cols, int rows);
    // SSH-session switch: from Open until Close, an error or the server's close.
    bool SessionActive() const { return active_; }
    InputThrottle& Throttle() { return throttle_; }

    // For tests: workers of earlier sessions still finishing.
    std::size_t WorkersRunning() const;

    // Reached by the worker's events only.
    SshEvents& Events() { return events_; }
    void Drain();
    void Deliver(unsigned generation, std::function<void(SshConnection&)> event);
    void SessionReady() { sessionOpen_ = true; }
    void SessionEnded()
    {
        active_ = false;
        sessionOpen_ = false;
    }

private:
    // ThrottledReader
    void ResumeReading() override;
    std::size_t PendingBytes() const override;

    void ReapWorkers(bool force);

    ReceiveInput& rx_;
    SshEvents& events_;
    InputThrottle throttle_;
    NetworkKind kind_ = NetworkKind::Ssh2;
    std::shared_ptr<SshShared> shared_;
    std::shared_ptr<int> alive_;
    struct Worker {
        std::thread Thread;
        std::shared_ptr<SshShared> Shared;
    };
    std::vector<Worker> workers_;
    unsigned generation_ = 0;
    bool active_ = false;
    bool sessionOpen_ = false;
};

} // namespace kalvor::net
