// The creating commands of the form language (/BUTTON, /CHECK, /ENTRYBOX,
// /PICKLIST, /MULTIPICK, /RADIO, /MAP, /DISPLAYFIELD) and /TABORDER.
#include "forms/ScriptRun.h"

#include <algorithm>
#include <cctype>

namespace kalvor::forms {
namespace {

constexpr int kMaxLength = 1000; // characters of a field; longer lengths are clamped
constexpr int kMaxDisplayLines = 100;
constexpr int kMaxFieldPenWidth = 100;

int Count(double value, int least, int most) { return std::clamp(RoundHalfEven(value), least, most); }

std::string Name(ParamReader& p) { return std::string(TrimBlanks(p.Next())); }

} // namespace

FieldLook ScriptRun::Look() const
{
    return {state_.DisplayLines, state_.Style, state_.FieldColor, state_.FieldPenWidth};
}

template <typename Record>
void ScriptRun::Created(ObjectType type, int index, const Record& record, std::string_view name)
{
    model_.SortCVObj(index, type, record.Xcoord1, record.Ycoord1);
    model_.NameList.append(name).append("|");
    drawing_.ObjectCreated(model_, {type, index});
}

bool ScriptRun::FieldProperty(std::string_view word, ParamReader& p)
{
    if (IsWord(word, "MAXCHARS"))
        state_.MaxChars = Count(p.Number(), 0, kMaxLength);
    else if (IsWord(word, "DISPLAYLINES"))
        state_.DisplayLines = Count(p.Number(), 1, kMaxDisplayLines);
    else if (IsWord(word, "TEXTCOLOR"))
        state_.FieldTextColor = p.Colour3();
    else if (IsWord(word, "FIELDSTYLE")) {
        std::string style(p.Next());
        std::transform(style.begin(), style.end(), style.begin(), [](unsigned char c) { return std::tolower(c); });
        state_.Style = style == "none"      ? FieldStyle::None
                       : style == "outline" ? FieldStyle::Outline
                       : style == "solid"   ? FieldStyle::Solid
                                            : FieldStyle::Underline;
    } else if (IsWord(word, "FIELDCOLOR"))
        state_.FieldColor = p.Colour3();
    else if (IsWord(word, "FIELDPENWIDTH"))
        state_.FieldPenWidth = Count(p.Number(), 1, kMaxFieldPenWidth);
    else
        return false;
    return true;
}

// /BUTTON x1 y1 x2 y2 name: FOCUSAFFECT word, CLICKAFFECT word (this line only).
void ScriptRun::Button(ParamReader& p)
{
    ButtonObj b;
    const Point a = ReadPoint(p);
    const Point c = ReadPoint(p);
    b.Xcoord1 = a.X, b.Ycoord1 = a.Y, b.Xcoord2 = c.X, b.Ycoord2 = c.Y;
    b.Action = Name(p);
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (IsWord(word, "FOCUSAFFECT"))
            b.FocusAffect = std::string(p.Next());
        else if (IsWord(word, "CLICKAFFECT"))
            b.ClickAffect = std::string(p.Next());
    }
    if (b.Action.empty() || model_.Buttons.Full())
        return;
    const std::string name = b.Action;
    const int index = model_.Buttons.Add(std::move(b));
    Created(ObjectType::Button, index, model_.Buttons[index], name);
}

void ScriptRun::CheckBox(ParamReader& p)
{
    Check c;
    const Point a = ReadPoint(p);
    c.Xcoord1 = a.X, c.Ycoord1 = a.Y;
    c.Name = Name(p);
    if (c.Name.empty() || model_.Checks.Full())
        return;
    const std::string name = c.Name;
    const int index = model_.Checks.Add(std::move(c));
    Created(ObjectType::Check, index, model_.Checks[index], name);
}

void ScriptRun::Entry(ParamReader& p)
{
    Cursor c;
    const Point a = ReadPoint(p);
    c.Xcoord1 = a.X, c.Ycoord1 = a.Y;
    c.Length = Count(p.Number(), 0, kMaxLength);
    c.Name = Name(p);
    state_.MaxChars = c.Length;
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (FieldProperty(word, p) || ShadowProperty(word, p))
            continue;
        if (IsWord(word, "LJ") || IsWord(word, "RJ") || IsWord(word, "CJ"))
            state_.Align = IsWord(word, "LJ")   ? TextAlign::Left
                           : IsWord(word, "RJ") ? TextAlign::Right
                                                : TextAlign::Center;
        else if (IsWord(word, "LINE") || IsWord(word, "EMBOSSED") || IsWord(word, "RECESSED")) {
            state_.Border = true;
            state_.Border3D = IsWord(word, "LINE")       ? BorderStyle::Line
                              : IsWord(word, "EMBOSSED") ? BorderStyle::Embossed
                                                         : BorderStyle::Recessed;
        } else if (IsWord(word, "PENWIDTH"))
            state_.BorderWidth = p.Number();
        else if (IsWord(word, "PENCOLOR"))
            state_.BorderColor = p.Colour3();
        else if (IsWord(word, "ENTRYCOLOR"))
            state_.EntryColor = p.Colour3();
        else if (IsWord(word, "FILL")) {
            state_.FieldFillColor = p.Colour3();
            state_.FieldFill = true;
        }
    }
    if (c.Name.empty() || model_.Cursors.Full())
        return;
    c.MaxChars = state_.MaxChars;
    c.textalign = state_.Align;
    c.Border = state_.Border;
    c.BorderColor = state_.BorderColor;
    c.BorderWidth = std::max(0, Scale(state_.BorderWidth));
    c.Border3D = state_.Border3D;
    c.FontColor = state_.FieldTextColor;
    c.EntryColor = state_.EntryColor;
    c.Fill = state_.FieldFill;
    c.FillColor = state_.FieldFillColor;
    c.Shadow = state_.Shadow;
    c.ShadowColor = state_.ShadowColor;
    c.Sxoffset = Scale(state_.ShadowDx);
    c.Syoffset = Scale(state_.ShadowDy);
    c.Field = Look();
    const std::string name = c.Name;
    const int index = model_.Cursors.Add(std::move(c));
    Created(ObjectType::Entry, index, model_.Cursors[index], name);
}

void ScriptRun::PickList(ParamReader& p, PickType type)
{
    Pick k;
    k.Type = type;
    const Point a = ReadPoint(p);
    k.Xcoord1 = a.X, k.Ycoord1 = a.Y;
    k.Length = Count(p.Number(), 0, kMaxLength);
    k.Name = Name(p);
    state_.MaxChars = k.Length;
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (FieldProperty(word, p) || ShadowProperty(word, p))
            continue;
        if (IsWord(word, "FILL")) {
            state_.FieldFillColor = p.Colour3();
            state_.FieldFill = true;
        }
    }
    if (k.Name.empty() || model_.Picks.Full())
        return;
    k.MaxChars = state_.MaxChars;
    k.Height = state_.DisplayLines;
    k.Fill = state_.FieldFill;
    k.FillColor = state_.FieldFillColor;
    k.FontColor = state_.FieldTextColor;
    k.EntryColor = state_.EntryColor;
    k.Shadow = state_.Shadow;
    k.ShadowColor = state_.ShadowColor;
    k.Sxoffset = Scale(state_.ShadowDx);
    k.Syoffset = Scale(state_.ShadowDy);
    k.Field = Look();
    const std::string name = k.Name;
    const int index = model_.Picks.Add(std::move(k));
    Created(ObjectType::Pick, index, model_.Picks[index], name);
}

// /RADIO x y group index: the group's name enters the name list once.
void ScriptRun::RadioButton(ParamReader& p)
{
    Radio r;
    const Point a = ReadPoint(p);
    r.Xcoord1 = a.X, r.Ycoord1 = a.Y;
    r.Name = Name(p);
    r.Index = RoundHalfEven(p.Number());
    if (r.Name.empty() || model_.Radios.Full())
        return;
    const bool known = std::any_of(model_.Radios.begin(), model_.Radios.end(),
                                   [&](const Radio& other) { return SameName(other.Name, r.Name); });
    const int index = model_.Radios.Add(r);
    model_.SortCVObj(index, ObjectType::Radio, r.Xcoord1, r.Ycoord1);
    if (!known)
        model_.NameList.append(r.Name).append("|");
    drawing_.ObjectCreated(model_, {ObjectType::Radio, index});
}

void ScriptRun::Map(ParamReader& p)
{
    ClickMap m;
    const Point a = ReadPoint(p);
    const Point c = ReadPoint(p);
    m.Xcoord1 = a.X, m.Ycoord1 = a.Y, m.Xcoord2 = c.X, m.Ycoord2 = c.Y;
    m.Name = Name(p);
    if (m.Name.empty() || model_.Maps.Full())
        return;
    const std::string name = m.Name;
    const int index = model_.Maps.Add(std::move(m));
    Created(ObjectType::Map, index, model_.Maps[index], name);
}

void ScriptRun::Display(ParamReader& p)
{
    DisplayField d;
    const Point a = ReadPoint(p);
    d.Xcoord1 = a.X, d.Ycoord1 = a.Y;
    d.Length = Count(p.Number(), 0, kMaxLength);
    d.Name = Name(p);
    state_.MaxChars = d.Length;
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (FieldProperty(word, p))
            continue;
        if (IsWord(word, "LJ") || IsWord(word, "RJ") || IsWord(word, "CJ"))
            state_.Align = IsWord(word, "LJ")   ? TextAlign::Left
                           : IsWord(word, "RJ") ? TextAlign::Right
                                                : TextAlign::Center;
    }
    if (d.Name.empty() || model_.DisplayFields.Full())
        return;
    d.Xcoord2 = d.Xcoord1 + d.Length * settings_.CellWidth;
    d.textalign = state_.Align;
    d.MaxChars = state_.MaxChars;
    d.FontColor = state_.FieldTextColor;
    d.Field = Look();
    const std::string name = d.Name;
    const int index = model_.DisplayFields.Add(std::move(d));
    Created(ObjectType::DisplayField, index, model_.DisplayFields[index], name);
}

// /TABORDER name name ...: blanks and vertical bars separate the names.
void ScriptRun::TabOrder(ParamReader& p)
{
    if (model_.ListCount() == 0)
        return;
    while (!p.AtEnd()) {
        std::string_view names = p.Next();
        while (!names.empty()) {
            const std::size_t bar = names.find('|');
            const std::string_view name = TrimBlanks(names.substr(0, bar));
            names.remove_prefix(bar == std::string_view::npos ? names.size() : bar + 1);
            if (const int position = name.empty() ? 0 : model_.GetObjectIndexByName(name))
                model_.AppendTab(position);
        }
    }
}

} // namespace kalvor::forms
