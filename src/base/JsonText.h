// Latin-1 text as it leaves the program in reports: UTF-8, and JSON strings
// with control characters written as \u00XX.
#pragma once

#include <string>
#include <string_view>

namespace kalvor {

// Appends `latin1` to `out` as UTF-8.
void PutLatin1(std::string& out, std::string_view latin1);
// Appends `latin1` to `out` as a quoted JSON string (UTF-8).
void PutJsonString(std::string& out, std::string_view latin1);

} // namespace kalvor
