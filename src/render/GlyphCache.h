// Pre-rendered character cells. For one cell size and one pair of colours
// (fill and ink) and one character set, a GlyphAtlas holds the picture of
// every code 0..255 as a cell of device pixels, rendered on first use; the
// renderer then copies whole cells and never lays out text while it paints.
#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>

#include <bitset>
#include <cstdint>

namespace kalvor::render {

// The fonts and text placement for one cell size in device pixels.
class GlyphFonts {
public:
    GlyphFonts(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const QFont& Text() const { return text_; }
    const QFont& Small() const { return small_; }
    // Where a character's baseline starts inside the cell.
    int TextX() const { return textX_; }
    int Baseline() const { return baseline_; }
    int SmallBaseline() const { return smallBaseline_; }
    int SmallDescent() const { return smallDescent_; }
    // True when the cell size is one the Terminus face draws natively.
    bool NativeBitmapFace() const { return native_; }

private:
    int width_;
    int height_;
    QFont text_;
    QFont small_;
    int textX_ = 0;
    int baseline_ = 0;
    int smallBaseline_ = 0;
    int smallDescent_ = 0;
    bool native_ = false;
};

// The Unicode character a display code (ISO Latin-1 with the Windows
// additions in 128..159) stands for; 0 for codes that show nothing.
char16_t DisplayCodeToUnicode(unsigned char code);

// The two-letter name drawn for a control character 0..31 (display
// functions), e.g. "EC" for ESC; nullptr for other codes.
const char* ControlMnemonic(unsigned char code);

// Draws one cell: fill, then the character (or, in the alternate set, its
// line-drawing piece) in `ink`.
void DrawGlyph(class QPainter& painter, const QRect& cell, unsigned char code, bool alternate, QColor ink, QColor fill,
               const GlyphFonts& fonts);

class GlyphAtlas {
public:
    GlyphAtlas(const GlyphFonts& fonts, QRgb fill, QRgb ink, bool alternate);

    // The cell picture of `code`: Height() rows of Width() pixels, contiguous.
    const std::uint32_t* Glyph(unsigned char code)
    {
        if (!ready_[code])
            Render(code);
        return reinterpret_cast<const std::uint32_t*>(image_.constScanLine(code * fonts_.Height()));
    }
    QRgb Fill() const { return fill_; }
    QRgb Ink() const { return ink_; }

private:
    void Render(unsigned char code);

    const GlyphFonts& fonts_;
    QRgb fill_;
    QRgb ink_;
    bool alternate_;
    QImage image_;
    std::bitset<256> ready_;
};

} // namespace kalvor::render
