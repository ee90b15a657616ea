// What a download of resources tells whoever watches it: the progress window
// on the desktop, the headless terminal, the tests. Every call comes on the
// thread that steps the download, between its steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvor::resources {

struct TransferProgress {
    std::string Name;        // the file being fetched
    std::int64_t Bytes = 0;  // received so far
    std::int64_t Total = -1; // the size the server gave (SIZE reply, Content-Length); -1 while unknown
    double RateKbps = 0;     // kilobytes (1000 bytes) per second since the file's transfer began
};

class DownloadListener {
public:
    virtual ~DownloadListener() = default;
    // A connection is about to be opened for `files` files.
    virtual void DownloadStarted(int files) = 0;
    // One file's transfer begins, and whenever more of it has arrived.
    virtual void FileProgress(const TransferProgress& progress) = 0;
    // A file that failed and was skipped, as its debug-log line
    // ("DownloadResources - HTTP1.Error [404] ...").
    virtual void FileFailed(const std::string& name, const std::string& logLine) = 0;
    // Every file has been fetched or has failed.
    virtual void DownloadFinished() = 0;
    // Called between the steps of a transfer: a window handles its events here.
    virtual void BetweenSteps() = 0;
};

} // namespace kalvor::resources

namespace kalvor::resources {

// The listener of a download without a window (the headless terminal): it
// keeps what happened for whoever asks afterwards.
class DownloadRecord final : public DownloadListener {
public:
    int Downloads = 0;                      // connections opened (DownloadStarted)
    bool Open = false;                      // between DownloadStarted and DownloadFinished
    std::vector<TransferProgress> Progress; // every report, in order
    std::vector<std::string> Failures;      // the debug-log lines of the failed files

    void DownloadStarted(int) override
    {
        ++Downloads;
        Open = true;
    }
    void FileProgress(const TransferProgress& progress) override { Progress.push_back(progress); }
    void FileFailed(const std::string&, const std::string& logLine) override { Failures.push_back(logLine); }
    void DownloadFinished() override { Open = false; }
    void BetweenSteps() override {}
};

} // namespace kalvor::resources
