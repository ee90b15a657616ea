#include "edit/Selection.h"

#include <algorithm>
#include <cmath>

namespace kalvor::edit {
namespace {

// Rounds halves to even, as the pointer arithmetic wants.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

int FirstCol(int col) { return col == kFromRowStart ? 0 : col; }

} // namespace

int EdgeColumn(const PointerCell& p, int colsInTerm)
{
    const int col = RoundEven(p.X / p.CellWidth - 0.6);
    if (col < 0)
        return kFromRowStart;
    if (col >= colsInTerm)
        return kToRowEnd;
    return col + p.HScroll;
}

int EdgeScreenRow(const PointerCell& p, int rowsInTerm)
{
    return std::clamp(RoundEven(p.Y / p.CellHeight - 0.5), 0, rowsInTerm - 1);
}

std::pair<int, int> DragCursorCell(const PointerCell& p, const DisplayMemory& mem)
{
    const int newest = mem.Age(mem.LastRow) - mem.Age(mem.TopRow);
    const int row = std::clamp(EdgeScreenRow(p, mem.RowsInTerm), 0, std::max(newest, 0));
    const int col = std::clamp(RoundEven(p.X / p.CellWidth) + p.HScroll, 0, mem.ColsInTerm - 1);
    return {row, col};
}

void SelectAll(Selection& sel, const DisplayMemory& mem)
{
    sel.Clear();
    if (mem.FirstRow == mem.LastRow && mem.Row(mem.FirstRow).Text.empty())
        return;
    sel.Active = true;
    sel.Direction = 1;
    sel.StartRow = mem.FirstRow;
    sel.StartCol = kFromRowStart;
    sel.EndRow = mem.LastRow;
    sel.EndCol = kToRowEnd;
}

bool PressAt(Selection& sel, const DisplayMemory& mem, int screenRow, int col, bool rect)
{
    sel.Clear();
    const int ring = mem.ScreenRowToRing(screenRow);
    if (ring < 0)
        return false;
    sel.Active = true;
    sel.Dragging = true;
    sel.StartRow = ring;
    sel.StartCol = col;
    sel.Rect = rect;
    return true;
}

void ReleaseAt(Selection& sel, const DisplayMemory& mem, int screenRow, int col)
{
    if (!sel.Active || sel.StartRow == kUnset)
        return;
    sel.Dragging = false;
    int ring = mem.ScreenRowToRing(screenRow);
    if (ring < 0)
        ring = mem.LastRow;
    const int startAge = mem.Age(sel.StartRow);
    const int endAge = mem.Age(ring);
    if (endAge == startAge && col == sel.StartCol) {
        sel.Clear();
        return;
    }
    sel.EndRow = ring;
    sel.EndCol = col;
    sel.Direction = 1;
    if (endAge < startAge || (endAge == startAge && col < sel.StartCol)) {
        // A backward drag: the press marks the last character.
        std::swap(sel.StartRow, sel.EndRow);
        std::swap(sel.StartCol, sel.EndCol);
        sel.Direction = -1;
    }
    if (sel.Rect && sel.StartCol > sel.EndCol)
        std::swap(sel.StartCol, sel.EndCol);
}

bool IsMarked(const Selection& sel, const DisplayMemory& mem, int ring, int col)
{
    if (!sel.Marked())
        return false;
    const int age = mem.Age(ring);
    const int startAge = mem.Age(sel.StartRow);
    const int endAge = mem.Age(sel.EndRow);
    if (age < startAge || age > endAge)
        return false;
    if (sel.Rect)
        return col >= FirstCol(sel.StartCol) && col <= sel.EndCol;
    if (age == startAge && col < FirstCol(sel.StartCol))
        return false;
    return age != endAge || col <= sel.EndCol;
}

std::optional<ScreenRegion> ToScreen(const Selection& sel, const DisplayMemory& mem)
{
    if (!sel.Marked())
        return std::nullopt;
    const int top = mem.Age(mem.TopRow);
    return ScreenRegion{mem.Age(sel.StartRow) - top, sel.StartCol, mem.Age(sel.EndRow) - top, sel.EndCol, sel.Rect};
}

bool FromScreen(Selection& sel, const DisplayMemory& mem, const ScreenRegion& region)
{
    sel.Clear();
    if (region.StartRow < 0 || region.EndRow < 0)
        return false;
    const int start = mem.ScreenRowToRing(std::min(region.StartRow, mem.RowsInTerm - 1));
    const int end = mem.ScreenRowToRing(std::min(region.EndRow, mem.RowsInTerm - 1));
    if (start < 0 || end < 0)
        return false;
    sel.Active = true;
    sel.StartRow = start;
    sel.StartCol = region.StartCol;
    sel.Rect = region.Rect;
    // The release arithmetic orders the ends and drops an empty region.
    const int top = mem.Age(mem.TopRow);
    ReleaseAt(sel, mem, mem.Age(end) - top, region.EndCol);
    return sel.Marked();
}

} // namespace kalvor::edit
