// The terminal renderer: turns display memory into an off-screen image of
// character cells (RefreshTerminal). Only rows marked in RepaintFromCol are
// drawn, each from its first changed column; everything is drawn when the
// screen scrolled (ScreenScrolled), TopRow moved, the size, the
// cell or the colours changed. The window copies the image when it paints.
//
// Cells are copied from pre-rendered glyph atlases (one per colour pair and
// character set), so a repaint never lays out text.
//
//   enhancement  inverse: foreground fill, character in the background colour
//                half-bright: character in the half-bright colour
//                underline: a line of the foreground colour across the cell,
//                  2 pixels above its bottom edge
//                blink: the character is left out while the blink phase is off
//   marked       the selection: the inverse bit of each marked cell flipped
//   cursor       form 1: block (the cell's fill and ink exchanged);
//                any other form: a bar over the bottom 2 pixels of the cell;
//                shown while the blink phase is on, never when hidden
#pragma once

#include "engine/TerminalState.h"
#include "render/CellGeometry.h"
#include "render/GlyphCache.h"

#include <QImage>
#include <QRect>

#include <array>
#include <memory>

namespace kalvor::render {

// Enhancement bits of a CntlBuf code: 1 blink, 2 inverse, 4 underline,
// 8 half-bright. Lower-case (secured) codes count like upper-case ones; "S",
// "@" and space have none.
int EnhancementBits(char code);
// True when the run string holds a blinking code.
bool HasBlinkCode(std::string_view cntl);

// A marked region (the selection) drawn with the inverse bit flipped: ring
// rows of display memory, columns of the first and last row (-1 and 1001
// the row's ends); rectangular: the same columns from every row.
struct MarkedRegion {
    bool Shown = false;
    int StartRow = 0;
    int StartCol = 0;
    int EndRow = 0;
    int EndCol = 0;
    bool Rect = false;
    bool operator==(const MarkedRegion&) const = default;
};

class Renderer {
public:
    struct Stats {
        bool Full = false;  // everything was drawn
        int RowsDrawn = 0;  // rows (or parts of rows) drawn
        int CellsDrawn = 0; // cells drawn, the cursor's included
    };

    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // The cell geometry (logical pixels) and the device pixel ratio.
    void SetCell(const CellGeometry& cell, double devicePixelRatio = 1.0);
    const CellGeometry& Cell() const { return cell_; }
    double DevicePixelRatio() const { return dpr_; }
    int DeviceCellWidth() const { return dw_; }
    int DeviceCellHeight() const { return dh_; }

    // Draws what changed since the last call; the caller then clears
    // RepaintFromCol and ScreenScrolled (Session::RepaintDone). Returns the
    // changed area in logical pixels (empty when nothing changed).
    QRect RefreshTerminal(const TerminalState& st);
    // Toggles the blink phase and redraws the rows holding blinking
    // characters and the cursor. Returns the changed area.
    QRect ToggleBlink(const TerminalState& st);
    bool BlinkPhase() const { return blinkOn_; }
    // Sets the phase; the next refresh redraws everything.
    void SetBlinkPhase(bool on);
    // The next refresh redraws everything.
    void Invalidate() { invalid_ = true; }
    // The marked region; a change redraws everything on the next refresh.
    void SetMarked(const MarkedRegion& region)
    {
        if (region == marked_)
            return;
        marked_ = region;
        invalid_ = true;
    }
    const MarkedRegion& Marked() const { return marked_; }

    // The off-screen image (device pixels, with its device pixel ratio set).
    const QImage& Image() const { return image_; }
    // The image size in logical pixels.
    QSize LogicalSize() const;
    // A cell in logical and in device pixels.
    QRect CellRect(int row, int col) const;
    QRect DeviceCellRect(int row, int col) const;

    const Stats& LastRefresh() const { return stats_; }

private:
    struct CursorMark {
        bool Shown = false;
        int Row = 0;
        int Col = 0;
        bool Block = true;
        bool operator==(const CursorMark&) const = default;
    };

    bool PrepareImage(const TerminalState& st);
    CursorMark CursorFor(const TerminalState& st) const;
    // Draws columns [from, to) of a screen row; the cursor is drawn when it
    // lies in the range.
    void DrawCells(const TerminalState& st, int screenRow, int from, int to);
    GlyphAtlas& Atlas(int key);
    void AddDirty(int row, int from, int to);
    QRect TakeDirty();

    CellGeometry cell_;
    double dpr_ = 1.0;
    int dw_ = 8;
    int dh_ = 16;
    std::unique_ptr<GlyphFonts> fonts_;
    std::array<std::unique_ptr<GlyphAtlas>, 16> atlases_;
    QImage image_;
    int rows_ = 0;
    int cols_ = 0;
    QRgb fg_ = 0, bg_ = 0, half_ = 0;
    int lastTop_ = -1;
    bool invalid_ = true;
    bool blinkOn_ = true;
    MarkedRegion marked_;
    CursorMark drawn_;  // where the cursor is on the image
    CursorMark cursor_; // where it belongs during a pass
    QRect dirty_;       // device pixels
    Stats stats_;
};

} // namespace kalvor::render
