// The program folder: where the configuration, temporary and cache folders
// live.
#pragma once

#include <filesystem>

namespace kalvor {

// $KALVOR_HOME when it is set and not empty; otherwise
// $HOME/.local/share/kalvor, or ".local/share/kalvor" under the working
// folder when HOME is not set either.
std::filesystem::path ProgramFolder();

} // namespace kalvor
