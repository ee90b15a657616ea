// A log-on script run by kalvor-screen --script: prepared like the desktop
// program prepares it at start-up, then stepped by the receive passes of the
// events. What the script does to the windows (caption, start-up label, the
// terminal shown) is recorded and reported as the JSON member "script".
#pragma once

#include "session/Session.h"

#include <filesystem>
#include <string>

namespace kalvor {

class HeadlessScript {
public:
    // Prepares the script.
    HeadlessScript(Session& session, const std::filesystem::path& file);

    // The script's window effects, as the headless terminal observes them.
    void Caption(const std::string& text) { caption_ = text; }
    void StartupStatus(const std::string& text) { status_ = text; }
    void StopStartupTimer() { timerRunning_ = false; }
    void DisplayTerminal() { shown_ = true; }

    // "script":{"prepared":..,"running":..,"target":..,"port":..,"kind":..,
    // "caption":..,"status":..,"timer":..,"shown":..,"forms":..,"working":..}
    std::string JsonMember() const;

private:
    Session& session_;
    bool prepared_ = false;
    std::string caption_ = "Kalvor";
    std::string status_ = "Executing Script";
    bool timerRunning_ = true;
    bool shown_ = false;
};

} // namespace kalvor
