// What the desktop tests under Xvfb share: processes started and run to
// their end, bounded waits, a virtual X display, and kalvor started on it
// with its window found.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace kalvor::test {

// Waiting limits: a slow machine only waits longer, and nothing asserts on
// how long anything took.
inline constexpr auto kStartLimit = std::chrono::seconds(60);

// Starts a program (found on PATH); `stdoutFd` becomes its standard output.
// Returns its pid, or -1.
pid_t Spawn(const std::vector<std::string>& args, int stdoutFd = -1, int keepFd = -1);

// Runs a command to its end; returns its exit status (-1 when it could not
// run) and its standard output.
int RunCommand(const std::vector<std::string>& args, std::string* out = nullptr);

template <class Pred>
bool WaitFor(Pred pred, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (pred())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return pred();
}

// Xvfb on a free display number (Xvfb picks it and reports it).
class VirtualDisplay {
public:
    bool Start(std::string& error);
    ~VirtualDisplay();
    const std::string& Name() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// A started process killed (SIGKILL) and reaped unless `Done` was set.
struct Reaper {
    pid_t Pid;
    bool Done = false;
    ~Reaper();
};

// DISPLAY and the xcb platform for programs started next; in sanitizer
// builds the system D-Bus library's one buffer kept until exit is not
// reported (the suppression file goes into `folder`).
void UseDisplay(const VirtualDisplay& x, const std::string& folder);

// The visible window named exactly "Kalvor", waited for; empty when none.
std::string FindKalvorWindow();

} // namespace kalvor::test
