// The terminal description (terminfo) the local program gets: hp70092 as
// Kalvor implements it. The machine's own entry lacks clear to end of
// display (ESC J), and without it less and man say "terminal is not fully
// functional". The entry is compiled with tic into a folder under the
// program folder once, and TERMINFO names that folder.
#pragma once

#include <filesystem>
#include <string_view>

namespace kalvor::net {

// The terminfo source of the hp70092 entry.
std::string_view TerminalDescriptionSource();

// Makes sure `folder` holds the compiled entry (source and compiled file
// kept next to each other; recompiled when the source changed). Returns
// false when tic is missing or fails: the program then uses the machine's
// entry.
bool InstallTerminalDescription(const std::filesystem::path& folder);

} // namespace kalvor::net
