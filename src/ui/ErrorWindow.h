// The modal "Kalvor Error" window: the error table's message and, under it,
// the detail line "[ number:   location,  file ]". The error report calls it
// through its ShowWindow hook; the program goes on when the user presses OK.
#pragma once

#include "logging/ErrorReport.h"

class QWidget;

namespace kalvor::ui {

// Shows the window and returns when it is closed.
void ShowErrorWindow(QWidget* parent, const logging::ErrorWindow& error);

// Points the report's ShowWindow hook at ShowErrorWindow with `parent`.
void ConnectErrorWindow(logging::ErrorReport& errors, QWidget* parent);

} // namespace kalvor::ui
