// A configuration file or pointer file that could not be read whole is kept
// beside itself before anything rewrites it, as
// "config/NAME.damaged-YYYYMMDD-HHMMSS" (local time), so that the user can
// still find what the program could not read.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace kalvor::config {

inline constexpr std::string_view kDamagedInfix = ".damaged-";

// The copy's recorded name for `name` at `when`: "config/x.zkd" becomes
// "config/x.zkd.damaged-20260314-093000".
std::string DamagedCopyName(std::string_view name, std::time_t when);

struct DamagedCopy {
    std::string Name; // the recorded name of the copy
    int Error = 0;    // 0, or the error number of making it (nothing was copied)
};

// Copies the file `name` (a recorded name) to its damaged copy; a copy of
// the same second gets "-2", "-3" ... behind.
DamagedCopy KeepDamagedCopy(std::string_view name);

// The user's message: what was damaged, where the file as it was is kept,
// and that what could not be read has its default value.
std::string DamagedFileNote(std::string_view name, std::string_view damage, std::string_view copy);

} // namespace kalvor::config
