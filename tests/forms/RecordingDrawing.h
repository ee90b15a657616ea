// A drawing interface that writes each call as one line of text, so that
// tests compare what a form draws with a short expected listing.
#pragma once

#include "forms/FormDrawing.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kalvor::test {

class RecordingDrawing final : public forms::FormDrawing {
public:
    std::vector<std::string> Calls;
    bool RefuseLayers = false;

    static std::string Hex(forms::Colour c)
    {
        char s[8];
        std::snprintf(s, sizeof s, "%02x%02x%02x", forms::Red(c), forms::Green(c), forms::Blue(c));
        return s;
    }

    bool CreateLayers(int width, int height, forms::Colour background) override
    {
        Calls.push_back("layers " + std::to_string(width) + " " + std::to_string(height) + " " + Hex(background));
        return !RefuseLayers;
    }
    void Box(const forms::Rect& r, const forms::FillStyle& fill, const forms::PenStyle& pen) override
    {
        Calls.push_back("box " + RectText(r) + Fill(fill) + Pen(pen));
    }
    void Polygon(const std::vector<forms::Point>& points, const forms::FillStyle& fill,
                 const forms::PenStyle& pen) override
    {
        Calls.push_back("polygon" + Points(points) + Fill(fill) + Pen(pen));
    }
    void Polyline(const std::vector<forms::Point>& points, const forms::PenStyle& pen) override
    {
        Calls.push_back("polyline" + Points(points) + Pen(pen));
    }
    void Oval(const forms::Rect& r, const forms::FillStyle& fill, const forms::PenStyle& pen) override
    {
        Calls.push_back("oval " + RectText(r) + Fill(fill) + Pen(pen));
    }
    void Line(forms::Point a, forms::Point b, const forms::PenStyle& pen) override
    {
        Calls.push_back("line " + RectText({a.X, a.Y, b.X, b.Y}) + Pen(pen));
    }
    void Text(forms::Point at, const forms::TextStyle& t, std::string_view text) override
    {
        const char j = t.Justify == forms::TextAlign::Left ? 'L' : t.Justify == forms::TextAlign::Right ? 'R' : 'C';
        std::string s = "text " + std::to_string(at.X) + " " + std::to_string(at.Y) + " " + j + " face=" + t.Font.Face +
                        " h=" + std::to_string(t.Font.Height) + " w=" + std::to_string(t.Font.Weight);
        s += std::string(t.Font.Italic ? " i" : "") + (t.Font.Underline ? " u" : "") + (t.Font.StrikeOut ? " s" : "");
        s += " esc=" + std::to_string(t.Font.Escapement) + " color " + Hex(t.Color);
        if (t.Shadow)
            s += " shadow " + std::to_string(t.ShadowDx) + " " + std::to_string(t.ShadowDy) + " " + Hex(t.ShadowColor);
        Calls.push_back(s + " |" + std::string(text) + "|");
    }
    bool Image(const forms::ImageRequest& style) override
    {
        std::string s = "image " + style.File.string() + " at " + std::to_string(style.At.X) + " " +
                        std::to_string(style.At.Y) + " size " + std::to_string(style.Width) + " " +
                        std::to_string(style.Height);
        if (style.Mask)
            s += " mask " + std::to_string(style.MaskAt.X) + " " + std::to_string(style.MaskAt.Y);
        Calls.push_back(s);
        return true;
    }
    void Grid(double scale) override { Calls.push_back("grid " + std::to_string(scale).substr(0, 4)); }
    void ObjectCreated(const forms::FormModel& model, forms::ObjectRef o) override
    {
        static const char* const kinds[] = {"", "button", "check", "entry", "pick", "radio", "map", "display"};
        int x = 0, y = 0;
        model.Corner(o, x, y);
        Calls.push_back(std::string("object ") + kinds[static_cast<int>(o.Type)] + " " + std::to_string(o.Index) + " " +
                        std::string(model.NameOf(o)) + " at " + std::to_string(x) + " " + std::to_string(y));
    }

private:
    static std::string RectText(const forms::Rect& r)
    {
        return std::to_string(r.X1) + " " + std::to_string(r.Y1) + " " + std::to_string(r.X2) + " " +
               std::to_string(r.Y2);
    }
    static std::string Points(const std::vector<forms::Point>& points)
    {
        std::string s;
        for (const forms::Point& p : points)
            s += " " + std::to_string(p.X) + "," + std::to_string(p.Y);
        return s;
    }
    static std::string Fill(const forms::FillStyle& f)
    {
        return " fill " + Hex(f.Fill) + (f.Blend ? " blend " + Hex(f.BlendColor) : "");
    }
    static std::string Pen(const forms::PenStyle& p)
    {
        return p.Visible ? " pen " + std::to_string(p.Width) + " " + Hex(p.Color) : " nopen";
    }
};

} // namespace kalvor::test
