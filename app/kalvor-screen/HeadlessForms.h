// The forms mode of the headless terminal: the Canvo window's receive loop,
// command interpreter, object model, focus logic and value lines without
// drawing, at display preset 2 (scale factor 1.0). Resources a form names
// are fetched into cache/ of the program folder, without a progress window.
#pragma once

#include "EventScript.h"
#include "forms/FormsMode.h"
#include "forms/InterpreterState.h"
#include "resources/DownloadListener.h"
#include "resources/ResourceCache.h"
#include "session/Session.h"

#include <string>

namespace kalvor {

class HeadlessForms final : private forms::FormsWindow {
public:
    HeadlessForms(Session& session, const Clock& clock);

    // The terminal finished a download or met ESC % k X.
    void Show();
    bool Open() const { return mode_.Showing(); }
    // The host or the user asked the open window to close on the next tick.
    bool Closing() const { return Open() && session_.Forms().Flags.CloseRequested; }
    // One tick of the Canvo window's polling timer.
    void Poll();

    // A `key` event while the window is open; false for a key the forms
    // mode has no use for.
    bool Key(const ScriptEvent& event);
    void Type(std::string_view text) { mode_.TypeText(text); }
    void Click(int x, int y) { mode_.Click(x, y); }
    // The user closes the window; refused while the host protects the exit.
    void Close();

    // The JSON object of the report's "forms" member.
    std::string Report() const;

private:
    // FormsWindow
    forms::FormResult BuildForm(std::string_view formText) override;
    void UnloadWindow() override;
    void RedrawObject(int) override {}
    void FocusMoved(int, int) override {}
    void Bell() override {}
    void MessageBox(std::string_view, std::string_view) override {}
    forms::Rect ObjectArea(int position) const override;

    Session& session_;
    forms::FormModel model_;
    forms::InterpreterState state_;
    resources::DownloadRecord downloads_;
    resources::ResourceCache cache_;
    forms::FormsMode mode_;
};

} // namespace kalvor
