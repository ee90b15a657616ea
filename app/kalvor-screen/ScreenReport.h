// The final state printed by kalvor-screen: text (one line per row, then
// "cursor ROW COL") or JSON with the run strings of each row.
#pragma once

#include "engine/DisplayMemory.h"

#include <ostream>

namespace kalvor {

void WriteTextReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory);
void WriteJsonReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory);

} // namespace kalvor
