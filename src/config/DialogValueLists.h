// The value lists of the connection settings and terminal preferences
// dialogs, as the dialogs show them and as the settings hold them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kalvor::config {

inline constexpr std::array<std::string_view, 12> kBaudRates = {"300",   "600",   "1200",  "2400",  "4800",   "9600",
                                                                "19200", "28800", "38400", "56000", "128000", "256000"};
inline constexpr std::array<std::string_view, 4> kHandshakeNames = {"None", "Xon/Xoff", "RTS/CTS", "Xon/RTS"};
inline constexpr std::array<std::string_view, 3> kParityNames = {"None", "Even", "Odd"};

// The default ports of the network kinds (the kinds and their NetworkList
// texts: comms/NetworkKind.h).
inline constexpr int kTelnetPort = 23;
inline constexpr int kSshPort = 22;

// The terminal preferences dialog.
inline constexpr std::array<std::string_view, 3> kDisplayWidthTexts = {"80 characters wide", "132 characters wide",
                                                                       "200 characters wide"};
inline constexpr std::array<int, 3> kDisplayWidths = {80, 132, 200};
// The Enter-key choices by setting value (0 Return, 1 Enter, 2 Tab); the
// main Enter key takes the first two only.
inline constexpr std::array<std::string_view, 3> kEnterKeyTexts = {"= Return", "= Enter", "= Tab"};
inline constexpr std::array<std::string_view, 3> kEnterKeyNote = {"When in Block Mode, all ", "Enter",
                                                                  " keys = ENTER."};
inline constexpr const char* kSmartEnterText = "Smart Enter Key Mode";
inline constexpr const char* kKeyboardLayoutCaption = "Keyboard Layout:";
// By layout setting: 0 Standard, 1 Natural, 2 Natural Elite.
inline constexpr std::array<std::string_view, 3> kKeyboardLayoutTexts = {" Standard Keyboard", " Natural Keyboard",
                                                                         " Natural Elite Keyboard"};
inline constexpr const char* kLanguageCaption = "Language Preference:";
inline constexpr std::array<std::string_view, 12> kLanguageTexts = {
    " Danish",    " Dutch",   " English",   " Finnish",   " French",  " German",
    " Hungarian", " Italian", " Norwegian", " Portugese", " Spanish", " Swedish"};
inline constexpr const char* kHostCodeSetCaption = "Host Uses:";
inline constexpr std::array<std::string_view, 2> kHostCodeSetTexts = {" Roman 8/9", " ISO Latin-1"};
inline constexpr const char* kCapsOnlyText = "Caps Only Mode";
inline constexpr const char* kBlockCursorText = "Block Cursor";

// GetBaudIndex: the position of a baud text in kBaudRates, -1 when it is
// not there.
int GetBaudIndex(std::string_view baud);

// A language list text as the settings hold it: without the leading space,
// in upper case (" English" -> "ENGLISH").
std::string StoredLanguage(std::string_view listText);
// The list position of a stored language (any case, leading blanks
// ignored); -1 when it is not in the list.
int LanguageIndex(std::string_view language);

} // namespace kalvor::config
