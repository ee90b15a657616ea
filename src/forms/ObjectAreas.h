// The rectangles objects take on the form, without Qt: what the headless
// forms mode hit-tests and searches with. The desktop window uses its
// drawing's own rectangles; these follow the same rules with the given cell
// and margin sizes (by default the field font of display preset 2).
#pragma once

#include "forms/FormDrawing.h"
#include "forms/FormModel.h"

namespace kalvor::forms {

struct AreaMetrics {
    int CellWidth = 9;
    int CellHeight = 17;
    int PadX = 4; // inner margin of entry boxes and pick lists
    int PadY = 3;
    int MarkSize = 14; // side of check boxes and radio buttons
};

// X2 and Y2 lie just outside the object.
Rect PlainObjectArea(const FormModel& model, ObjectRef object, const AreaMetrics& m = {});

} // namespace kalvor::forms
