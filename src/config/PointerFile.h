// The pointer file "config/default.zkx" names the configuration file loaded
// at start-up. Fixed layout, 489 bytes:
//
//   CR LF, CR LF, two star lines (12 spaces, 58 "*", CR LF), the title line
//   "Tavlex Terminal" (33 spaces, the title, CR LF: 50 bytes), the line of
//   30 spaces, "Default File Name" and CR LF, two star lines, CR LF, CR LF,
//   12 spaces and "Default File Name = "; then bytes 428 to 487 (counted
//   from 1) hold the configuration file name, left-aligned and padded with
//   spaces, and CR LF ends the file.
#pragma once

#include "config/DamagedFiles.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor::config {

inline constexpr std::size_t kPointerNameOffset = 427; // byte 428, counted from 1
inline constexpr std::size_t kPointerNameField = 60;
inline constexpr std::size_t kPointerFileSize = kPointerNameOffset + kPointerNameField + 2;

// The whole pointer file for `name` (cut to 60 characters).
std::string FormatPointerFile(std::string_view name);

// The name a pointer file's bytes hold: the 60 bytes at byte 428, trimmed,
// cut at the first NUL and then at the first CR. nullopt when the file is
// damaged: too short, without "Default File Name = " right before the name,
// or a name that is not a configuration name (IsConfigName).
std::optional<std::string> ParsePointerFile(std::string_view bytes);

struct DefaultFile {
    std::string Name;     // the configuration file to load
    bool Created = false; // the pointer file was missing or damaged and was written anew
    int Error = 0;        // the error number of writing it, 0 when written
    bool Damaged = false; // the pointer file was there but held no usable name
    DamagedCopy Kept;     // where it was kept before it was written anew
};

// GetDefaultFile: the name held in the pointer file. A pointer file that
// cannot be opened (or holds no usable name) is written anew naming
// "config/default.zkd", and that name is returned; a damaged one is first
// kept beside itself (DamagedFiles.h). A pointer file that exists but cannot
// be read is left alone.
DefaultFile GetDefaultFile();

// UpdateDefaultFile: records `name` in the pointer file. Returns 0, 5995
// for a name longer than 60 characters (nothing is written then), or the
// error number of writing.
int UpdateDefaultFile(std::string_view name);

} // namespace kalvor::config
