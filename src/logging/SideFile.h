// One side file under the program folder ("temp/zkdebug.txt", the printer
// log, the record files): created empty when its mode goes on, kept open
// while the mode is on, every write flushed at once so that the file is
// complete at every moment, closed when the mode goes off. Every operation
// returns 0 or the number of the error table for the failure.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace kalvor::logging {

inline constexpr std::string_view kEol = "\r\n";

class SideFile {
public:
    // `name` is relative to the program folder, written with "/".
    explicit SideFile(std::string name) : name_(std::move(name)) {}
    ~SideFile() { Close(); }
    SideFile(const SideFile&) = delete;
    SideFile& operator=(const SideFile&) = delete;

    // Deletes the file and creates it empty under the current program folder
    // (creating the folder on the way). A file already open is closed first.
    int Create();
    // Appends `bytes` as they are.
    int Write(std::string_view bytes);
    // Appends `text` and CR LF.
    int WriteLine(std::string_view text);
    // Closing a closed file is harmless.
    int Close();
    // Removes the file (closed first).
    int Remove();

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Name() const { return name_; }
    // The full path under the program folder as of the last Create (or now).
    std::filesystem::path Path() const;

private:
    std::string name_;
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
};

} // namespace kalvor::logging
