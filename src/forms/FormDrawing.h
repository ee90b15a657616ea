// What the form language draws, as one small interface: the layers, the
// static shapes, text and pictures of the background layer, and the empty
// look of each interactive object as it is created. The Qt implementation
// paints the background layer; tests record the calls.
#pragma once

#include "forms/FormModel.h"
#include "forms/FormNumbers.h"
#include "forms/ObjectKinds.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::forms {

struct Point {
    int X = 0, Y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    bool operator==(const Rect&) const = default;
};

struct PenStyle {
    bool Visible = true; // false: no outline at all
    int Width = 1;       // window pixels
    Colour Color = kBlack;
    bool operator==(const PenStyle&) const = default;
};

// How a closed shape is filled: one colour, or with blending a vertical
// gradient from Fill at the top row to BlendColor at the bottom row, one
// band per pixel row.
struct FillStyle {
    Colour Fill = kWhite;
    bool Blend = false;
    Colour BlendColor = kWhite;
    bool operator==(const FillStyle&) const = default;
};

struct FontStyle {
    std::string Face = "Arial";
    int Height = 12;  // character height in window pixels
    int Weight = 100; // 100 is the form's normal weight, 700 bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Escapement = 0; // tenths of a degree, counter-clockwise
    bool operator==(const FontStyle&) const = default;
};

struct TextStyle {
    FontStyle Font;
    Colour Color = kBlack;
    bool Shadow = false;
    Colour ShadowColor = kBlack;
    int ShadowDx = 0, ShadowDy = 0;      // window pixels
    TextAlign Justify = TextAlign::Left; // about x: starting, ending or centred
    bool operator==(const TextStyle&) const = default;
};

struct ImageRequest {
    std::filesystem::path File;
    Point At;
    int Width = 0, Height = 0; // drawn size in window pixels; 0: the picture's own
    bool Mask = false;
    Point MaskAt; // upper-left corner of the mask inside the picture, picture pixels
};

class FormDrawing {
public:
    virtual ~FormDrawing() = default;

    // CreateCVBitmaps: the three layers made anew at width x height pixels,
    // filled with `background`. False when they cannot be created.
    virtual bool CreateLayers(int width, int height, Colour background) = 0;

    virtual void Box(const Rect& r, const FillStyle& fill, const PenStyle& pen) = 0;
    virtual void Polygon(const std::vector<Point>& points, const FillStyle& fill, const PenStyle& pen) = 0;
    virtual void Polyline(const std::vector<Point>& points, const PenStyle& pen) = 0;
    virtual void Oval(const Rect& bounds, const FillStyle& fill, const PenStyle& pen) = 0;
    virtual void Line(Point from, Point to, const PenStyle& pen) = 0;
    // Text (8-bit Latin-1) with `at` on its base line.
    virtual void Text(Point at, const TextStyle& style, std::string_view text) = 0;
    // False when the picture cannot be loaded.
    virtual bool Image(const ImageRequest& style) = 0;
    // The measuring grid over the whole form at `scale` pixels per form unit.
    virtual void Grid(double scale) = 0;
    // An interactive object was created: its empty look goes on the background layer.
    virtual void ObjectCreated(const FormModel& model, ObjectRef object) = 0;
};

// A surface that draws nothing, for forms that are run but not shown: the
// layers are always made and every picture loads, unless a subclass says
// otherwise.
class NullDrawing : public FormDrawing {
public:
    bool CreateLayers(int, int, Colour) override { return true; }
    void Box(const Rect&, const FillStyle&, const PenStyle&) override {}
    void Polygon(const std::vector<Point>&, const FillStyle&, const PenStyle&) override {}
    void Polyline(const std::vector<Point>&, const PenStyle&) override {}
    void Oval(const Rect&, const FillStyle&, const PenStyle&) override {}
    void Line(Point, Point, const PenStyle&) override {}
    void Text(Point, const TextStyle&, std::string_view) override {}
    bool Image(const ImageRequest&) override { return true; }
    void Grid(double) override {}
    void ObjectCreated(const FormModel&, ObjectRef) override {}
};

} // namespace kalvor::forms
