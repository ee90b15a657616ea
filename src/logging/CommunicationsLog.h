// The communications log "temp/zkdebug.txt": while tracing is on, every
// received and transmitted chunk, every Telnet negotiation step and every
// script step is written as one trace line (LogTrace). Switched on and off by
// the debug-mode menu item and the script command DBUG; off at start.
//
// File layout (lines end in CR LF):
//
//   Mar 5 2024 09:07 PM
//   ========...  (74 "=")
//    (one space)
//   Kalvor-V3.1 Communications Log File
//    (one space)
//   All data received or transmitted while in trace mode is logged in this file. |
//   Non-printable characters are marked with a leading apostrophe and their
//   decimal equivalent. A carriage return, for example, is written as '13.
//    (one space)
//   ========...  (75 "=")
//   0.125        Received: login: '13'10
//   ...
//   ========...  (75 "=", written when the log is switched off)
//
// A trace line is the elapsed time since the log was switched on (seconds
// with at most three decimals, left-aligned in 10 characters), the label
// right-aligned in 13 characters and a space, then the data with every
// character outside 32..126 written as an apostrophe and its decimal code.
// A line of 75 characters or more is folded: 74 characters, then the rest on
// continuation lines indented by 24 spaces, each again at most 74 long.
#pragma once

#include "base/Clock.h"
#include "base/TraceSink.h"
#include "logging/ErrorReport.h"
#include "logging/SideFile.h"
#include "logging/SideFileEvents.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor::logging {

// The program's version tag; the log's title uses it from its seventh
// character on ("-V3.1").
inline constexpr std::string_view kVersionTag = "KALVOR-V3.1";

// A local date and time to the minute, for the log header.
struct LocalDateTime {
    int Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;
    int Hour = 0; // 0..23
    int Minute = 0;
};

LocalDateTime SystemLocalTime();

// "mmm d yyyy hh:mm AM/PM", e.g. "Mar 5 2024 09:07 PM".
std::string FormatLogDate(const LocalDateTime& when);
// The ten header lines, each ended by CR LF.
std::string FormatLogHeader(const LocalDateTime& when);
// The closing line of 75 "=" and CR LF.
std::string FormatLogClosing();

// Elapsed milliseconds as seconds: "0", "1.5", "12.345".
std::string FormatElapsed(std::int64_t elapsedMs);
// Characters 32..126 as themselves, every other one as "'" and its code.
std::string TraceData(std::string_view data);
// The complete lines of one trace entry, each ended by CR LF; empty when the
// label or the data is empty.
std::string FormatTraceLines(std::int64_t elapsedMs, std::string_view label, std::string_view data);

class CommunicationsLog final : public TraceSink {
public:
    static constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
    static constexpr const char* kFileName = "temp/zkdebug.txt";

    CommunicationsLog(const Clock& clock, ErrorReport& errors, SideFileEvents& events);

    // TraceSink
    bool Tracing() const override { return on_; }
    void LogTrace(std::string_view label, std::string_view data) override;

    // Switching on: records the start time, sets the trace switch, deletes
    // and recreates the file and writes the header. Returns 0 or the error
    // number (reported with the location "UpdateDebugMode_Click"; tracing
    // stays off then).
    [[nodiscard]] int TurnOn();
    // Switching off: writes the closing line, closes the file and, when
    // asked, hands the file to the text editor. Off already: nothing.
    // Returns 0 or the error number (reported).
    [[nodiscard]] int TurnOff(bool openInEditor = true);

    // The trace start time: milliseconds since midnight.
    std::int64_t StartTimeMs() const { return startMs_; }
    std::filesystem::path Path() const { return file_.Path(); }

    // The date and time for the header; the system's local time unless set.
    std::optional<LocalDateTime> HeaderTime;

private:
    const Clock& clock_;
    ErrorReport& errors_;
    SideFileEvents& events_;
    SideFile file_{kFileName};
    bool on_ = false;
    std::int64_t startMs_ = 0;
};

} // namespace kalvor::logging
