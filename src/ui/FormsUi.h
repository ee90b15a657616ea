// The main window's side of the forms mode: the Canvo window over the
// session's receive buffer, its value lines through the session's transmit
// path, its resources fetched through the resource cache with the progress
// window, and the value lines it still kept handed back to the session when
// it closes (they leave on the host's next DC1).
#pragma once

#include "forms/FormsDebugLog.h"
#include "resources/ResourceCache.h"
#include "session/Session.h"
#include "ui/forms/CanvoWindow.h"
#include "ui/forms/ResourceProgressWindow.h"

#include <QWidget>

#include <memory>

namespace kalvor::ui {

class FormsUi {
public:
    FormsUi(Session& session, const Clock& clock, QWidget* terminalWindow);
    ~FormsUi();
    FormsUi(const FormsUi&) = delete;
    FormsUi& operator=(const FormsUi&) = delete;

    // The session's FormsShow: the form file built and the window shown.
    void Show();
    // The session's FormsWindowOpen.
    bool Open() const { return window_->Building() || window_->Core().Showing(); }
    // The terminal window closes: the Canvo window goes with it.
    void Close();

    forms::CanvoWindow& Window() { return *window_; }
    forms::ResourceProgressWindow& Progress() { return *progress_; }

    // "Initialize Debug": the forms debug log (cvdebug.txt in the
    // instance's temporary folder) emptied and switched on; StopDebug
    // switches it off and returns the file for the text editor.
    void StartDebug() { debugLog_.Start(); }
    const std::filesystem::path& StopDebug()
    {
        debugLog_.Stop();
        return debugLog_.File();
    }

private:
    void Unloaded();

    Session& session_;
    QWidget* terminal_;
    // A window of its own, not a child of the terminal window: the main
    // window's dialogs are the only dialogs among its children.
    std::unique_ptr<forms::ResourceProgressWindow> progress_;
    resources::ResourceCache cache_;
    kalvor::forms::FormsDebugLog debugLog_;
    forms::CanvoWindow* window_;
};

} // namespace kalvor::ui
