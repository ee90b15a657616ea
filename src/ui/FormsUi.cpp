#include "ui/FormsUi.h"

#include "base/ProgramFolder.h"
#include "base/ProgramInstance.h"

namespace kalvor::ui {

FormsUi::FormsUi(Session& session, const Clock& clock, QWidget* terminalWindow)
    : session_(session),
      terminal_(terminalWindow),
      progress_(std::make_unique<forms::ResourceProgressWindow>()),
      cache_(ProgramFolder(), *progress_, clock),
      debugLog_(TempFolder() / "cvdebug.txt"),
      window_(new forms::CanvoWindow(session.Forms().Flags, session.FormsReceiveBuffer(), session.Forms().Lines(),
                                     clock, session.Forms().Download.Files(), terminalWindow))
{
    window_->setObjectName(QStringLiteral("CanvoWindow"));
    window_->Core().SetPacing(session.Forms().Pacing());
    window_->View().Form().SetResourceRequests(&cache_);
    window_->View().Form().SetCacheFolder(cache_.CacheFolder());
    window_->SetDebugLog(&debugLog_);
    session.Forms().SetDebugLog(&debugLog_);
    // The terminal's receive timer keeps gathering what the connection
    // delivers; the Canvo window's own timer reads it from the buffer.
    window_->BeforePoll = [this] { window_->Core().HostRoman8 = session_.State().HostRoman8; };
    window_->Unloaded = [this] { Unloaded(); };
}

// The Canvo window goes before the session and the cache it refers to.
FormsUi::~FormsUi() { delete window_; }

void FormsUi::Show()
{
    window_->Core().HostRoman8 = session_.State().HostRoman8;
    (void)window_->Open();
}

void FormsUi::Close()
{
    if (window_->isVisible())
        window_->hide();
}

void FormsUi::Unloaded()
{
    session_.Forms().KeepLines(window_->Core().TakeKeptLines());
    if (terminal_->isVisible()) {
        terminal_->raise();
        terminal_->activateWindow();
    }
}

} // namespace kalvor::ui
