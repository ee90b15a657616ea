// The environment of the local program: what it inherits from the desktop,
// adjusted to the terminal it talks to.
//
// - TERM=hp70092 (COLUMNS, LINES and TERMCAP dropped: the pseudo-terminal
//   has the size), and TERMINFO naming Kalvor's own entry for it
//   (TerminalDescription.h) when it could be compiled.
// - A locale whose character set matches the terminal's: with ISO Latin-1 an
//   ISO-8859-1 locale when one is installed (the desktop's language first),
//   otherwise, and always with Roman 8, "C". LANGUAGE stays; LC_* go.
// - INPUTRC naming a file that includes the user's readline settings (their
//   INPUTRC, ~/.inputrc or /etc/inputrc) and turns bracketed paste off: the
//   terminal would show its escape sequences at every prompt.
// - GROFF_NO_SGR=1: man pages use backspace overstriking instead of
//   ECMA-48 colour sequences.
// A user changes them in their shell's start-up files, which run after.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::net {

inline constexpr const char* kLocalProgramTerm = "hp70092";

struct LocalEnvironmentChoice {
    bool Latin1 = false;            // the host character set is ISO Latin-1
    std::string Locale;             // the locale to give (see ChooseLocale)
    std::filesystem::path Inputrc;  // the readline settings file (see WriteInputrc)
    std::filesystem::path Terminfo; // the folder of the compiled terminal description
};

// This process's environment as "NAME=value" entries.
std::vector<std::string> ParentEnvironment();

// The choice for a terminal with ISO Latin-1 (`latin1`) or Roman 8, from the
// parent's locale entries; the readline settings file and the terminal
// description are written into `folder` (created when missing; no INPUTRC or
// TERMINFO when they cannot be written).
LocalEnvironmentChoice ChooseEnvironment(const std::vector<std::string>& parent, bool latin1,
                                         const std::filesystem::path& folder);

// The child's environment from the parent's "NAME=value" entries.
std::vector<std::string> LocalProgramEnvironment(const std::vector<std::string>& parent,
                                                 const LocalEnvironmentChoice& choice);

// The locale for the terminal's character set: with Latin-1 the first
// installed ISO-8859-1 locale among the desktop language's (from `lang`, as
// LANG holds it: "de_DE.UTF-8") and en_US; otherwise, or when none is
// installed, "C".
std::string ChooseLocale(bool latin1, std::string_view lang);

// Writes the readline settings file `path`: an $include of the user's
// settings (the parent's INPUTRC, else ~/.inputrc, else /etc/inputrc, when
// the file exists) and bracketed paste off. False when it cannot be written.
bool WriteInputrc(const std::filesystem::path& path, const std::vector<std::string>& parent);

// The value of NAME in "NAME=value" entries, empty when it is missing.
std::string EnvironmentValue(const std::vector<std::string>& entries, std::string_view name);

} // namespace kalvor::net
