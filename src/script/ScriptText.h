// Small text helpers of the script interpreter: trimming, upper case, and
// reading a number the way the script's IDLE reads its seconds.
#pragma once

#include <string>
#include <string_view>

namespace kalvor::script {

// Without leading and trailing spaces.
std::string_view Trim(std::string_view text);
// ASCII letters in upper case.
std::string Upper(std::string_view text);
// The decimal number at the start of the text (after blanks), with an
// optional sign and fraction; 0 when there is none ("abc", "").
double LeadingNumber(std::string_view text);
// A number as the trace writes it: "5", "0.5", "2.25".
std::string FormatNumber(double value);

} // namespace kalvor::script
