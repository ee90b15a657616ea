// The program folder at start-up and shutdown: the working files that a
// previous run may have left are removed, the four folders are made, and
// on the way out the temporary files go again.
#pragma once

#include "logging/ErrorReport.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string_view>

namespace kalvor::config {

// Made at start-up under the program folder, in this order; a folder that
// exists already is left alone.
inline constexpr std::array<std::string_view, 4> kProgramFolders = {"fonts", "temp", "config", "cache"};

// Prints without a printer go to PDF files in "temp"; only the newest of
// them are kept, so that a host printing without end cannot fill the disk.
inline constexpr std::size_t kKeptPrintFiles = 20;

// Removed at start-up and when the main window unloads.
inline constexpr std::array<std::string_view, 2> kTemporaryFiles = {"temp/response.txt", "temp/zkdebug.txt"};

// Start-up window load, steps 1 and 2: deletes the temporary files, then
// makes the folders; old print files go too (RemoveOldPrintFiles). A folder that cannot be made is reported with the
// location "Form_Load" and the folder's name; the program goes on. Returns
// 0 or the first error number.
int PrepareProgramFolder(logging::ErrorReport& errors);

// Removes all but the newest kKeptPrintFiles PDF files of "temp" (by
// modification time). Failures are ignored: a file that cannot be removed
// is tried again next time.
void RemoveOldPrintFiles();

// A save stopped between writing and renaming (a kill, a power cut) leaves
// its temporary ".NAME.saving-XXXXXX" beside the file it was to replace;
// the file itself is intact. Start-up removes such leftovers in "config"
// once they are older than this, so that a save another window is making
// at this moment is never disturbed.
inline constexpr std::chrono::seconds kUnfinishedSaveAge{60};

// Removes the leftovers of unfinished saves in "config" (see above).
// Failures are ignored.
void RemoveUnfinishedSaves();

// The working script of a log-on script (the script interpreter's name).
inline constexpr std::string_view kWorkingScriptFile = "temp/zkscript.txt";

// Form_Unload: deletes "temp/zkdebug.txt", "temp/response.txt" and the
// working script of a script that did not reach its end (a file that is
// not there is no error; a failure is reported as "Form_Unload").
int RemoveTemporaryFiles(logging::ErrorReport& errors);

} // namespace kalvor::config
