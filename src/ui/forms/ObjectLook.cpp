#include "ui/forms/ObjectLook.h"

#include "ui/forms/FormLayers.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace kalvor::ui::forms {
namespace {

using namespace kalvor::forms;

const QColor kFocus(47, 125, 255, 215); // focus ring
const QColor kMarkEdge(118, 118, 118);  // edge of an empty check box or radio button
const QColor kMarkFill(255, 255, 255);
const QColor kChosen(47, 59, 76); // filled check box, chosen radio button
const QColor kHover(0, 0, 0, 22); // mouse marking

int Px(double units, double scale) { return std::max(1, static_cast<int>(std::lround(units * scale))); }

QRect Normalised(int x1, int y1, int x2, int y2) { return QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)).normalized(); }

QRect FieldRect(int x, int y, int length, int lines, const LookMetrics& m, int extraWidth = 0)
{
    return QRect(x, y, length * m.Cell.Width + 2 * m.PadX + extraWidth, lines * m.Cell.Height + 2 * m.PadY);
}

QRect PickField(const Pick& k, const LookMetrics& m)
{
    return FieldRect(k.Xcoord1, k.Ycoord1, k.Length, 1, m, m.Cell.Height);
}
QRect EntryField(const Cursor& c, const LookMetrics& m)
{
    return FieldRect(c.Xcoord1, c.Ycoord1, c.Length, c.Field.DisplayLines, m);
}
QRect DisplayRect(const DisplayField& d, const LookMetrics& m)
{
    return QRect(d.Xcoord1, d.Ycoord1, d.Length * m.Cell.Width, d.Field.DisplayLines * m.Cell.Height);
}
QRect MarkBox(int x, int y, const LookMetrics& m) { return QRect(x, y, m.MarkSize, m.MarkSize); }

// A rectangle's outline of `width` pixels drawn inside it.
QRectF Inset(const QRect& r, double width)
{
    const double h = width / 2;
    return QRectF(r).adjusted(h, h, -h, -h);
}

// The field marking: none, outline, solid, underline.
void DrawField(QPainter& p, const QRect& r, const FieldLook& f, bool fill, Colour fillColour, double radius)
{
    p.setPen(Qt::NoPen);
    if (fill) {
        p.setBrush(ToQColor(fillColour));
        p.drawRoundedRect(QRectF(r), radius, radius);
    }
    const double w = f.FieldPenWidth;
    switch (f.Style) {
    case FieldStyle::None: break;
    case FieldStyle::Solid:
        p.setBrush(ToQColor(f.FieldColor));
        p.drawRoundedRect(QRectF(r), radius, radius);
        break;
    case FieldStyle::Outline:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ToQColor(f.FieldColor), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRoundedRect(Inset(r, w), std::max(0.0, radius - w / 2), std::max(0.0, radius - w / 2));
        break;
    case FieldStyle::Underline:
        p.fillRect(QRectF(r.left(), r.bottom() + 1 - w, r.width(), w), ToQColor(f.FieldColor));
        break;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::NoPen);
}

// Border of an entry box outside its field: a line, or a bevel lit from the
// upper left (embossed) or from the lower right (recessed).
void DrawBorder(QPainter& p, const QRect& field, const Cursor& c)
{
    const int w = c.BorderWidth;
    if (!c.Border || w <= 0)
        return;
    const QRect outer = field.adjusted(-w, -w, w, w);
    const QColor base = ToQColor(c.BorderColor);
    if (c.Border3D == BorderStyle::Line) {
        p.setPen(QPen(base, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(Inset(outer, w));
        p.setPen(Qt::NoPen);
        return;
    }
    auto mix = [&](QColor to, double t) {
        return QColor::fromRgbF(base.redF() + (to.redF() - base.redF()) * t,
                                base.greenF() + (to.greenF() - base.greenF()) * t,
                                base.blueF() + (to.blueF() - base.blueF()) * t);
    };
    const QColor light = mix(Qt::white, 0.78);
    const QColor dark = mix(Qt::black, 0.45);
    const bool embossed = c.Border3D == BorderStyle::Embossed;
    const QColor topLeft = embossed ? light : dark;
    const QColor bottomRight = embossed ? dark : light;
    // Two L-shaped bands meeting on the diagonal at the corners.
    const QPointF a = outer.topLeft(), b = QPointF(outer.right() + 1, outer.top()),
                  d = QPointF(outer.left(), outer.bottom() + 1);
    const QPointF e = QPointF(outer.right() + 1, outer.bottom() + 1);
    const QPointF ia = field.topLeft(), ib = QPointF(field.right() + 1, field.top()),
                  id = QPointF(field.left(), field.bottom() + 1);
    const QPointF ie = QPointF(field.right() + 1, field.bottom() + 1);
    p.setPen(Qt::NoPen);
    p.setBrush(topLeft);
    p.drawPolygon(QPolygonF({a, b, ib, ia, id, d}));
    p.setBrush(bottomRight);
    p.drawPolygon(QPolygonF({e, d, id, ie, ib, b}));
    p.setBrush(Qt::NoBrush);
}

// Lines of text (CR LF, or a lone CR or LF, between them) aligned in `r`.
void DrawLines(QPainter& p, const QRect& r, std::string_view text, TextAlign align, QColor colour, const LookMetrics& m,
               int maxLines)
{
    p.setFont(m.Font);
    p.setPen(colour);
    int line = 0;
    std::size_t pos = 0;
    while (pos <= text.size() && line < maxLines) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const QString s = QString::fromLatin1(text.data() + pos, static_cast<qsizetype>(end - pos));
        const QRect row(r.left(), r.top() + line * m.Cell.Height, r.width(), m.Cell.Height);
        const int flags = Qt::AlignVCenter | (align == TextAlign::Right    ? Qt::AlignRight
                                              : align == TextAlign::Center ? Qt::AlignHCenter
                                                                           : Qt::AlignLeft);
        p.drawText(row, flags, s);
        ++line;
        if (end >= text.size())
            break;
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

void DrawFieldText(QPainter& p, const QRect& inner, std::string_view text, TextAlign align, Colour colour, bool shadow,
                   Colour shadowColour, int sx, int sy, const LookMetrics& m, int lines)
{
    if (text.empty())
        return;
    p.save();
    p.setClipRect(inner);
    if (shadow)
        DrawLines(p, inner.translated(sx, sy), text, align, ToQColor(shadowColour), m, lines);
    DrawLines(p, inner, text, align, ToQColor(colour), m, lines);
    p.restore();
}

std::string JoinSelection(const Pick& k)
{
    std::string out;
    for (const std::string& s : k.SelList) {
        if (!out.empty())
            out += ", ";
        out += s;
        if (k.Type == PickType::Single)
            break;
    }
    return out;
}

double Radius(const LookMetrics& m) { return 3 * m.Scale; }

void DrawRing(QPainter& p, const QRectF& r, double radius, const LookMetrics& m)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFocus, m.Ring));
    const double out = 1 + m.Ring / 2.0;
    p.drawRoundedRect(r.adjusted(-out, -out, out, out), radius + out, radius + out);
}

} // namespace

LookMetrics MetricsFor(int preset)
{
    LookMetrics m;
    m.Scale = Preset(preset).Scale;
    m.Cell = PresetCell(preset);
    m.Font = PresetFont(preset);
    m.PadX = Px(4, m.Scale);
    m.PadY = Px(3, m.Scale);
    m.MarkSize = Px(14, m.Scale);
    m.Ring = std::max(2, Px(2, m.Scale));
    return m;
}

QRect ObjectRect(const FormModel& model, ObjectRef o, const LookMetrics& m)
{
    switch (o.Type) {
    case ObjectType::Button: {
        const ButtonObj& b = model.Buttons[o.Index];
        return Normalised(b.Xcoord1, b.Ycoord1, b.Xcoord2, b.Ycoord2);
    }
    case ObjectType::Map: {
        const ClickMap& c = model.Maps[o.Index];
        return Normalised(c.Xcoord1, c.Ycoord1, c.Xcoord2, c.Ycoord2);
    }
    case ObjectType::Check: return MarkBox(model.Checks[o.Index].Xcoord1, model.Checks[o.Index].Ycoord1, m);
    case ObjectType::Radio: return MarkBox(model.Radios[o.Index].Xcoord1, model.Radios[o.Index].Ycoord1, m);
    case ObjectType::Entry: {
        const Cursor& c = model.Cursors[o.Index];
        const int w = c.Border ? c.BorderWidth : 0;
        return EntryField(c, m).adjusted(-w, -w, w, w);
    }
    case ObjectType::Pick: return PickField(model.Picks[o.Index], m);
    case ObjectType::DisplayField: return DisplayRect(model.DisplayFields[o.Index], m);
    }
    return {};
}

QRect MarkRect(const FormModel& model, ObjectRef o, const LookMetrics& m)
{
    const int out = m.Ring + 2;
    return ObjectRect(model, o, m).adjusted(-out, -out, out, out);
}

void DrawEmptyLook(QPainter& p, const FormModel& model, ObjectRef o, const LookMetrics& m)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double edge = std::max(1.0, 1.25 * m.Scale);
    switch (o.Type) {
    case ObjectType::Button:
    case ObjectType::Map: break; // the form draws a button's look itself; a map is invisible
    case ObjectType::Check: {
        p.setPen(QPen(kMarkEdge, edge));
        p.setBrush(kMarkFill);
        const double r = 2.5 * m.Scale;
        p.drawRoundedRect(Inset(ObjectRect(model, o, m), edge), r, r);
        break;
    }
    case ObjectType::Radio:
        p.setPen(QPen(kMarkEdge, edge));
        p.setBrush(kMarkFill);
        p.drawEllipse(Inset(ObjectRect(model, o, m), edge));
        break;
    case ObjectType::Entry: {
        const Cursor& c = model.Cursors[o.Index];
        const QRect field = EntryField(c, m);
        DrawField(p, field, c.Field, c.Fill, c.FillColor, c.Border ? 0 : Radius(m));
        DrawBorder(p, field, c);
        break;
    }
    case ObjectType::Pick: {
        const Pick& k = model.Picks[o.Index];
        const QRect field = PickField(k, m);
        DrawField(p, field, k.Field, k.Fill, k.FillColor, Radius(m));
        // The chevron that opens the list.
        const double cx = field.right() + 1 - m.PadX - m.Cell.Height / 2.0;
        const double cy = field.center().y() + 0.5;
        const double s = m.Cell.Height / 5.0;
        QColor ink = ToQColor(k.FontColor);
        ink.setAlphaF(0.7);
        p.setPen(QPen(ink, std::max(1.5, 1.6 * m.Scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(cx - s, cy - s / 2), QPointF(cx, cy + s / 2), QPointF(cx + s, cy - s / 2)}));
        break;
    }
    case ObjectType::DisplayField: {
        const DisplayField& d = model.DisplayFields[o.Index];
        DrawField(p, DisplayRect(d, m), d.Field, false, kWhite, 0);
        break;
    }
    }
    p.restore();
}

void DrawValue(QPainter& p, const FormModel& model, ObjectRef o, const LookMetrics& m)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (o.Type) {
    case ObjectType::Button:
    case ObjectType::Map: break;
    case ObjectType::Check: {
        if (!model.Checks[o.Index].Value)
            break;
        const QRectF box = ObjectRect(model, o, m);
        const double r = 2.5 * m.Scale;
        p.setPen(Qt::NoPen);
        p.setBrush(kChosen);
        p.drawRoundedRect(box, r, r);
        const double s = box.width();
        p.setPen(QPen(Qt::white, std::max(1.5, s / 7.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(
            QPolygonF({box.topLeft() + QPointF(s * 0.24, s * 0.52), box.topLeft() + QPointF(s * 0.43, s * 0.70),
                       box.topLeft() + QPointF(s * 0.77, s * 0.32)}));
        break;
    }
    case ObjectType::Radio: {
        if (!model.Radios[o.Index].Value)
            break;
        const QRectF box = ObjectRect(model, o, m);
        const double edge = std::max(1.0, 1.25 * m.Scale);
        p.setPen(QPen(kChosen, edge));
        p.setBrush(kMarkFill);
        p.drawEllipse(Inset(box.toRect(), edge));
        p.setPen(Qt::NoPen);
        p.setBrush(kChosen);
        const double dot = box.width() * 0.26;
        p.drawEllipse(box.center(), dot, dot);
        break;
    }
    case ObjectType::Entry: {
        const Cursor& c = model.Cursors[o.Index];
        const QRect inner = EntryField(c, m).adjusted(m.PadX, m.PadY, -m.PadX, -m.PadY);
        DrawFieldText(p, inner, c.Text, c.textalign, c.FontColor, c.Shadow, c.ShadowColor, c.Sxoffset, c.Syoffset, m,
                      c.Field.DisplayLines);
        break;
    }
    case ObjectType::Pick: {
        const Pick& k = model.Picks[o.Index];
        const QRect inner = PickField(k, m).adjusted(m.PadX, m.PadY, -m.PadX - m.Cell.Height, -m.PadY);
        DrawFieldText(p, inner, JoinSelection(k), TextAlign::Left, k.FontColor, k.Shadow, k.ShadowColor, k.Sxoffset,
                      k.Syoffset, m, 1);
        break;
    }
    case ObjectType::DisplayField: {
        const DisplayField& d = model.DisplayFields[o.Index];
        DrawFieldText(p, DisplayRect(d, m), d.Text, d.textalign, d.FontColor, false, kBlack, 0, 0, m,
                      d.Field.DisplayLines);
        break;
    }
    }
    p.restore();
}

void DrawFocusMark(QPainter& p, const FormModel& model, ObjectRef o, const LookMetrics& m)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = ObjectRect(model, o, m);
    switch (o.Type) {
    case ObjectType::Button: {
        const std::string word = UpperName(model.Buttons[o.Index].FocusAffect);
        if (word == "NONE")
            break;
        if (word == "INVERT") {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.fillRect(r, Qt::white);
            break;
        }
        DrawRing(p, r, Radius(m), m);
        break;
    }
    case ObjectType::Radio: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kFocus, m.Ring));
        const double out = 1 + m.Ring / 2.0;
        p.drawEllipse(r.adjusted(-out, -out, out, out));
        break;
    }
    case ObjectType::Entry: {
        const Cursor& c = model.Cursors[o.Index];
        if (c.Style == CursorStyle::None)
            break;
        if (c.Style == CursorStyle::Underline) {
            p.fillRect(QRectF(r.left(), r.bottom() + 2, r.width(), m.Ring), kFocus);
            break;
        }
        DrawRing(p, r, c.Border ? 0 : Radius(m), m);
        break;
    }
    default: DrawRing(p, r, o.Type == ObjectType::Check ? 2.5 * m.Scale : Radius(m), m); break;
    }
    p.restore();
}

void DrawMouseMark(QPainter& p, const FormModel& model, ObjectRef o, const LookMetrics& m)
{
    if (o.Type != ObjectType::Button && o.Type != ObjectType::Check && o.Type != ObjectType::Radio)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kHover);
    const QRectF r = ObjectRect(model, o, m);
    if (o.Type == ObjectType::Radio)
        p.drawEllipse(r.adjusted(-2, -2, 2, 2));
    else
        p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 3 * m.Scale, 3 * m.Scale);
    p.restore();
}

} // namespace kalvor::ui::forms
