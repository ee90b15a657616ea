// Small text helpers of the script interpreter: reading a number the way the
// script's IDLE reads its seconds, and writing one for the trace. Trimming and
// upper case come from base/Text.h.
#pragma once

#include "base/Text.h"

#include <string>
#include <string_view>

namespace kalvor::script {

// The decimal number at the start of the text (after blanks), with an
// optional sign and fraction; 0 when there is none ("abc", "").
double LeadingNumber(std::string_view text);
// A number as the trace writes it: "5", "0.5", "2.25".
std::string FormatNumber(double value);

} // namespace kalvor::script
