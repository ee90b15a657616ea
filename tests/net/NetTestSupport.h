// Shared by the connection and desktop tests: a terminal session with its connection
// manager and a 25 ms receive timer as the window runs it, bounded waits that
// keep the event loop running, free loopback ports, server processes
// started and stopped by the tests, and a virtual X display.
#pragma once

#include "FileBytes.h"

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "comms/TelnetProtocol.h"
#include "comms/net/ConnectionManager.h"
#include "session/Session.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kalvor::test {

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns
// whether it holds. Only readiness is waited for this way.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 15000);
// Lets the event loop run for a while (for things that must not happen).
void Settle(int ms);

// A free TCP port on 127.0.0.1 (bound once, then released).
int FreeLoopbackPort();

// The size of the long streams the tests send through each connection:
// KALVOR_NET_STREAM_MIB mebibytes when set, else 20 MiB, or 4 MiB in a
// sanitizer build (where every byte costs many times more).
std::size_t StreamBytes();

// A long stream written to a file as the line "BEGIN-OF-STREAM" and then
// lines numbered in eight digits and followed by `tail`, up to StreamBytes(),
// each ended by LF; Size and Digest are of what a pseudo-terminal passes on
// (LF as CR LF).
struct StreamFile {
    std::size_t Size = 0;
    std::string Digest;
    std::string Head = "BEGIN-OF-STREAM\r\n"; // where the stream begins
};
StreamFile WriteStreamFile(const std::filesystem::path& path, std::string_view tail);

class Harness;
// Sets off `stream` into `h` with `start`, waits until all of it has arrived
// and checks it byte for byte; prints the figures as `what`.
void ExpectStream(Harness& h, const StreamFile& stream, const std::function<void()>& start, const std::string& what);

// This process's peak resident memory in kB (VmHWM).
long PeakRssKb();
// Waits until something accepts TCP connections on 127.0.0.1:`port`.
bool WaitForListener(int port, int timeoutMs = 15000);

// The trace lines in order.
class RecordingTrace final : public TraceSink {
public:
    std::vector<std::pair<std::string, std::string>> Lines;
    bool Tracing() const override { return true; }
    // Received data is recorded by its size only: streams of many megabytes pass here.
    void LogTrace(std::string_view label, std::string_view data) override
    {
        if (label == "Received:") {
            Lines.emplace_back(label, std::to_string(data.size()) + " bytes");
            if (OnReceived)
                OnReceived(data);
        } else {
            Lines.emplace_back(label, data);
        }
    }
    // Every received byte passes here once, in order, whoever gathered it.
    std::function<void(std::string_view)> OnReceived;
    bool Has(std::string_view label, std::string_view data) const
    {
        return std::ranges::find(Lines, std::pair<std::string, std::string>(label, data)) != Lines.end();
    }
};

// A session, its connection manager and the receive timer. As the window
// does, it hands the host's Telnet variant (ESC % c) and data-bits switch
// (ESC & k I) to the manager.
class Harness final : private SessionObserver, private net::ConnectionObserver {
public:
    Harness();
    ~Harness();

    SystemClock Clock;
    RecordingTrace Trace;
    Session Term{Clock, &Trace};
    net::ConnectionManager Manager{Term, static_cast<net::ConnectionObserver&>(*this), &Trace};

    std::vector<std::string> Statuses;
    std::vector<std::string> Captions;
    bool ConnectEnabled = true;
    bool DisconnectEnabled = false;

    std::size_t MaxBacklog = 0; // the most characters seen waiting before a receive pass
    // The SSH questions, as a window would answer them; without an answer
    // the prompts are cancelled and unknown host keys refused.
    std::function<void(const net::KeyboardPrompt&, net::KeyboardAnswer)> AnswerPrompts;
    std::function<void(const net::HostKeyQuestion&, net::HostKeyAnswer)> AnswerHostKey;
    // What a log-on script did to the windows: the caption, the terminal shown.
    std::string ScriptCaptionText;
    bool TerminalShown = false;

    // Types characters as keys (Return for CR).
    void Type(std::string_view text);
    // The screen rows, trailing blanks removed, joined by "\n".
    std::string Screen() const;
    // Every row of display memory in use, oldest first.
    std::string Memory() const;
    bool ScreenHas(std::string_view text) const { return Screen().find(text) != std::string::npos; }
    bool MemoryHas(std::string_view text) const { return Memory().find(text) != std::string::npos; }
    void Connect(const std::string& hostEntry, NetworkKind kind);

private:
    // SessionObserver
    void TelnetVariant(int variant) override { Manager.TelnetVariant(variant); }
    void EightBitDataChanged() override { Manager.EightBitDataChanged(); }
    void ShowError(const logging::ErrorWindow& error) override { logging::PrintErrorWindow(error); }
    void ScriptCaption(const std::string& caption) override { ScriptCaptionText = caption; }
    void StartupStatus(const std::string&) override {}
    void StopStartupTimer() override {}
    void DisplayTerminal() override { TerminalShown = true; }
    // net::ConnectionObserver
    void StatusPanel(const std::string& text) override { Statuses.push_back(text); }
    void Caption(const std::string& text) override { Captions.push_back(text); }
    void MenuState(bool connectEnabled, bool disconnectEnabled) override
    {
        ConnectEnabled = connectEnabled;
        DisconnectEnabled = disconnectEnabled;
    }
    void EchoButton(bool) override {}
    void MessageBox(const std::string&, const std::string&) override {}
    void KeyboardInteractive(const net::KeyboardPrompt& prompt, net::KeyboardAnswer answer) override
    {
        if (AnswerPrompts)
            AnswerPrompts(prompt, std::move(answer));
        else
            answer(std::nullopt);
    }
    void UnknownHostKey(const net::HostKeyQuestion& question, net::HostKeyAnswer answer) override
    {
        if (AnswerHostKey)
            AnswerHostKey(question, std::move(answer));
        else
            answer(false);
    }
    void FocusTerminal() override {}
    void Changed() override {}

    QTimer ticker_;
};

// One end of a Telnet connection played by a test, without a terminal: the
// data bytes that arrive (the negotiation taken out and left unanswered),
// and text sent with byte 255 doubled.
class TelnetPeer final : private telnet::TelnetDecoder::Events {
public:
    // Connects to 127.0.0.1:`port`.
    bool Connect(int port);
    // Takes the first connection that `server` (which outlives this) receives.
    bool Accept(QTcpServer& server, int timeoutMs = 15000);
    void Send(std::string_view text);
    // Waits for `text` to arrive at or after offset `from`; its position, or npos.
    std::size_t Await(std::string_view text, std::size_t from = 0, int timeoutMs = 15000);
    std::string Received;

private:
    void Attach(QTcpSocket* socket);
    void Data(std::string_view bytes) override { Received += bytes; }
    void Option(TelnetVerb, int) override {}
    void Subnegotiation(std::string_view) override {}
    void Command(int) override {}

    std::unique_ptr<QTcpSocket> own_;
    QTcpSocket* socket_ = nullptr;
    telnet::TelnetDecoder decoder_;
};

// A server process of the tests' own, in its own process group; stopped
// (SIGTERM, then SIGKILL) when the object goes.
class ServerProcess {
public:
    ServerProcess();
    ~ServerProcess() { Stop(); }

    // Starts `argv`; its standard output is kept for Output().
    bool Start(const std::vector<std::string>& argv, std::string& error);
    // Stops the process; returns how it ended (its exit code, or 128 when a
    // signal ended it), -1 when it was not running.
    int Stop();
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    // What the process printed so far.
    const std::string& Output();

private:
    QProcess process_;
    std::string output_;
};

// Runs a shell command line to its end: its standard output, and in
// `status` its exit code (-1 when it could not run or was killed).
std::string RunCommandLine(const std::string& command, int& status);

// Xvfb on a free display, with this process (and the programs it starts)
// pointed at it; the display's name, or "" when Xvfb cannot start. In
// sanitizer builds the system D-Bus library's one buffer kept until exit is
// not reported (the suppression file goes into `folder`).
std::string StartDisplay(ServerProcess& x, const std::filesystem::path& folder);
// The visible window named exactly `name`, waited for; "" when none came.
std::string FindWindow(const std::string& name, int timeoutMs = 60000);

// A program on the PATH (or in /usr/sbin or /sbin), if it can be run.
std::string FindProgram(const std::string& name);

// kalvor-demohost on a free loopback port, with `extra` arguments; returns
// its port, or 0 with `error` saying why it did not start.
int StartDemoHost(ServerProcess& host, const std::vector<std::string>& extra, std::string& error);

// BusyBox telnetd running /bin/sh on a free loopback port; returns its port,
// or 0: without BusyBox telnetd `error` is empty (the caller skips),
// otherwise it says why the server did not start.
int StartBusyBoxTelnetd(ServerProcess& server, std::string& error);

// Debian's inetutils telnetd on a loopback port, started for each connection
// by socat with the socket as its standard input and output, running
// `program` instead of /bin/login. Empty when telnetd or socat is missing
// (the caller skips); otherwise the server is started or `error` says why not.
bool StartInetutilsTelnetd(ServerProcess& server, int port, const std::string& program, std::string& error);

} // namespace kalvor::test
