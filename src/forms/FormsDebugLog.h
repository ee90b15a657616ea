// The forms-mode debug log "temp/cvdebug.txt": while it is on, every forms
// routine writes an "Enter : " line with its name on entry and an "Exit  : "
// line on leaving, and "Status: " lines for notable values. Enter lines are
// indented by the current depth and deepen it by 2; exit lines shallow it by
// 2 (never below 0) and are indented by the new depth.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvor::forms {

class FormsDebugLog {
public:
    explicit FormsDebugLog(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& File() const { return file_; }
    bool On() const { return on_; }
    // "Initialize Debug": an empty file, depth 0, logging on.
    void Start();
    // Logging off; the file stays for the text editor.
    void Stop() { on_ = false; }

    // WriteToDebugFile(type, message): the type trimmed and compared in lower
    // case: "enter", "exit", "status" or "error"; any other writes nothing.
    void WriteToDebugFile(std::string_view type, std::string_view message);

private:
    std::filesystem::path file_;
    bool on_ = false;
    int depth_ = 0; // invariant: >= 0
};

// "enter" on construction and "exit" on destruction for one routine; a null
// or switched-off log writes nothing.
class DebugScope {
public:
    DebugScope(FormsDebugLog* log, std::string_view routine);
    ~DebugScope();
    DebugScope(const DebugScope&) = delete;
    DebugScope& operator=(const DebugScope&) = delete;

    void Status(std::string_view message) const;

private:
    FormsDebugLog* log_;
    std::string routine_;
};

// A status line on a log that may be null or off.
void DebugStatus(FormsDebugLog* log, std::string_view message);

} // namespace kalvor::forms
