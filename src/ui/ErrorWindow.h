// The modal "Kalvor Error" window: the error table's message and, under it,
// the detail line "[ number:   location,  file ]". An error report shows it
// through an ErrorWindowDisplay; the program goes on when the user presses OK.
#pragma once

#include "logging/ErrorReport.h"

#include <QPointer>
#include <QWidget>

namespace kalvor::ui {

// Shows the window and returns when it is closed.
void ShowErrorWindow(QWidget* parent, const logging::ErrorWindow& error);

// The display of an error report: the window over `parent`.
class ErrorWindowDisplay final : public logging::ErrorDisplay {
public:
    explicit ErrorWindowDisplay(QWidget* parent) : parent_(parent) {}
    void ShowWindow(const logging::ErrorWindow& error) override { ShowErrorWindow(parent_.data(), error); }

private:
    QPointer<QWidget> parent_;
};

} // namespace kalvor::ui
