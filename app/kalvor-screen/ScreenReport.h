// The final state printed by kalvor-screen: text (one line per row, then
// "cursor ROW COL") or JSON with the run strings of each row.
#pragma once

#include "base/JsonText.h"
#include "engine/DisplayMemory.h"

#include <ostream>
#include <string>
#include <string_view>

namespace kalvor {

void WriteTextReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory);
// `extraMembers`: more members of the JSON object, e.g. "\"script\":{...}".
void WriteJsonReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory, std::string_view extraMembers = {});

} // namespace kalvor
