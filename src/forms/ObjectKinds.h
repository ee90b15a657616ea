// The seven kinds of interactive object on a Canvo form and their records.
// Coordinates are window pixels (already scaled), lengths count characters,
// colours are colour values.
#pragma once

#include "forms/FormNumbers.h"

#include <string>
#include <vector>

namespace kalvor::forms {

// Type numbers as the object list stores them.
enum class ObjectType {
    Button = 1,      // /BUTTON: an area that returns its name
    Check = 2,       // /CHECK
    Entry = 3,       // /ENTRYBOX, also called the cursor object
    Pick = 4,        // /PICKLIST and /MULTIPICK
    Radio = 5,       // /RADIO
    Map = 6,         // /MAP: an invisible clickable rectangle
    DisplayField = 7 // /DISPLAYFIELD: text the host fills
};
constexpr int kObjectTypeCount = 7;

enum class TextAlign { Left, Right, Center };
enum class CursorStyle { Box, Underline, None };
enum class BorderStyle { Line, Embossed, Recessed };
enum class FieldStyle { None, Outline, Solid, Underline };
enum class PickType { Single, Multi };
// Whether the entry box's edit control is over it.
enum class EntryStatus { Shown, Editing };

// The settings every text field (entry box, pick list, display field) takes
// from the interpreter.
struct FieldLook {
    int DisplayLines = 1;
    FieldStyle Style = FieldStyle::None;
    Colour FieldColor = kWhite;
    int FieldPenWidth = 2;
};

struct ButtonObj {
    std::string Action; // the button's name
    int Xcoord1 = 0, Ycoord1 = 0, Xcoord2 = 0, Ycoord2 = 0;
    std::string FocusAffect;
    std::string ClickAffect;
};

struct Check {
    std::string Name;
    int Xcoord1 = 0, Ycoord1 = 0;
    bool Value = false;
};

struct Cursor {
    std::string Name;
    int Xcoord1 = 0, Ycoord1 = 0;
    int Length = 0;
    int MaxChars = 0;
    std::string Text; // line breaks are CR LF
    TextAlign textalign = TextAlign::Left;
    CursorStyle Style = CursorStyle::Box; // dumped as CursorStyle
    bool Border = false;
    Colour BorderColor = kBlack;
    int BorderWidth = 1;
    BorderStyle Border3D = BorderStyle::Line; // dumped as BorderStyle
    Colour FontColor = kBlack;
    Colour EntryColor = kBlack;
    EntryStatus Status = EntryStatus::Shown;
    bool Fill = false; // FillColor is painted only when set
    Colour FillColor = kWhite;
    bool Shadow = false;
    Colour ShadowColor = kBlack;
    int Sxoffset = 0, Syoffset = 0;
    FieldLook Field;
};

struct Pick {
    std::string Name;
    PickType Type = PickType::Single;
    int Xcoord1 = 0, Ycoord1 = 0;
    int Length = 0;
    int MaxChars = 0;
    int Height = 1; // rows shown when open
    std::vector<std::string> List;
    std::vector<std::string> SelList;
    bool Fill = false;
    Colour FillColor = kWhite;
    Colour FontColor = kBlack;
    Colour EntryColor = kBlack;
    bool Shadow = false;
    Colour ShadowColor = kBlack;
    int Sxoffset = 0, Syoffset = 0;
    FieldLook Field;
};

struct Radio {
    std::string Name; // the group name
    int Xcoord1 = 0, Ycoord1 = 0;
    int Index = 0; // what the group returns when this button is chosen
    bool Value = false;
};

struct ClickMap {
    std::string Name;
    int Xcoord1 = 0, Ycoord1 = 0, Xcoord2 = 0, Ycoord2 = 0;
};

struct DisplayField {
    std::string Name;
    int Xcoord1 = 0, Ycoord1 = 0, Xcoord2 = 0;
    int Length = 0;
    std::string Text;
    TextAlign textalign = TextAlign::Left;
    int MaxChars = 0;
    Colour FontColor = kBlack;
    FieldLook Field;
};

} // namespace kalvor::forms
