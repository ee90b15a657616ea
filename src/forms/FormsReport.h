// The forms mode as JSON for the headless terminal's report: whether the
// window is shown and a form arriving, the caption, every object in screen
// order with its value, the tab sequence, the focus, the tab position and
// the function keys the form defined. Texts are Latin-1 turned into UTF-8.
#pragma once

#include "forms/FormsMode.h"

#include <string>

namespace kalvor::forms {

// The object `{"active": ..., ...}` that the report puts under "forms".
std::string FormsReport(const FormsMode& mode);

} // namespace kalvor::forms
