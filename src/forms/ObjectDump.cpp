#include "forms/ObjectDump.h"

#include <cstdio>
#include <fstream>

namespace kalvor::forms {
namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const std::string kRule(60, '=');

std::string Text(std::string_view s)
{
    std::string out;
    for (char c : s) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string ColourText(Colour c)
{
    return "(" + std::to_string(Red(c)) + ", " + std::to_string(Green(c)) + ", " + std::to_string(Blue(c)) + ")";
}

const char* Bool(bool b) { return b ? "True" : "False"; }

const char* AlignText(TextAlign a)
{
    switch (a) {
    case TextAlign::Left: return "Left-Justify";
    case TextAlign::Right: return "Right-Justify";
    case TextAlign::Center: return "Center-Justify";
    }
    return "";
}

const char* CursorStyleText(CursorStyle s)
{
    switch (s) {
    case CursorStyle::Box: return "Box";
    case CursorStyle::Underline: return "Underline";
    case CursorStyle::None: return "None";
    }
    return "";
}

const char* BorderText(BorderStyle s)
{
    switch (s) {
    case BorderStyle::Line: return "Line";
    case BorderStyle::Embossed: return "Embossed";
    case BorderStyle::Recessed: return "Recessed";
    }
    return "";
}

const char* FieldStyleText(FieldStyle s)
{
    switch (s) {
    case FieldStyle::None: return "none";
    case FieldStyle::Outline: return "outline";
    case FieldStyle::Solid: return "solid";
    case FieldStyle::Underline: return "underline";
    }
    return "";
}

const char* KindLabel(ObjectType t)
{
    switch (t) {
    case ObjectType::Button: return "Button ....";
    case ObjectType::Check: return "CheckBox ..";
    case ObjectType::Entry: return "EntryBox ..";
    case ObjectType::Pick: return "PickList ..";
    case ObjectType::Radio: return "Radio .....";
    case ObjectType::Map: return "Map .......";
    case ObjectType::DisplayField: return "DisplayField .......";
    }
    return "";
}

// Lines "    Array(i).Field = value" of one record.
class Fields {
public:
    Fields(std::string& out, const char* array, int index)
        : out_(out), prefix_("    " + std::string(array) + "(" + std::to_string(index) + ").")
    {}
    Fields& operator()(const char* field, const std::string& value)
    {
        out_ += prefix_ + field + " = " + value + "\n";
        return *this;
    }
    Fields& operator()(const char* field, const char* value) { return (*this)(field, std::string(value)); }
    Fields& operator()(const char* field, int value) { return (*this)(field, std::to_string(value)); }

private:
    std::string& out_;
    std::string prefix_;
};

void FieldLines(Fields& f, const FieldLook& look)
{
    f("FieldStyle", FieldStyleText(look.Style))("FieldColor", ColourText(look.FieldColor))("FieldPenWidth",
                                                                                           look.FieldPenWidth);
}

void ListLines(Fields& f, const char* name, const std::vector<std::string>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        f((std::string(name) + "(" + std::to_string(i + 1) + ")").c_str(), Text(items[i]));
}

} // namespace

std::string FormatObjectArrays(const FormModel& m, const std::tm& now)
{
    std::string out;
    const int hour12 = now.tm_hour % 12 == 0 ? 12 : now.tm_hour % 12;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d %s", hour12, now.tm_min, now.tm_hour < 12 ? "AM" : "PM");
    out += kRule + "\n";
    out += std::string(kMonths[now.tm_mon % 12]) + " " + std::to_string(now.tm_mday) + " " +
           std::to_string(now.tm_year + 1900) + "  " + time + "\n";
    out += "Forms Mode Arrays\n";
    out += kRule + "\n\n";

    out += "  ObjectList:\n";
    for (int p = 1; p <= m.ListCount(); ++p) {
        const ObjectRef o = m.At(p);
        int x = 0, y = 0;
        m.Corner(o, x, y);
        out += "    " + std::to_string(p) + ". " + KindLabel(o.Type) + " (" + std::to_string(x) + ", " +
               std::to_string(y) + ")\n";
    }
    out += "\n  TabOrder:\n";
    for (std::size_t t = 0; t < m.TabOrder.size(); ++t)
        out += "    " + std::to_string(t + 1) + ". " + std::to_string(m.TabOrder[t]) + "\n";

    out += "\n  Button-Object Array\n";
    for (int i = 1; i <= m.Buttons.Count(); ++i) {
        const ButtonObj& b = m.Buttons[i];
        Fields f(out, "ButtonObj", i);
        f("Action", Text(b.Action))("Xcoord1", b.Xcoord1)("Ycoord1", b.Ycoord1)("Xcoord2", b.Xcoord2)("Ycoord2",
                                                                                                      b.Ycoord2);
        f("FocusAffect", Text(b.FocusAffect))("ClickAffect", Text(b.ClickAffect));
    }
    out += "\n  Check-Object Array\n";
    for (int i = 1; i <= m.Checks.Count(); ++i) {
        const Check& c = m.Checks[i];
        Fields(out, "Check", i)("Name", Text(c.Name))("Xcoord1", c.Xcoord1)("Ycoord1", c.Ycoord1)("Value",
                                                                                                  Bool(c.Value));
    }
    out += "\n  Cursor-Object Array\n";
    for (int i = 1; i <= m.Cursors.Count(); ++i) {
        const Cursor& c = m.Cursors[i];
        Fields f(out, "Cursor", i);
        f("Name", Text(c.Name))("Xcoord1", c.Xcoord1)("Ycoord1", c.Ycoord1)("Length", c.Length)("MaxChars", c.MaxChars);
        f("Text", Text(c.Text))("textalign", AlignText(c.textalign))("CursorStyle", CursorStyleText(c.Style));
        f("Border", Bool(c.Border))("BorderColor", ColourText(c.BorderColor))("BorderWidth", c.BorderWidth);
        f("BorderStyle", BorderText(c.Border3D))("FontColor", ColourText(c.FontColor))("EntryColor",
                                                                                       ColourText(c.EntryColor));
        f("Status", c.Status == EntryStatus::Editing ? "Editing" : "Shown")("Fill", Bool(c.Fill))(
            "FillColor", ColourText(c.FillColor));
        f("Shadow", Bool(c.Shadow))("ShadowColor", ColourText(c.ShadowColor))("Sxoffset", c.Sxoffset)("Syoffset",
                                                                                                      c.Syoffset);
        f("DisplayLines", c.Field.DisplayLines);
        FieldLines(f, c.Field);
    }
    out += "\n  Pick-Object Array\n";
    for (int i = 1; i <= m.Picks.Count(); ++i) {
        const Pick& p = m.Picks[i];
        Fields f(out, "Pick", i);
        f("Name", Text(p.Name))("Type", p.Type == PickType::Multi ? "Multi-Pick" : "Single-Pick");
        f("Xcoord1", p.Xcoord1)("Ycoord1", p.Ycoord1)("Length", p.Length)("MaxChars", p.MaxChars)("Height", p.Height);
        f("Count", static_cast<int>(p.List.size()));
        ListLines(f, "List", p.List);
        f("SelCount", static_cast<int>(p.SelList.size()));
        ListLines(f, "SelList", p.SelList);
        f("Fill", Bool(p.Fill))("FillColor", ColourText(p.FillColor))("FontColor", ColourText(p.FontColor));
        f("EntryColor", ColourText(p.EntryColor))("Shadow", Bool(p.Shadow))("ShadowColor", ColourText(p.ShadowColor));
        f("Sxoffset", p.Sxoffset)("Syoffset", p.Syoffset);
        FieldLines(f, p.Field);
    }
    out += "\n  Radio-Object Array\n";
    for (int i = 1; i <= m.Radios.Count(); ++i) {
        const Radio& r = m.Radios[i];
        Fields(out, "Radio", i)("Name", Text(r.Name))("Xcoord1", r.Xcoord1)("Ycoord1", r.Ycoord1)("Index", r.Index)(
            "Value", Bool(r.Value));
    }
    out += "\n  Map-Object Array\n";
    for (int i = 1; i <= m.Maps.Count(); ++i) {
        const ClickMap& c = m.Maps[i];
        Fields(out, "ClickMap", i)("Name", Text(c.Name))("Xcoord1", c.Xcoord1)("Ycoord1", c.Ycoord1)(
            "Xcoord2", c.Xcoord2)("Ycoord2", c.Ycoord2);
    }
    out += "\n  DisplayField-Object Array\n";
    for (int i = 1; i <= m.DisplayFields.Count(); ++i) {
        const DisplayField& d = m.DisplayFields[i];
        Fields f(out, "DisplayField", i);
        f("Name", Text(d.Name))("Xcoord1", d.Xcoord1)("Ycoord1", d.Ycoord1)("Xcoord2", d.Xcoord2)("Length", d.Length);
        f("Text", Text(d.Text))("textalign", AlignText(d.textalign))("MaxChars", d.MaxChars);
        f("DisplayLines", d.Field.DisplayLines)("FontColor", ColourText(d.FontColor));
        FieldLines(f, d.Field);
    }
    return out;
}

bool PrintObjectArrays(const FormModel& model, const std::filesystem::path& file)
{
    const std::time_t t = std::time(nullptr);
    std::tm now{};
    localtime_r(&t, &now);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << FormatObjectArrays(model, now);
    return static_cast<bool>(out);
}

} // namespace kalvor::forms
