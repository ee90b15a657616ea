// The settings the form language carries from line to line: every property
// changes them for the rest of the form. They start at the values below for
// a newly received form; a rebuild of the same form keeps them as they are.
// Lengths are kept in form units and scaled where they are used, so a
// rebuild at another scale draws at that scale.
#pragma once

#include "forms/FormNumbers.h"
#include "forms/ObjectKinds.h"

#include <string>

namespace kalvor::forms {

// Where /RESOURCES fetches files from (set by /RESOURCESERVER, which clears
// all four first).
struct ResourceServer {
    std::string Server; // "FTP://host/path" or "HTTP://host/path"
    int Port = 0;       // 0: the protocol's default
    bool Passive = false;
    std::string User;
    std::string Password;
};

struct InterpreterState {
    // /FONT, for /TEXT
    std::string FontFace = "Arial";
    double FontSize = 12; // form units
    int FontWeight = 100;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    double Angle = 0; // degrees
    Colour TextColor = kBlack;

    // text shadow of /TEXT, entry boxes and pick lists
    bool Shadow = false;
    Colour ShadowColor = kBlack;
    double ShadowDx = 0, ShadowDy = 0; // form units

    // the drawing commands
    double PenWidth = 1; // form units; 0 draws no outline
    Colour PenColor = kBlack;
    Colour FillColor = kWhite;
    bool Blend = false;
    Colour BlendColor = kWhite;

    // entry boxes, pick lists, display fields
    Colour FieldTextColor = kBlack; // TEXTCOLOR
    TextAlign Align = TextAlign::Left;
    bool Border = false;
    BorderStyle Border3D = BorderStyle::Line;
    Colour BorderColor = kBlack;
    double BorderWidth = 1; // form units
    bool FieldFill = false;
    Colour FieldFillColor = kWhite;
    Colour EntryColor = kBlack;
    int DisplayLines = 1;
    int MaxChars = 9; // restarts from the length on every creating line
    FieldStyle Style = FieldStyle::None;
    Colour FieldColor = kWhite;
    int FieldPenWidth = 2;

    ResourceServer Resources;
};

} // namespace kalvor::forms
