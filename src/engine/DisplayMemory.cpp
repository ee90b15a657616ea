#include "engine/DisplayMemory.h"

#include "engine/RunString.h"

#include <algorithm>
#include <tuple>

namespace kalvor {

DisplayMemory::DisplayMemory(int maxRow) : MaxRow(std::max(maxRow, 1)), rows_(static_cast<std::size_t>(MaxRow) + 2)
{
    ClearRepaint();
}

int DisplayMemory::Wrap(int index) const
{
    const int n = RingSize();
    index %= n;
    return index < 0 ? index + n : index;
}

int DisplayMemory::ScreenRowToRing(int screenRow) const
{
    const int age = Age(TopRow) + screenRow;
    if (age > Age(LastRow))
        return -1;
    return Wrap(FirstRow + age);
}

void DisplayMemory::ClearRow(int ring)
{
    DisplayRow& r = Row(ring);
    r.Text.clear();
    r.Cntl.clear();
    r.Shift.clear();
    r.Form.clear();
    r.LineStartCol = LineStartDefault;
}

void DisplayMemory::InitDisplayBuf()
{
    if (IsWrapped()) {
        for (int i = 0; i <= MaxRow; ++i)
            ClearRow(i);
    } else {
        for (int i = FirstRow; i <= LastRow; ++i)
            ClearRow(i);
    }
    AbsCurRow = CurRow = CurCol = TopRow = FirstRow = LastRow = 0;
    PendingAbsRow = -1;
    RowBeyondEnd = false;
    MarkAllChanged();
}

bool DisplayMemory::SetNewCurRow()
{
    int sum = TopRow + CurRow;
    if (IsWrapped() && sum > MaxRow)
        sum -= MaxRow + 1;
    PendingAbsRow = sum;
    // Beyond LastRow in ring order: further from the oldest row than LastRow is.
    return Age(TopRow) + CurRow > Age(LastRow);
}

void DisplayMemory::ApplyPendingRow()
{
    if (RowBeyondEnd && PendingAbsRow >= 0)
        ExtendTo(PendingAbsRow);
    if (PendingAbsRow >= 0) {
        AbsCurRow = Wrap(PendingAbsRow);
        PendingAbsRow = -1;
        RowBeyondEnd = false;
    }
}

void DisplayMemory::SyncCursorRow()
{
    RowBeyondEnd = SetNewCurRow();
    ApplyPendingRow();
}

void DisplayMemory::ExtendTo(int target)
{
    target = Wrap(target);
    int row = LastRow;
    // Never walk more than a whole ring: a target equal to LastRow is reached at once.
    for (int steps = 0; row != target && steps <= MaxRow; ++steps) {
        row = Wrap(row + 1);
        if (row == FirstRow)
            FirstRow = Wrap(FirstRow + 1);
        ClearRow(row);
    }
    LastRow = target;
    AbsCurRow = target;
}

void DisplayMemory::SetRelCurRow(int oldRowsInTerm)
{
    if (oldRowsInTerm <= RowsInTerm || CurRow < RowsInTerm)
        return;
    const int shift = oldRowsInTerm - RowsInTerm;
    CurRow -= shift;
    TopRow = Wrap(TopRow + shift);
    MarkAllChanged();
}

void DisplayMemory::LineFeed()
{
    if (AbsCurRow != LastRow) {
        AbsCurRow = Wrap(AbsCurRow + 1);
        ++CurRow;
        if (CurRow > RowsInTerm - 1) {
            CurRow = RowsInTerm - 1;
            // Limited so that TopRow + CurRow does not pass LastRow.
            if (Age(TopRow) + 1 + CurRow <= Age(LastRow))
                TopRow = Wrap(TopRow + 1);
            MarkScrolled();
        }
        return;
    }
    ExtendTo(LastRow + 1);
    if (CurRow < RowsInTerm - 1) {
        ++CurRow;
    } else {
        TopRow = Wrap(TopRow + 1);
        MarkScrolled();
    }
}

void DisplayMemory::SetWidth(int cols)
{
    ColsInTerm = cols == 80 ? 80 : cols == 132 ? 132 : 200;
    LeftMargin = 0;
    RightMargin = ColsInTerm - 1;
    CurCol = std::min(CurCol, ColsInTerm - 1);
    MarkAllChanged();
}

// Every ESC & d starts a run that reaches to the next one: runs of equal
// enhancements stay apart (Neighbours::KeepStarts), so a later ESC & d at a
// run's start changes that run only.
void DisplayMemory::ModCntlBuf(char enhChar, int col)
{
    constexpr Neighbours keep = Neighbours::KeepStarts;
    DisplayRow& row = CursorRow();
    col = std::clamp(col, 0, ExpandedRuns::kMaxHeader);
    // Extent of the row's character-set runs.
    const int extent = runstring::IsBlankForWriter(row.Shift, 'I') ? 0 : runstring::Header(row.Shift);
    std::string& s = row.Cntl;
    if (runstring::IsBlankForWriter(s, '@')) {
        s.clear();
        if (extent <= col) {
            s.push_back(static_cast<char>(col));
            if (col > 0) {
                s.push_back(' ');
                s.push_back(static_cast<char>(col));
            }
            s.push_back(enhChar);
            s.push_back('\0');
        } else {
            // The character-set runs reach beyond the cursor: the enhancement
            // ends where the row's known runs end.
            ExpandedRuns r;
            r.Mode = keep;
            r.Header = extent;
            std::fill(r.Col.begin(), r.Col.begin() + col, ' ');
            std::fill(r.Col.begin() + col, r.Col.begin() + extent, enhChar);
            r.Start.set(static_cast<std::size_t>(col));
            r.Tail = '@';
            r.EncodeTo(s);
        }
        return;
    }
    const int header = runstring::Header(s);
    if (col == header && extent > col) {
        ExpandedRuns r = ExpandedRuns::Expand(s, keep);
        r.ExtendTo(extent);
        for (int c = col; c < extent; ++c)
            r.Col[c] = enhChar;
        r.Tail = '@';
        r.EncodeTo(s);
        return;
    }
    runstring::MarkFrom(s, enhChar, col, '@', ' ', keep);
}

void DisplayMemory::UpdateFormBuf(char formChar)
{
    // A three-character form string is one field over the whole row: it is
    // split like any other run, never discarded.
    runstring::MarkFrom(CursorRow().Form, formChar, CurCol);
}

std::string DisplayMemory::DelEnhChar(std::string_view s, Neighbours mode) const
{
    const int header = runstring::Header(s);
    if (s.empty() || CurCol >= header)
        return std::string(s);
    if (header <= RightMargin || CurCol > RightMargin)
        return runstring::RemoveColumns(s, CurCol, 1, mode);
    // The runs reach past the right margin: only columns up to the margin move,
    // so the run crossing the margin regains the column it lost.
    ExpandedRuns r = ExpandedRuns::Expand(s, mode);
    r.RemoveBefore(RightMargin + 1, CurCol, 1);
    std::string out;
    r.EncodeTo(out);
    return out;
}

std::string DisplayMemory::DelEnhLine(std::string_view s, int col, int count, Neighbours mode)
{
    return runstring::RemoveColumns(s, col, count, mode);
}

void DisplayMemory::MarkChanged(int screenRow, int col)
{
    if (screenRow < 0 || screenRow >= kMaxScreenRows)
        return;
    int& entry = RepaintFromCol[static_cast<std::size_t>(screenRow)];
    col = std::max(col, 0);
    if (entry == -1 || entry > col)
        entry = col;
}

void DisplayMemory::MarkAllChanged()
{
    for (int r = 0; r < RowsInTerm; ++r)
        MarkChanged(r, 0);
    MarkScrolled();
}

void DisplayMemory::ClearRepaint()
{
    RepaintFromCol.fill(-1);
    ScreenScrolled = false;
}

namespace {

// The positions of `m` as a tuple of references (const or not).
template <class Memory>
auto Positions(Memory& m)
{
    return std::tie(m.RowsInTerm, m.ColsInTerm, m.FirstRow, m.LastRow, m.TopRow, m.CurRow, m.CurCol, m.AbsCurRow,
                    m.PendingAbsRow, m.RowBeyondEnd, m.LeftMargin, m.RightMargin, m.LineStartDefault);
}

} // namespace

bool DisplayMemory::SameContents(const DisplayMemory& other) const
{
    return Positions(*this) == Positions(other) && rows_ == other.rows_;
}

void DisplayMemory::RestoreContents(const DisplayMemory& other)
{
    Positions(*this) = Positions(other);
    rows_ = other.rows_;
    MarkAllChanged();
}

} // namespace kalvor
