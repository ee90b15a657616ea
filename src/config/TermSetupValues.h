// The terminal preferences dialog (TermSetupForm, "Terminal Preferences")
// without its widgets: the values its controls hold, how they are filled
// from the settings, checked and stored.
//
// Opening the dialog keeps the current preferences (SaveTermConfig with the
// save flag); OK stores the values, applies them to the session (and so to
// the window and the soft-key labels) and writes the "NewTerminalPref"
// section of the current configuration file; Cancel restores what was kept.
#pragma once

#include "config/Settings.h"

#include <optional>
#include <string>

namespace kalvor::config {

class Configuration;

struct TermSetupValues {
    int DisplayWidth = 80;    // TermModeButton: 80, 132 or 200
    int KbEnterKey = 0;       // main Enter key: 0 "= Return", 1 "= Enter"
    int NumEnterKey = 0;      // keypad Enter key: 0 "= Return", 1 "= Enter", 2 "= Tab"
    bool SmartReturn = false; // SmartReturnBox
    int KeyboardLayout = 0;   // KeybrdStyleBox: 0 Standard, 1 Natural, 2 Natural Elite
    int Language = 2;         // LanguageBox position (2 " English")
    bool Latin1 = false;      // HostCodeSet: " ISO Latin-1" (else " Roman 8/9")
    bool CapsOnly = false;    // "Caps Only Mode"
    bool BlockCursor = true;  // "Block Cursor" (else underline)

    bool operator==(const TermSetupValues&) const = default;
};

// The controls' values for the settings; a language not in the list shows
// as English.
TermSetupValues TermSetupValuesFrom(const Settings& settings);

// The message for a value no control can hold, or nothing.
std::optional<std::string> CheckTermSetupValues(const TermSetupValues& values);

// OK_Click's storing: smart return mode, display width, keyboard layout,
// Enter keys, language (upper case, e.g. "ENGLISH"), host character set
// ("Latin1" or "Roman8"), caps-only mode and cursor style.
void StoreTermSetupValues(const TermSetupValues& values, Settings& settings);

// The dialog opens: the current preferences are kept (SaveTermConfig).
void OpenTermPreferences(Configuration& config);
// OK: stored, applied, "NewTerminalPref" written. Returns 0 or the error
// number of the write.
int AcceptTermPreferences(Configuration& config, const TermSetupValues& values);
// Cancel: the kept preferences come back (SaveTermConfig).
void CancelTermPreferences(Configuration& config);

} // namespace kalvor::config
