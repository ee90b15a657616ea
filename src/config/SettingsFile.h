// The configuration file ".zkd": a banner header shorter than 500 bytes,
// then one line per key in key order, each the key text right-aligned in 40
// characters followed by the value; every line ends in CR LF.
//
// Reading skips the first 500 bytes, takes the rest in 100-byte blocks until
// a block begins with NUL (or the file ends), and takes the lines ended by
// CR LF, LF or CR, skipping blank ones. Each line is split at its first "=";
// the part before it names the key (trimmed, any case), the trimmed rest is
// the value. The first line of a key is the one that counts; keys not
// present keep their values. Lines that cannot be read (no "=", an unknown
// key, a binary byte, an over-long line, a last line without its line end)
// are skipped and make the file damaged.
#pragma once

#include "config/Settings.h"
#include "config/SettingKeys.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor::config {

inline constexpr std::size_t kHeaderSkip = 500;
inline constexpr std::size_t kReadBlock = 100;
// The most key text read after the header; what lies beyond is ignored. A
// configuration with every field filled is a few kilobytes.
inline constexpr std::size_t kMaxKeyText = 1 << 20;
inline constexpr std::size_t kKeyField = 40;
inline constexpr std::size_t kLineWidth = 80;
// The longest key line read: a function-key record with every character of
// its string written as "\ddd" stays well below it.
inline constexpr std::size_t kMaxLineLength = 1024;

// The values a file holds, as text, by key index 1..84 (element 0 unused):
// the first line of each key, nullopt for a key the file lacks.
using FileValues = std::array<std::optional<std::string>, kKeyCount + 1>;
// Value texts to write, by key index 1..84 (element 0 unused).
using ValueTexts = std::array<std::string, kKeyCount + 1>;

// The number of spaces before a centred title: (80 - length) / 2 - 1,
// rounded to the nearest whole number with halves to even, not below 0.
int CentringSpaces(std::size_t length);
// The banner header for a file name (trimmed; at most 80 characters of it
// are shown, so the header stays under 500 bytes).
std::string SettingsFileHeader(std::string_view fileName);
// One key line: the key text right-aligned in 40 characters, the value, CR LF.
std::string KeyLine(int index, std::string_view value);
// The whole file.
std::string FormatSettingsFile(std::string_view fileName, const ValueTexts& values);
std::string FormatSettingsFile(std::string_view fileName, const Settings& settings);
ValueTexts EncodeAll(const Settings& settings);

// Applies the key lines of a file's bytes to `settings`; `values`, when
// given, receives what the file holds. Returns what makes the file damaged
// ("line 7: an unknown key", the first such line), empty for a sound file.
std::string ParseSettingsText(std::string_view fileBytes, Settings& settings, FileValues* values = nullptr);

// ReadSettingsFile: reads the configuration file `name` (a recorded name,
// see ConfigPaths.h) into `settings`. Returns 0, or the error number when
// the file cannot be opened or read (the settings are unchanged then).
// `damage`, when given, receives what ParseSettingsText found.
int ReadSettingsFile(std::string_view name, Settings& settings, FileValues* values = nullptr,
                     std::string* damage = nullptr);

// CreateSettingsFile: deletes and rewrites the whole file from `settings`.
// Returns 0 or the error number.
int CreateSettingsFile(std::string_view name, const Settings& settings);

// Which keys an update replaces, by key index 1..84 (element 0 unused).
using KeySet = std::array<bool, kKeyCount + 1>;

// Reads file `name`, replaces the keys of `replace` with the current
// settings, keeps every other key's value as the file holds it (a key the
// file lacks takes the current setting), and rewrites the file. A missing
// file is left alone. Returns 0 or the error number.
int MergeIntoSettingsFile(std::string_view name, const Settings& settings, const KeySet& replace);

// The section update: reads file `name`, replaces the keys of `section`
// ("NewCommConfig", "NewFuncKeyConfig", "NewTerminalPref" or
// "NewPrintConfig", any case) with the current settings, keeps every other
// key's value as the file holds it, and rewrites the file. With an empty
// section name and a key index of 1..84 only that key is replaced (a user
// key the host defined, the colour scheme the host chose). A missing file,
// an unknown section name, or an empty one without a key index leaves
// everything alone. Returns 0 or the error number.
int UpdateConfigSection(std::string_view name, const Settings& settings, std::string_view section, int keyIndex = 0);

} // namespace kalvor::config
