// Display memory: a ring of rows much longer than the screen. The screen is a
// window of RowsInTerm rows positioned by TopRow; the cursor is kept both as a
// screen position (CurRow, CurCol) and as a ring row (AbsCurRow).
//
// Ring states: not wrapped, FirstRow <= LastRow and the rows in use are
// FirstRow..LastRow; wrapped (after more than MaxRow + 1 rows were written),
// FirstRow == LastRow + 1 cyclically and every row is in use. All arithmetic on
// ring indices is cyclic modulo MaxRow + 1.
#pragma once

#include "engine/RunString.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor {

struct DisplayRow {
    std::string Text;     // TextBuf: 8-bit codes from column 0, never padded past the rightmost write
    std::string Cntl;     // CntlBuf: enhancement run string
    std::string Shift;    // ShiftBuf: character-set run string (I base, O alternate)
    std::string Form;     // FormBuf: format-mode field run string
    int LineStartCol = 0; // where the host's output stopped when it last waited for input

    bool operator==(const DisplayRow&) const = default;

    bool AllEmpty() const { return Text.empty() && Cntl.empty() && Shift.empty() && Form.empty(); }
};

class DisplayMemory {
public:
    static constexpr int kDefaultMaxRow = 14999;
    static constexpr int kMaxScreenRows = 100;
    static constexpr int kMaxCols = 200;

    explicit DisplayMemory(int maxRow = kDefaultMaxRow);

    // Sizes and positions (zero-based ring indices and screen coordinates).
    const int MaxRow;          // highest ring index; the ring has MaxRow + 1 rows
    int RowsInTerm = 24;       // 1..kMaxScreenRows
    int ColsInTerm = 80;       // 80, 132 or 200
    int FirstRow = 0;          // oldest row still in memory
    int LastRow = 0;           // newest row in use
    int TopRow = 0;            // row on the top screen line; always in the used range
    int CurRow = 0;            // 0..RowsInTerm-1
    int CurCol = 0;            // 0..ColsInTerm-1
    int AbsCurRow = 0;         // ring row of the cursor
    int PendingAbsRow = -1;    // ring row the cursor is to move to; -1 when none
    bool RowBeyondEnd = false; // PendingAbsRow lies beyond LastRow: extend first
    int LeftMargin = 0;
    int RightMargin = 79;
    int LineStartDefault = 0; // element -1 of LineStartCol: what a cleared row gets

    // Leftmost changed column of each screen row; -1 when unchanged.
    std::array<int, kMaxScreenRows> RepaintFromCol;
    // The screen scrolled (or must be drawn whole) since the last repaint.
    bool ScreenScrolled = false;

    DisplayRow& Row(int ring) { return rows_[static_cast<std::size_t>(ring)]; }
    const DisplayRow& Row(int ring) const { return rows_[static_cast<std::size_t>(ring)]; }
    DisplayRow& CursorRow() { return Row(AbsCurRow); }

    // Ring arithmetic.
    int RingSize() const { return MaxRow + 1; }
    int Wrap(int index) const;                                // reduce any integer into 0..MaxRow
    int Age(int ring) const { return Wrap(ring - FirstRow); } // 0 = oldest row
    bool IsWrapped() const { return FirstRow > LastRow; }
    int UsedRows() const { return Age(LastRow) + 1; }
    bool InUse(int ring) const { return Age(ring) <= Age(LastRow); }
    // Ring row shown on screen row `screenRow`, or -1 when it lies past LastRow.
    int ScreenRowToRing(int screenRow) const;

    // Empties display memory (all rows 0..MaxRow when wrapped) and homes everything.
    void InitDisplayBuf();
    void ClearRow(int ring);

    // PendingAbsRow := TopRow + CurRow (cyclic when wrapped); true when that row
    // lies beyond LastRow and memory has to be extended first.
    bool SetNewCurRow();
    // Applies a pending cursor row, extending memory first when needed.
    void ApplyPendingRow();
    // Recomputes and applies the cursor's ring row from TopRow + CurRow.
    void SyncCursorRow();
    // Extends memory up to ring row `target` (reduced when above MaxRow),
    // clearing each new row and dropping the oldest when the ring is full.
    void ExtendTo(int target);
    // Called after the screen shrank from oldRowsInTerm rows.
    void SetRelCurRow(int oldRowsInTerm);
    // Line feed: the cursor moves one row down in memory, appending a row at
    // LastRow and scrolling the screen at the bottom.
    void LineFeed();
    // Sets the screen width (80, 132 or 200) and resets the margins.
    void SetWidth(int cols);

    // Enhancement `enhChar` starts at `col` of the cursor's row.
    void ModCntlBuf(char enhChar, int col);
    // Field mark `formChar` ('[', ']' or '{') at CurCol of the cursor's row.
    void UpdateFormBuf(char formChar);
    // `s` with the column at CurCol removed (delete character); columns right
    // of RightMargin keep their attributes. Enhancement strings keep their
    // run starts (Neighbours::KeepStarts).
    std::string DelEnhChar(std::string_view s, Neighbours mode = Neighbours::Merge) const;
    // `s` with `count` columns from `col` removed (the part of a row that a
    // delete moves left), without the margin rule.
    static std::string DelEnhLine(std::string_view s, int col, int count, Neighbours mode = Neighbours::Merge);

    // The rows and positions (not the repaint bookkeeping) equal those of
    // `other`; and taking them over from `other` (an undo), the screen then
    // drawn whole. Both have the same ring size.
    bool SameContents(const DisplayMemory& other) const;
    void RestoreContents(const DisplayMemory& other);

    // Repaint bookkeeping.
    void MarkChanged(int screenRow, int col);
    void MarkCursorRowChanged(int col) { MarkChanged(CurRow, col); }
    void MarkScrolled() { ScreenScrolled = true; }
    void MarkAllChanged();
    void ClearRepaint();

private:
    std::vector<DisplayRow> rows_; // MaxRow + 2 rows; the extra one is never addressed by the ring
};

} // namespace kalvor
