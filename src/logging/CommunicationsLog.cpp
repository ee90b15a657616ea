#include "logging/CommunicationsLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace kalvor::logging {
namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr std::size_t kTimeField = 10;
constexpr std::size_t kLabelField = 13;
constexpr std::size_t kFoldAt = 75;       // a line this long or longer is folded
constexpr std::size_t kFoldedLength = 74; // the length of each folded piece
constexpr std::size_t kContinuationIndent = 24;

} // namespace

LocalDateTime SystemLocalTime()
{
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string FormatLogDate(const LocalDateTime& when)
{
    const int month = when.Month >= 1 && when.Month <= 12 ? when.Month : 1;
    const int hour12 = when.Hour % 12 == 0 ? 12 : when.Hour % 12;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %d %d %02d:%02d %s", kMonths[month - 1], when.Day, when.Year, hour12,
                  when.Minute, when.Hour < 12 ? "AM" : "PM");
    return buf;
}

std::string FormatLogHeader(const LocalDateTime& when)
{
    std::string h;
    const auto line = [&h](std::string_view text) {
        h.append(text);
        h.append(kEol);
    };
    line(FormatLogDate(when));
    line(std::string(74, '='));
    line(" ");
    line("Kalvor" + std::string(kVersionTag.substr(6)) + " Communications Log File");
    line(" ");
    line("All data received or transmitted while in trace mode is logged in this file. ");
    line("Non-printable characters are marked with a leading apostrophe and their");
    line("decimal equivalent. A carriage return, for example, is written as '13.");
    line(" ");
    line(std::string(75, '='));
    return h;
}

std::string FormatLogClosing() { return std::string(75, '=') + std::string(kEol); }

std::string FormatElapsed(std::int64_t elapsedMs)
{
    const bool negative = elapsedMs < 0;
    const std::uint64_t ms =
        negative ? static_cast<std::uint64_t>(-(elapsedMs + 1)) + 1 : static_cast<std::uint64_t>(elapsedMs);
    std::string s = negative ? "-" : "";
    s += std::to_string(ms / 1000);
    std::uint64_t frac = ms % 1000;
    if (frac != 0) {
        std::string digits = std::to_string(frac);
        digits.insert(0, 3 - digits.size(), '0');
        while (digits.back() == '0')
            digits.pop_back();
        s += '.';
        s += digits;
    }
    return s;
}

std::string TraceData(std::string_view data)
{
    std::string out;
    out.reserve(data.size() + 8);
    for (char ch : data) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 32 && c <= 126) {
            out.push_back(ch);
        } else {
            out.push_back('\'');
            out.append(std::to_string(c));
        }
    }
    return out;
}

std::string FormatTraceLines(std::int64_t elapsedMs, std::string_view label, std::string_view data)
{
    if (label.empty() || data.empty())
        return {};
    std::string timeField = FormatElapsed(elapsedMs);
    timeField.resize(kTimeField, ' ');
    // Right-aligned in 13 characters and a space: 14 in all, cut on the left.
    std::string labelField(kLabelField, ' ');
    labelField.append(label);
    labelField.push_back(' ');
    labelField.erase(0, labelField.size() - (kLabelField + 1));

    const std::string line = timeField + labelField + TraceData(data);
    std::string out;
    out.reserve(line.size() + line.size() / 2 + 8);
    std::size_t pos = 0;
    std::size_t indent = 0;
    for (;;) {
        const std::size_t remaining = indent + (line.size() - pos);
        out.append(indent, ' ');
        if (remaining < kFoldAt) {
            out.append(line, pos);
            out.append(kEol);
            return out;
        }
        const std::size_t take = kFoldedLength - indent;
        out.append(line, pos, take);
        out.append(kEol);
        pos += take;
        indent = kContinuationIndent;
    }
}

CommunicationsLog::CommunicationsLog(const Clock& clock, ErrorReport& errors, SideFileEvents& events)
    : clock_(clock), errors_(errors), events_(events)
{}

int CommunicationsLog::TurnOn()
{
    file_.Close();
    startMs_ = clock_.TimeOfDayMs();
    on_ = true;
    int err = file_.Create();
    if (err == 0)
        err = file_.Write(FormatLogHeader(HeaderTime ? *HeaderTime : SystemLocalTime()));
    if (err != 0) {
        on_ = false;
        file_.Close();
        errors_.Report("UpdateDebugMode_Click", err, file_.Name());
    }
    return err;
}

int CommunicationsLog::TurnOff(bool openInEditor)
{
    if (!on_ && !file_.IsOpen())
        return 0;
    on_ = false;
    int err = file_.Write(FormatLogClosing());
    const int closed = file_.Close();
    if (err == 0)
        err = closed;
    if (err != 0) {
        errors_.Report("UpdateDebugMode_Click", err, file_.Name());
        return err;
    }
    if (openInEditor)
        events_.OpenDocument(file_.Path());
    return 0;
}

void CommunicationsLog::LogTrace(std::string_view label, std::string_view data)
{
    if (!on_)
        return;
    std::int64_t elapsed = clock_.TimeOfDayMs() - startMs_;
    if (elapsed < 0)
        elapsed += kDayMs; // the trace ran past midnight
    const std::string lines = FormatTraceLines(elapsed, label, data);
    if (lines.empty())
        return;
    if (const int err = file_.Write(lines); err != 0) {
        // The log is abandoned: one report, not one per line.
        on_ = false;
        file_.Close();
        errors_.Report("ZKFileWrite", err, file_.Name());
    }
}

} // namespace kalvor::logging
