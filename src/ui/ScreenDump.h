// The text of the screen as the window shows it: one line per screen row
// (trailing blanks removed, Latin-1 written as UTF-8), then "cursor ROW COL".
#pragma once

#include "engine/DisplayMemory.h"

#include <QString>

namespace kalvor::ui {

QString ScreenText(const DisplayMemory& mem);
// Writes ScreenText to `path` through a temporary file and a rename, so a
// reader never sees a half-written file. Returns false on an error.
bool WriteScreenText(const DisplayMemory& mem, const QString& path);

} // namespace kalvor::ui
