// The headless terminal behind kalvor-screen: a Session on a simulated clock,
// fed host data in chunks, with ticks of the receive timer run as the clock
// moves. The clock starts at 12:00:00 and moves only by wait events and, once
// the input has ended, by 25 ms ticks until nothing waits; the output is the
// same on every run.
#pragma once

#include "HeadlessForms.h"
#include "HeadlessScript.h"
#include "ScreenOptions.h"
#include "TestConnections.h"
#include "base/Clock.h"
#include "edit/Clipboard.h"
#include "edit/Editor.h"
#include "session/Session.h"

#include <cstdio>
#include <iosfwd>
#include <memory>
#include <string_view>

namespace kalvor {

class HeadlessTerminal final : private SessionObserver {
public:
    static constexpr std::size_t kChunk = 64 * 1024;
    // A receive buffer held back (ESC @, pause) beyond this moves the clock on
    // while input is still arriving, so memory stays bounded.
    static constexpr std::size_t kBacklogLimit = 1 << 20;

    HeadlessTerminal(const ScreenOptions& options, std::FILE* replies);
    ~HeadlessTerminal();
    HeadlessTerminal(const HeadlessTerminal&) = delete;
    HeadlessTerminal& operator=(const HeadlessTerminal&) = delete;

    // One chunk of host output, then a receive pass.
    void DeliverHostChunk(std::string_view bytes);
    // Moves the clock, running a receive tick at every 25 ms boundary.
    void AdvanceClock(long ms);
    // Input has ended: tick until the receive buffer is empty and nothing waits.
    void Finish();

    Session& GetSession() { return *session_; }
    // The Edit menu's commands on the session, with a clipboard of its own.
    edit::Editor& Editor() { return *editor_; }
    const edit::StringClipboard& Clipboard() const { return clipboard_; }
    // The log-on script of --script, or null.
    const HeadlessScript* Script() const { return script_.get(); }
    // The forms mode (the Canvo window without drawing).
    HeadlessForms& Forms() { return *forms_; }
    // ESC % k E ended the program: the rest of the input is not read.
    bool Ended() const { return ended_; }

private:
    // SessionObserver: errors go to the standard error stream, the log-on
    // script's window effects to the script's report.
    void ShowError(const logging::ErrorWindow& error) override { logging::PrintErrorWindow(error); }
    void ScriptCaption(const std::string& caption) override;
    void StartupStatus(const std::string& text) override;
    void StopStartupTimer() override;
    void DisplayTerminal() override;
    void ExitRequested() override { ended_ = true; }
    void FormsShow() override { forms_->Show(); }
    bool FormsWindowOpen() override { return forms_->Open(); }
    // The selection lives in the editor.
    bool SelectionActive() override { return editor_->Current().Active; }
    void ClipCut() override { editor_->ClipCut(); }
    void ClearSelection() override { editor_->Forget(); }

    void Tick();

    ManualClock clock_;
    std::unique_ptr<ReplyFileConnection> connection_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<HeadlessScript> script_;
    std::unique_ptr<HeadlessForms> forms_;
    bool ended_ = false;
    edit::StringClipboard clipboard_;
    std::unique_ptr<edit::Editor> editor_;
    long phase_ = 0; // milliseconds since the last tick
};

// The whole program: returns the exit status.
int RunScreen(const ScreenOptions& options, std::ostream& out, std::ostream& err);

} // namespace kalvor
