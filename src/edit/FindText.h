// The search of Find and Do Same Find Again: forward from the character
// after the cursor through every row in use, from the newest row on to the
// oldest, and back to the start of the cursor's row. A match never spans two
// rows.
#pragma once

#include "engine/DisplayMemory.h"

#include <optional>
#include <string_view>

namespace kalvor::edit {

enum class CaseMode {
    Exact = 0,      // the box " Match upper and lower case characters" ticked
    IgnoreCase = 1, // letters compared without regard to case
};

struct FoundText {
    int Row = 0; // ring index
    int Col = 0; // first character
};

// The first occurrence of `text` after the cursor; nothing for an empty text
// or none found.
std::optional<FoundText> FindInMemory(const DisplayMemory& mem, std::string_view text, CaseMode mode);

} // namespace kalvor::edit
