// How each kind of interactive object looks at a display preset: its
// rectangle, its empty look on the background layer, its value on the data
// layer, and the focus and mouse markings on the cursor layer. Everything is
// antialiased and drawn in the form's colours; markings lie within the
// marking rectangle so that copying it from the data layer removes them.
#pragma once

#include "forms/FormModel.h"
#include "ui/forms/FormPresets.h"

#include <QFont>
#include <QPainter>
#include <QRect>

namespace kalvor::ui::forms {

struct LookMetrics {
    double Scale = 1.0;
    CellSize Cell;
    QFont Font;   // the preset's field font
    int PadX = 4; // inner margin of entry boxes and pick lists
    int PadY = 3;
    int MarkSize = 14; // side of check boxes and radio buttons
    int Ring = 2;      // width of the focus ring
};

LookMetrics MetricsFor(int preset);

// The area an object's value occupies (what DrawNewData copies between layers).
QRect ObjectRect(const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object, const LookMetrics& m);
// ObjectRect with room for the focus and mouse markings around it.
QRect MarkRect(const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object, const LookMetrics& m);

void DrawEmptyLook(QPainter& p, const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object,
                   const LookMetrics& m);
void DrawValue(QPainter& p, const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object,
               const LookMetrics& m);
void DrawFocusMark(QPainter& p, const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object,
                   const LookMetrics& m);
void DrawMouseMark(QPainter& p, const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object,
                   const LookMetrics& m);

} // namespace kalvor::ui::forms
