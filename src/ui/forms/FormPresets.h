// The four display presets of the forms window: the screen width each is
// meant for, the scale factor from form units to pixels, and the program's
// own fixed-pitch face for entry boxes, pick lists and display fields,
// registered under the preset's name ("Kalvor1" .. "Kalvor4") so forms look
// the same on every machine. The face is DejaVu Sans Mono at four sizes;
// the common proportional faces forms name (Arial, Times New Roman, Courier
// New) are mapped to the DejaVu families when the machine lacks them.
#pragma once

#include <QFont>
#include <QString>

namespace kalvor::ui::forms {

constexpr int kPresetCount = 4;
constexpr int kStartPreset = 2;

struct DisplayPreset {
    int Number = 2; // 1 .. 4
    int ScreenWidth = 800;
    double Scale = 1.0;
    const char* Face = "Kalvor2";
    int FontPixels = 15; // pixel size of the field font
};

// Preset 1 .. 4; other numbers are clamped.
const DisplayPreset& Preset(int number);

// The preset for a window `width` pixels wide: the largest whose screen
// width fits, never below preset 1.
int PresetForWidth(int width);

// Registers the fonts (once per process; needs a QGuiApplication). False
// when the fixed-pitch face could not be loaded (the system's fixed-pitch
// font is used instead).
bool LoadFormFonts();

// The field font of a preset and its character cell (whole pixels; the
// cell holds any character of the face).
QFont PresetFont(int number);
struct CellSize {
    int Width = 9;
    int Height = 18;
    int Ascent = 14;
};
CellSize PresetCell(int number);

} // namespace kalvor::ui::forms
