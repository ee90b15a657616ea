// The lines a form sends to the host: an object's name in upper case, a
// colon, its value and a carriage return (XmitOneValue), and a function
// key's line (XmitFunctionKey). Building only; the forms mode sends them.
#pragma once

#include "forms/FormModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvor::forms {

// The line of the object at object-list position `position`; nothing for a
// position outside the list, a display field, or a radio group without a
// chosen button. `focus` names the focus object of a button's line, (x, y)
// is a click map's position in window pixels.
std::optional<std::string> ValueLine(const FormModel& model, int position, int focus, int x = 0, int y = 0);

// A function key's line: its definition in upper case, a colon, the
// definition unchanged, CR ("/F1 (Help)" sends "HELP:Help" CR).
std::string FunctionKeyLine(std::string_view definition);

} // namespace kalvor::forms
