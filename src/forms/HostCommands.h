// Host command lines while a form is shown: "NAME:value" sets an object's
// value, "GOTO:name" moves the focus, "ONERROR:text" reports a host-detected
// error. ExecuteHostCmd changes the model and says what the window has to do
// about it; unknown words and names change nothing.
#pragma once

#include "forms/FormModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalvor::forms {

// A received line made ready for ExecuteHostCmd: control characters 0..12
// and 14..31 removed, then Roman 8 translated to the display's Latin-1 when
// the terminal's character set is Roman 8.
std::string CleanHostLine(std::string_view line, bool roman8);

// Entry-box values: a bar stands for a line break (CR LF) and a backslash
// before a bar for the bar itself. EncodeEntryText is the inverse.
std::string DecodeEntryText(std::string_view value);
std::string EncodeEntryText(std::string_view text);

// Splits a pick-list value at the first "|*|" not preceded by a backslash:
// the items before it, the chosen items after it (empty when there is none).
void SeparatePickLists(std::string_view value, std::string& items, std::string& chosen);
// The items of a bar-separated list, a leading bar ignored; a bar at the end
// ends the last item and starts none.
int CountItemsInList(std::string_view list);
std::vector<std::string> SplitItemList(std::string_view list);
// The list's items replace the pick list's; its selection is emptied.
void StorePickListItems(Pick& pick, std::string_view list);
// The chosen items that the list holds (compared trimmed) become the
// selection; a single-choice list keeps the first.
void StoreNewSelectItems(Pick& pick, std::string_view list);

struct HostCmdResult {
    enum class Kind {
        Ignored, // no colon, an unknown name, no objects
        Goto,    // the focus moved: From and To are object-list positions
        Error,   // ONERROR: ring the bell, show Text when it is not empty
        Value    // an object's value was set: Changed lists the positions to draw again
    };
    Kind What = Kind::Ignored;
    int From = 0, To = 0;
    std::string Text;
    std::vector<int> Changed;
};

HostCmdResult ExecuteHostCmd(std::string_view line, FormModel& model);

} // namespace kalvor::forms
