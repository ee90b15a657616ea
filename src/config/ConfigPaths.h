// Where configuration files live. Names are kept as the program records
// them in the pointer file: relative to the program folder and written with
// "/" ("config/default.zkd"); a name outside the program folder is kept
// absolute.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kalvor::config {

inline constexpr std::string_view kConfigFolder = "config";
inline constexpr std::string_view kDefaultConfigName = "config/default.zkd";
inline constexpr std::string_view kPointerFileName = "config/default.zkx";
// The longest name (path included) the pointer file can record.
inline constexpr std::size_t kMaxConfigNameLength = 60;

// A configuration name the program records: "config/" and a plain file
// name (no folder separator, not "." or "..", no control character).
// Configurations live nowhere else, so the pointer file cannot send a
// write anywhere else either.
bool IsConfigName(std::string_view name);

// The file a recorded name stands for: relative names under the program
// folder, absolute names as they are.
std::filesystem::path ConfigPath(std::string_view name);

// The name to record for a file: relative to the program folder (with "/")
// when the file lies inside it, else the absolute path.
std::string RecordedName(const std::filesystem::path& file);

// Reads a whole file, at most `limit` bytes of it. Returns 0 or the error
// number.
int ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::size_t limit);
// Replaces the file's content with `bytes` by a safe write (see
// base/AtomicFile.h): on failure the old file stays as it was. Returns 0 or
// the error number.
int WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace kalvor::config
