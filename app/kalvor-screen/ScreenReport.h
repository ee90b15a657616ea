// The final state printed by kalvor-screen: text (one line per row, then
// "cursor ROW COL") or JSON with the run strings of each row.
#pragma once

#include "base/JsonText.h"
#include "edit/Selection.h"
#include "engine/DisplayMemory.h"
#include "engine/TerminalState.h"
#include "keyboard/FunctionKeys.h"

#include <ostream>
#include <string>
#include <string_view>

namespace kalvor {

void WriteTextReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory);
// `extraMembers`: more members of the JSON object, e.g. "\"script\":{...}".
void WriteJsonReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory, std::string_view extraMembers = {});

// The members "selection" (null, or start and end in screen rows and
// columns and the rectangular flag) and "clipboard".
std::string EditJsonMembers(const edit::Selection& sel, const DisplayMemory& mem, std::string_view clipboard);

// The members "terminal" (the switches, the straps set as ESC & s names
// them, the host's key remappings and the bells sounded) and "softkeys"
// (the key set shown, the eight buttons' label lines, the message panel,
// the tab panel, the user-key definition menu enabled).
std::string StateJsonMembers(const TerminalSettings& st, int bells, const SoftKeyView& keys);

} // namespace kalvor
