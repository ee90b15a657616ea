// The marked region of display memory: the selection of the Edit menu, the
// mouse and Find. Rows are ring indices; a start column of -1 means from the
// row's first character, an end column of 1001 to its last. The start always
// comes first in ring order once a selection is made.
#pragma once

#include "engine/DisplayMemory.h"

#include <optional>
#include <utility>

namespace kalvor::edit {

inline constexpr int kFromRowStart = -1;
inline constexpr int kToRowEnd = 1001;
inline constexpr int kUnset = -2;

struct Selection {
    bool Active = false;
    int StartRow = kUnset;
    int StartCol = kUnset;
    int EndRow = kUnset;
    int EndCol = kUnset;
    int Direction = 0; // 1 forward, -1 backward, 0 not set
    bool Rect = false; // the same column range from every marked row
    bool Dragging = false;

    // InitSelect: nothing marked.
    void Clear() { *this = Selection{}; }
    // A region is marked (start and end both set).
    bool Marked() const { return Active && EndRow != kUnset && StartRow != kUnset; }
};

// Where the pointer lies in cells: pixel offsets inside the display, the
// cell size and the first visible column.
struct PointerCell {
    double X = 0;
    double Y = 0;
    double CellWidth = 1;
    double CellHeight = 1;
    int HScroll = 0;
};

// The column of a press or release: x / cell width - 0.6, rounded halves to
// even; below 0 (-1 for a press) from the row start, at or beyond the screen
// width to the row end, otherwise plus the horizontal scroll.
int EdgeColumn(const PointerCell& p, int colsInTerm);
// The screen row: y / cell height - 0.5, rounded halves to even, kept on the screen.
int EdgeScreenRow(const PointerCell& p, int rowsInTerm);
// Where dragging puts the cursor: the screen row as EdgeScreenRow but not
// past the newest row, the column x / cell width rounded (plus the
// horizontal scroll), kept on the screen. {screen row, column}.
std::pair<int, int> DragCursorCell(const PointerCell& p, const DisplayMemory& mem);

// Select All: the whole of display memory, or nothing when it is empty.
void SelectAll(Selection& sel, const DisplayMemory& mem);

// A left press on screen row `screenRow`, column `col` (EdgeColumn); false
// (and nothing marked) when the row lies past the newest row.
bool PressAt(Selection& sel, const DisplayMemory& mem, int screenRow, int col, bool rect);
// The release of that press at screen row and column: the region is marked
// (start first), or cleared when it ends where it began.
void ReleaseAt(Selection& sel, const DisplayMemory& mem, int screenRow, int col);

// Whether column `col` of ring row `ring` is marked.
bool IsMarked(const Selection& sel, const DisplayMemory& mem, int ring, int col);

// The marked region in screen rows and columns (rows may lie off the screen:
// negative above it); -1 and 1001 stand as they are.
struct ScreenRegion {
    int StartRow, StartCol, EndRow, EndCol;
    bool Rect;
};
std::optional<ScreenRegion> ToScreen(const Selection& sel, const DisplayMemory& mem);

// The region from screen rows and columns (the headless terminal's select
// event); false when a row lies past the newest row.
bool FromScreen(Selection& sel, const DisplayMemory& mem, const ScreenRegion& region);

} // namespace kalvor::edit
