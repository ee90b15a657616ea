// The progress window of a resource download: the file being fetched, its
// size and how much of it has arrived at what rate. It shows itself when the
// transfers begin and hides when they end; while they run it cannot be
// closed ("Improper Exit Warning"), and the events of every window are
// handled between the steps of a transfer.
//
// Wiring into the forms window:
//     ResourceProgressWindow progress(this);
//     resources::ResourceCache cache(ProgramFolder(), progress, clock);
//     form.SetResourceRequests(&cache);
#pragma once

#include "resources/DownloadListener.h"

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QLabel;

namespace kalvor::ui::forms {

class ResourceProgressWindow final : public QDialog, public kalvor::resources::DownloadListener {
public:
    explicit ResourceProgressWindow(QWidget* parent = nullptr);

    void DownloadStarted(int files) override;
    void FileProgress(const kalvor::resources::TransferProgress& progress) override;
    void FileFailed(const std::string& name, const std::string& logLine) override;
    void DownloadFinished() override;
    void BetweenSteps() override;

    bool Downloading() const { return downloading_; }
    // The debug-log lines of the files that failed, for the owner to write
    // out; taking them empties the list.
    std::vector<std::string> TakeFailureLines() { return std::exchange(failures_, {}); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // Refuses to close while downloading; true when closing may go on.
    bool MayClose();

    QLabel* file_;
    QLabel* size_;
    QLabel* caching_;
    bool downloading_ = false;
    std::vector<std::string> failures_;
};

} // namespace kalvor::ui::forms
