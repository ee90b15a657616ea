#include "forms/ObjectAreas.h"

#include <algorithm>

namespace kalvor::forms {
namespace {

Rect Sized(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

Rect Normalised(int x1, int y1, int x2, int y2)
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

} // namespace

Rect PlainObjectArea(const FormModel& model, ObjectRef o, const AreaMetrics& m)
{
    if (o.Index < 1 || o.Index > model.KindCount(o.Type))
        return {};
    switch (o.Type) {
    case ObjectType::Button: {
        const ButtonObj& b = model.Buttons[o.Index];
        return Normalised(b.Xcoord1, b.Ycoord1, b.Xcoord2, b.Ycoord2);
    }
    case ObjectType::Map: {
        const ClickMap& c = model.Maps[o.Index];
        return Normalised(c.Xcoord1, c.Ycoord1, c.Xcoord2, c.Ycoord2);
    }
    case ObjectType::Check:
        return Sized(model.Checks[o.Index].Xcoord1, model.Checks[o.Index].Ycoord1, m.MarkSize, m.MarkSize);
    case ObjectType::Radio:
        return Sized(model.Radios[o.Index].Xcoord1, model.Radios[o.Index].Ycoord1, m.MarkSize, m.MarkSize);
    case ObjectType::Entry: {
        const Cursor& c = model.Cursors[o.Index];
        const int w = c.Border ? c.BorderWidth : 0;
        return Sized(c.Xcoord1 - w, c.Ycoord1 - w, c.Length * m.CellWidth + 2 * m.PadX + 2 * w,
                     c.Field.DisplayLines * m.CellHeight + 2 * m.PadY + 2 * w);
    }
    case ObjectType::Pick: {
        const Pick& k = model.Picks[o.Index];
        return Sized(k.Xcoord1, k.Ycoord1, k.Length * m.CellWidth + 2 * m.PadX + m.CellHeight,
                     m.CellHeight + 2 * m.PadY);
    }
    case ObjectType::DisplayField: {
        const DisplayField& d = model.DisplayFields[o.Index];
        return Sized(d.Xcoord1, d.Ycoord1, d.Length * m.CellWidth, d.Field.DisplayLines * m.CellHeight);
    }
    }
    return {};
}

} // namespace kalvor::forms
