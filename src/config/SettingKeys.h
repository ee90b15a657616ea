// The 84 keys of the configuration file: their texts in file order, the
// section each belongs to, and how each setting is written as a value text
// and read back from one.
//
// Reading is forgiving and never partial: a value that does not fit its key
// (a number that is not one, a name outside the key's list, a control
// character in a text) leaves the setting as it was.
#pragma once

#include "config/Settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvor::config {

inline constexpr int kKeyCount = 84;

// Key indices that other code refers to by number.
inline constexpr int kKeyMaxRow = 30;
inline constexpr int kKeyF1 = 73;
inline constexpr int kKeyColorIndex = 11;
inline constexpr int kKeyInverseVideo = 14;
inline constexpr int kKeyF8 = 80;
inline constexpr int kKeyMaxDisplayWidth = 81;
inline constexpr int kKeySshPassword = 84;

// The key text of index 1..84 as written, ending in " = " (or "= " for
// "TelnetAddr11= ", "TelnetAddr15= " and "TelnetAddr16= "); empty outside.
std::string_view KeyText(int index);

// The name a key line is matched by: the key text before its "=", trimmed
// and upper-cased ("BAUD RATE", "TELNETADDR11").
std::string KeyName(int index);

// The name of a key line's text before its "=": trimmed of spaces and
// upper-cased (ASCII letters only).
std::string LineName(std::string_view text);

// The index whose name is `upperName`, or 0 when there is none.
int FindKey(std::string_view upperName);

// The four sections that the dialogs and the host update.
enum class Section { Comm, FuncKey, TerminalPref, Print };

// "NewCommConfig", "NewFuncKeyConfig", "NewTerminalPref", "NewPrintConfig",
// compared without regard to case; nullopt for any other name.
std::optional<Section> SectionByName(std::string_view name);
bool InSection(int index, Section section);

// The value text of key `index` for the current settings.
std::string EncodeValue(const Settings& settings, int index);
// Applies a (trimmed) value text to the setting of key `index`; false when
// the key is not read back or the value is damaged (the setting is kept).
bool DecodeValue(Settings& settings, int index, std::string_view value);

// The function-key record: a type letter ("T" normal, "L" local, "N"
// transmit only), the two label lines in 8-character fields, and the string
// with every character below 32 and the backslash as "\" and three decimal
// digits. Trailing spaces of the string are written as "\032" too, so that
// they survive the trimming of values.
std::string EncodeFunctionKey(const FunctionKeyRecord& key);
// Reads a record; any letter other than "L", "T" or "N" gives type 2. The
// labels are trimmed on the right. nullopt when the record is damaged (empty,
// or a "\" not followed by a three-digit code of 0..255).
std::optional<FunctionKeyRecord> DecodeFunctionKey(std::string_view value);

// Display width from the "MaxRow = " value (599 gives 200, 899 gives 132,
// anything else 80) and the value written for a width.
int WidthFromMaxRow(std::string_view value);
int MaxRowForWidth(int width);

} // namespace kalvor::config
