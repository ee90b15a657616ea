// Printer logging: while it is on, display lines are written to
// "temp/zklog.txt" (one line each, ended by CR LF); switching it off closes
// the file and hands it to the print routine. Bottom logging (mode 1) logs
// the lines completed at the bottom of the screen, top logging (mode 2) the
// lines that scroll off the top. Which line goes when is the scrolling code's
// decision: it calls LogDisplayLine with the kind of line it has.
//
// The soft-key labels (" Bottom*", "  Top *") follow FunctionKeys::LogType;
// this class keeps the file and the mode.
#pragma once

#include "engine/DisplayMemory.h"
#include "logging/ErrorReport.h"
#include "logging/SideFile.h"
#include "logging/SideFileEvents.h"

#include <filesystem>
#include <string_view>

namespace kalvor::logging {

class PrinterLog {
public:
    static constexpr const char* kFileName = "temp/zklog.txt";
    static constexpr int kOff = 0;
    static constexpr int kBottom = 1;
    static constexpr int kTop = 2;

    PrinterLog(ErrorReport& errors, SideFileEvents& events) : errors_(errors), events_(events) {}

    // Deletes and opens the log; log type 1 selects bottom logging, any
    // other value top logging. Returns 0 or the error number (reported with
    // the location "TurnOnLogging"; the mode stays off then).
    [[nodiscard]] int TurnOnLogging(int logType);
    // Switches between bottom (1) and top (any other value) logging while
    // logging is on.
    void SwitchLogType(int logType);
    // For bottom logging (log type 1) first writes the cursor's line of
    // `memory`; then the mode goes off, the file is closed and printed.
    // Returns 0 or the error number (reported).
    [[nodiscard]] int TurnOffLogging(int logType, const DisplayMemory& memory);

    // The scrolling code: a line that scrolled off the top (kTop) or was
    // completed at the bottom (kBottom). Written only while that mode is on.
    void LogDisplayLine(int logType, std::string_view text);
    // ZKFileWrite for this file: one line, written while the log is open.
    // Failures are reported with the location "ZKFileWrite".
    [[nodiscard]] int WriteLine(std::string_view text);

    int Mode() const { return mode_; }
    bool On() const { return mode_ != kOff; }
    std::filesystem::path Path() const { return file_.Path(); }

private:
    ErrorReport& errors_;
    SideFileEvents& events_;
    SideFile file_{kFileName};
    int mode_ = kOff;
};

// The text of the display-memory row under the cursor: the screen's first
// row plus the cursor row, wrapping at the end of display memory.
std::string_view CursorLineText(const DisplayMemory& memory);

} // namespace kalvor::logging
