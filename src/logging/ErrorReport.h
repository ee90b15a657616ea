// The error report: every routine that traps a failure hands it here with
// its own name as the location, the error number and, when a file was
// involved, the file name. The report turns the number into the message of
// the error table and shows the "Kalvor Error" window (on the ErrorDisplay
// the window provides), or writes one line into the communications log.
//
// Errors of the C++ library and the operating system (std::error_code,
// errno) are mapped onto the numbers of the table where one fits: a missing
// file is 53, a missing folder on the way 76, permission denied 70, a full
// disk 61, and so on; a read-only file system keeps its own number and words. Anything else keeps the system's own number and
// description.
#pragma once

#include "base/TraceSink.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kalvor::logging {

// Numbers of the program's own errors.
inline constexpr int kErrFileDamaged = 5994;
inline constexpr int kErrFileNameTooLong = 5995;
inline constexpr int kErrIniCorrupted = 5996;
inline constexpr int kErrIniMissing = 5997;
inline constexpr int kErrFontsMissing = 5998;
inline constexpr int kErrTooManyObjects = 5999;

// Numbers of the file errors the program produces itself.
inline constexpr int kErrDeviceIo = 57;
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrBadFileName = 64;
inline constexpr int kErrPermissionDenied = 70;
inline constexpr int kErrPathFileAccess = 75;
inline constexpr int kErrPathNotFound = 76;

// What the "Kalvor Error" window shows.
struct ErrorWindow {
    std::string Title;   // "Kalvor Error"
    std::string Message; // the table's message, or the system's description
    std::string Detail;  // "[ 53:   ReadSettingsFile,  config/x.zkd ]"
    int Number = 0;
    std::string Location;
    std::string FileName;
    // A line under the detail: what became of the file (a failed write).
    std::string Note;

    bool operator==(const ErrorWindow&) const = default;
};

inline constexpr std::string_view kErrorTitle = "Kalvor Error";

// The message of the error table for `number`; nullopt for a number the
// table does not hold.
std::optional<std::string_view> TableMessage(int number);

// The table's message, or for any other number the system's own
// description of that number.
std::string ErrorMessage(int number);

// "[ " number ":   " location, then ",  " and the file name when one is
// given, then " ]".
std::string DetailLine(int number, std::string_view location, std::string_view fileName);

// The window content for an error number.
ErrorWindow MakeErrorWindow(int number, std::string_view location, std::string_view fileName);
// The window content for a system error: the table's number and message
// when the error maps onto one, else the system's number and description.
ErrorWindow MakeErrorWindow(std::error_code ec, std::string_view location, std::string_view fileName,
                            const std::filesystem::path& path = {});

// The report of a program without a window: one line on the standard error
// stream.
void PrintErrorWindow(const ErrorWindow& window);

// The table number for a system error, or 0 when none fits. `path`, when
// given, tells a missing file (53) from a missing folder on the way (76).
int TableNumberFor(std::error_code ec, const std::filesystem::path& path = {});
// The table number for a system error, or the system's own number when none
// fits; 0 only for "no error".
int ErrorNumberFor(std::error_code ec, const std::filesystem::path& path = {});
// The same for an errno value.
int ErrorNumberForErrno(int errnoValue, const std::filesystem::path& path = {});

// Where an error report's windows are shown: the program's modal "Kalvor
// Error" window.
class ErrorDisplay {
public:
    virtual void ShowWindow(const ErrorWindow& window) = 0;

protected:
    ~ErrorDisplay() = default;
};

class ErrorReport {
public:
    // The display of the error windows; without one (null) the report goes
    // to the standard error stream.
    void SetDisplay(ErrorDisplay* display) { display_ = display; }

    // The communications log that takes the debug-log lines (may be null).
    void SetDebugLog(TraceSink* log) { debugLog_ = log; }

    // Shows the "Kalvor Error" window for `number`.
    void Report(std::string_view location, int number, std::string_view fileName = {});
    // Shows the window for a system error.
    void Report(std::string_view location, std::error_code ec, std::string_view fileName = {},
                const std::filesystem::path& path = {});
    // Shows the window for `number` with a note under the detail line.
    void ReportWithNote(std::string_view location, int number, std::string_view fileName, std::string note);
    // Shows the window for a failed write of a whole file, saying that the
    // file written (`keptFile`, else `fileName`) was left as it was: writes
    // never harm the old file.
    void ReportFileKept(std::string_view location, int number, std::string_view fileName,
                        std::string_view keptFile = {});
    // Writes one line into the communications log instead of the window:
    // the label "Error:" and the detail line followed by the message. Nothing
    // is written while the log is off.
    void ReportToLog(std::string_view location, int number, std::string_view fileName = {});

    // What was reported last, and how many reports were made (tests, status).
    const std::optional<ErrorWindow>& Last() const { return last_; }
    int Count() const { return count_; }

private:
    void Show(ErrorWindow window);

    ErrorDisplay* display_ = nullptr;
    TraceSink* debugLog_ = nullptr;
    std::optional<ErrorWindow> last_;
    int count_ = 0;
};

} // namespace kalvor::logging
