// The star line of the configuration file's and the pointer file's headers.
#pragma once

#include "base/Text.h"

#include <string>

namespace kalvor::config {

// Twelve blanks, 58 stars and CR LF.
inline std::string StarLine() { return std::string(12, ' ') + std::string(58, '*') + "\r\n"; }

} // namespace kalvor::config
