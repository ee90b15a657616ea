// The final state printed by kalvor-screen: text (one line per row, then
// "cursor ROW COL") or JSON with the run strings of each row.
#pragma once

#include "engine/DisplayMemory.h"

#include <ostream>
#include <string>
#include <string_view>

namespace kalvor {

void WriteTextReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory);
// `extraMembers`: more members of the JSON object, e.g. "\"script\":{...}".
void WriteJsonReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory, std::string_view extraMembers = {});
// A Latin-1 text as a JSON string (UTF-8, control characters as \u00XX).
void PutJsonString(std::string& out, std::string_view latin1);

} // namespace kalvor
