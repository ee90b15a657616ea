// A program on this machine run in a pseudo-terminal, as a fifth network
// kind: the host entry is its command line (empty: the user's login shell).
// The program sees TERM=hp70092, a locale, readline and groff settings that
// suit the terminal (LocalProgramEnvironment.h) and a window size kept in
// step with the terminal's screen. A thread of its own reads the
// pseudo-terminal (PtyReader); what it read goes to the network staging
// buffer, and taking it stops while the terminal is more than 50000
// characters behind.
#pragma once

#include "comms/net/LocalProgramEnvironment.h"
#include "comms/net/NetConnection.h"
#include "comms/net/PtyReader.h"

#include <QSocketNotifier>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

namespace kalvor::net {

// What the local program's connection tells its owner (the connection
// manager): the program ended (or closed its terminal), with its exit status
// text.
class LocalProgramEvents {
public:
    virtual void ProgramExited(const std::string& how) = 0;

protected:
    ~LocalProgramEvents() = default;
};

class LocalProgramConnection final : public ManagedConnection, private ThrottledReader {
public:
    LocalProgramConnection(ReceiveInput& receive, LocalProgramEvents& events);
    ~LocalProgramConnection() override;
    LocalProgramConnection(const LocalProgramConnection&) = delete;
    LocalProgramConnection& operator=(const LocalProgramConnection&) = delete;

    // Connection
    bool Network() const override { return true; }
    NetworkKind Kind() const override { return NetworkKind::LocalProgram; }
    bool TransportOpen() const override { return master_ >= 0; }
    void Write(std::string_view bytes) override;
    // Break: an interrupt for the program in the foreground.
    void SendBreak(int milliseconds) override;

    // Starts the command line (empty: the login shell). Returns an empty
    // text on success, else why it failed.
    [[nodiscard]] std::string Start(const std::string& commandLine, int cols, int rows);
    // Ends the program (hang-up) and closes the pseudo-terminal.
    void Stop();
    void Resize(int cols, int rows);
    bool Running() const { return master_ >= 0; }
    pid_t Pid() const { return pid_; }
    // The program that runs: the command line, or the shell's path.
    const std::string& Program() const { return program_; }
    InputThrottle& Throttle() { return throttle_; }

    // The locale and readline settings the next Start gives the program.
    LocalEnvironmentChoice Environment;

private:
    // ThrottledReader
    void ResumeReading() override;

    void ReadMaster();
    void FlushOutput();
    void Ended();
    void WaitForExit();
    void Reap();

    ReceiveInput& rx_;
    LocalProgramEvents& events_;
    InputThrottle throttle_;
    int master_ = -1;
    pid_t pid_ = -1;
    int cols_ = 80;
    int rows_ = 24;
    std::string program_;
    std::string pending_; // output the pseudo-terminal did not take yet
    std::unique_ptr<PtyReader> reader_; // reads the master side on its own thread
    std::unique_ptr<QSocketNotifier> readNotifier_; // on the reader's wake-up
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    QTimer reaper_; // collects a program that outlives the hang-up
    std::vector<pid_t> orphans_;
    int reaperTicks_ = 0;
    int exitWaits_ = 0;
    unsigned exitGeneration_ = 0;
};

} // namespace kalvor::net
