// Character-cell geometry of the four font sizes, the limit that the screen
// width puts on the font size, and the choice of font size after a change of
// the screen width (ESC & w). Pure functions: the window supplies the
// measurements.
#pragma once

#include <algorithm>

namespace kalvor::render {

struct CellGeometry {
    int Height = 16; // pixels
    int Width = 8;   // pixels
    double Scale = 1.0;

    bool operator==(const CellGeometry&) const = default;
};

inline constexpr int kFontSizeCount = 4;
inline constexpr int kMinFontIndex = 0;
inline constexpr int kMaxFontIndex = kFontSizeCount - 1;

// 0: 6 x 12, 1: 8 x 16, 2: 10 x 20, 3: 13 x 26 (width x height); an index
// outside 0..3 is clamped.
CellGeometry CellForIndex(int index);

// The largest font size index a screen `screenWidthPx` pixels wide allows:
// below 600 -> 0; 600..799 -> 1; 800..1023 -> 2; 1024 or more -> 3.
int MaxFontIndexForScreenWidth(int screenWidthPx);

// What a window can show at one font size index: whole rows and columns.
struct CellFit {
    int Rows = 0;
    int Cols = 0;
};

// The font size index after the screen width changed to `colsInTerm`
// columns, starting from the preferred index. `measure(index)` lays the
// window out for the terminal at that index and reports the cells that fit.
//   maximised: lower the index while fewer than 24 rows fit; then once more
//              when fewer than 78 columns (80-column mode) or 120 columns (132
//              and 200) fit.
//   otherwise: lower it once when fewer than 24 rows fit, else once when
//              fewer than 75 columns (80-column mode) or 120 (132 and 200) fit.
// The index never goes below 0.
template <class Measure>
int WidthChangeFontIndex(int preferredIndex, int colsInTerm, bool maximised, Measure measure)
{
    int index = std::clamp(preferredIndex, kMinFontIndex, kMaxFontIndex);
    CellFit fit = measure(index);
    const bool wide = colsInTerm != 80;
    if (maximised) {
        while (index > 0 && fit.Rows < 24) {
            --index;
            fit = measure(index);
        }
        const int minCols = wide ? 120 : 78;
        if (index > 0 && fit.Cols < minCols)
            --index;
        return index;
    }
    const int minCols = wide ? 120 : 75;
    if (fit.Rows < 24 || fit.Cols < minCols)
        index = std::max(index - 1, 0);
    return index;
}

// The largest font size index at which `cols` x `rows` cells fit into an
// area of `widthPx` x `heightPx` (0 when none does): a maximised window
// takes it, and no window grows past the screen's available area.
int LargestFittingFontIndex(int cols, int rows, int widthPx, int heightPx);

// The font size state of one terminal window: the user's preferred index,
// the current one (possibly lowered to fit the screen) and its cell.
class FontSizing {
public:
    explicit FontSizing(int preferredIndex = 1);

    int PreferredIndex() const { return preferred_; }
    int CurrentIndex() const { return current_; }
    const CellGeometry& Cell() const { return cell_; }

    // The user chose a size: it becomes both the preferred and the current one.
    void SetPreferredIndex(int index);
    // The current index changes (the preferred one stays).
    void SetCurrentIndex(int index);
    // Sets the cell height, width and scale factor from the current index.
    void SetFontValues();
    // Limits the current index by the screen width; returns true when it was
    // lowered (the cell is then updated through SetFontValues).
    bool AdjustFontIndex(int screenWidthPx);

private:
    int preferred_;
    int current_;
    CellGeometry cell_;
};

} // namespace kalvor::render
