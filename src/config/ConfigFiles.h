// The menu commands on configuration files, as plain functions: Save, Save
// As and Open. Each reports its failures through the error report with the
// routine that failed as the location ("CreateSettingsFile",
// "UpdateDefaultFile", "ReadSettingsFile") and the file name, and returns 0
// or the error number. A name longer than 60 characters (path included)
// cannot be recorded in the pointer file: Save As and Open refuse it with
// error 5995 before touching any file. Configurations live in the config
// folder itself: a file anywhere else is refused with error 64.
#pragma once

#include "config/Settings.h"
#include "logging/ErrorReport.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvor::config {

// `file` with the extension "zkd": an existing extension is replaced, a
// name without one gets ".zkd".
std::filesystem::path WithConfigExtension(const std::filesystem::path& file);

// Save: rewrites `current` with CreateSettingsFile and records it with
// UpdateDefaultFile.
int SaveConfiguration(std::string_view current, const Settings& settings, logging::ErrorReport& errors);

// Save As: `chosen` gets the extension "zkd", is written and recorded; on
// success `current` becomes its recorded name.
int SaveConfigurationAs(const std::filesystem::path& chosen, const Settings& settings, std::string& current,
                        logging::ErrorReport& errors);

// Open: reads `chosen` into `settings` and records it; on success `current`
// becomes its recorded name. The caller then hard-resets the terminal so
// that the settings take effect. On failure `settings` are unchanged.
int OpenConfiguration(const std::filesystem::path& chosen, Settings& settings, std::string& current,
                      logging::ErrorReport& errors);

} // namespace kalvor::config
