// PrintObjectArrays: a dump of the whole object model for diagnosis, written
// to temp/PrintList.txt (or, through FormatObjectArrays, to the forms-mode
// debug log). Layout: a header with the date ("mmm d yyyy") and the time
// ("hh:mm AM/PM") between lines of "=", the title "Forms Mode Arrays", the
// object list, the tab order, then one block per kind with one line per
// field: "Check(2).Value = True", colours as "(255, 128, 0)".
#pragma once

#include "forms/FormModel.h"

#include <ctime>
#include <filesystem>
#include <string>

namespace kalvor::forms {

std::string FormatObjectArrays(const FormModel& model, const std::tm& now);

// Writes the dump with the current local time; false when the file cannot be
// written.
bool PrintObjectArrays(const FormModel& model, const std::filesystem::path& file);

} // namespace kalvor::forms
