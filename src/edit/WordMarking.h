// Double click: the word under the pointer, and the web address it stands
// for through the user's address list "config/searchvaluesfile.txt".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor::edit {

struct WordSpan {
    int Start = 0; // first column
    int End = 0;   // last column
};

// The word around column `col`, bounded by blanks and the row's ends;
// nothing on a blank or beyond the row's text.
std::optional<WordSpan> WordAt(std::string_view rowText, int col);

// The address a double click on column `col` of a row opens, or nothing.
// The address list's first line names a second file (relative names are
// taken under the config folder); its lines "KEY|ADDRESS" are tried in order:
// an occurrence of KEY (in upper case) in the upper-case row that covers the
// column, extended to the next blank, gives ADDRESS followed by the text after
// the key. Without a match a word containing "HTTP://" is the address from
// there on. Only addresses whose scheme is http, https or one the list's own
// addresses use are returned; missing files are not reported.
std::optional<std::string> AddressAt(const std::filesystem::path& programFolder, std::string_view rowText, int col);

} // namespace kalvor::edit
