// The escape log of strap N: "temp/zkesc.txt" under the program folder. It
// is created (or emptied) when the strap is set, stays open while the strap
// is set, and takes the enhancement escapes the host sends, each write
// flushed at once so that the file is complete at every moment. Failures are
// returned; the caller reports them.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace kalvor {

class EscapeLog {
public:
    static constexpr const char* kFileName = "temp/zkesc.txt";
    // ESC is written as this character, so that the file can be printed.
    static constexpr unsigned char kEscMark = 251;

    EscapeLog() = default;
    ~EscapeLog() { Close(); }
    EscapeLog(const EscapeLog&) = delete;
    EscapeLog& operator=(const EscapeLog&) = delete;

    // Creates or empties "temp/zkesc.txt" under `programFolder`, creating
    // "temp" when it is missing. A log already open is closed first.
    bool Open(const std::filesystem::path& programFolder);
    // Appends `bytes` as they are and flushes. False when the log is not open
    // or the write failed.
    bool Append(std::string_view bytes);
    // Appends an escape sequence with every ESC written as kEscMark.
    bool AppendEscape(std::string_view seq);
    // Closes the log; false when closing failed. Closing a closed log is
    // harmless.
    bool Close();

    bool IsOpen() const { return file_ != nullptr; }
    // The file of the last Open (empty before any).
    const std::filesystem::path& Path() const { return path_; }

private:
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
};

} // namespace kalvor
