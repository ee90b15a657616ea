#include "engine/LocalEditing.h"

#include "engine/FormatModeHandler.h"
#include "engine/RunString.h"

#include <algorithm>
#include <utility>

namespace kalvor {

// The cursor's screen row changed: bring its memory row in step, extending
// memory when it lies below LastRow.
void LocalEditing::CursorMoved()
{
    DisplayMemory& m = st_.Mem;
    m.SyncCursorRow();
    m.MarkCursorRowChanged(m.CurCol);
}

// The field rules while format mode is on, else none.
FormatModeHandler* LocalEditing::Fields() const { return st_.FormatMode ? hooks_.FormatFields() : nullptr; }

void LocalEditing::ExecUpArrow(int shift, bool)
{
    DisplayMemory& m = st_.Mem;
    if (shift & kAlt) {
        if (m.TopRow == m.FirstRow)
            RollDownAtTop();
        else
            scroll_.ScrollTermUp(1);
        m.ApplyPendingRow();
        return;
    }
    if (m.CurRow > 0) {
        --m.CurRow;
        CursorMoved();
        return;
    }
    scroll_.ScrollTermUp(1);
    m.ApplyPendingRow();
}

// Roll down with the oldest row on the top line: a blank row appears at the
// top of memory and everything moves down one line (host software scrolls the
// screen backward this way). The cursor keeps its screen position.
void LocalEditing::RollDownAtTop()
{
    DisplayMemory& m = st_.Mem;
    if (m.UsedRows() == m.RingSize()) {
        // A full ring: the newest row becomes the new, blank, oldest row.
        m.FirstRow = m.LastRow;
        m.LastRow = m.Wrap(m.LastRow - 1);
        m.ClearRow(m.FirstRow);
    } else {
        m.ExtendTo(m.LastRow + 1);
        for (int age = m.Age(m.LastRow); age > 0; --age)
            std::swap(m.Row(m.Wrap(m.FirstRow + age)), m.Row(m.Wrap(m.FirstRow + age - 1)));
        m.ClearRow(m.FirstRow);
    }
    m.TopRow = m.FirstRow;
    m.MarkAllChanged();
    m.RowBeyondEnd = m.SetNewCurRow();
}

void LocalEditing::ExecDownArrow(int shift, bool)
{
    DisplayMemory& m = st_.Mem;
    if (shift & kAlt) {
        scroll_.ScrollTermDown(1);
        m.ApplyPendingRow();
        return;
    }
    if (m.CurRow < m.RowsInTerm - 1) {
        ++m.CurRow;
        CursorMoved();
        return;
    }
    if (st_.MemLock.On) {
        scroll_.LineFeed();
        return;
    }
    // At the bottom line the window rolls on, adding a row below LastRow.
    m.TopRow = m.Wrap(m.TopRow + 1);
    m.MarkAllChanged();
    CursorMoved();
}

void LocalEditing::ExecLeftArrow(int shift, bool calledByComp)
{
    DisplayMemory& m = st_.Mem;
    if (m.CurCol > 0) {
        --m.CurCol;
        m.MarkCursorRowChanged(m.CurCol);
        return;
    }
    const bool top = m.CurRow == 0 && m.TopRow == m.FirstRow;
    if (top)
        return;
    ExecUpArrow(shift & ~kAlt, calledByComp);
    m.CurCol = m.ColsInTerm - 1;
}

void LocalEditing::ExecRightArrow(int shift, bool calledByComp)
{
    DisplayMemory& m = st_.Mem;
    if (m.CurCol < m.ColsInTerm - 1) {
        ++m.CurCol;
        m.MarkCursorRowChanged(m.CurCol - 1);
        return;
    }
    m.CurCol = 0;
    ExecDownArrow(shift & ~kAlt, calledByComp);
}

void LocalEditing::ExecHomeKey(int)
{
    DisplayMemory& m = st_.Mem;
    m.TopRow = m.FirstRow;
    m.CurRow = 0;
    m.CurCol = 0;
    m.MarkAllChanged();
    CursorMoved();
    if (FormatModeHandler* fields = Fields())
        fields->CursorFirstField();
}

void LocalEditing::ExecEndKey(int)
{
    DisplayMemory& m = st_.Mem;
    const int lastAge = m.Age(m.LastRow);
    const int topAge = std::max(lastAge - m.RowsInTerm + 1, 0);
    m.TopRow = m.Wrap(m.FirstRow + topAge);
    m.CurRow = lastAge - topAge;
    m.CurCol = 0;
    m.MarkAllChanged();
    CursorMoved();
}

void LocalEditing::ExecPageUp(int)
{
    scroll_.ScrollTermUp(st_.Mem.RowsInTerm);
    st_.Mem.ApplyPendingRow();
    if (FormatModeHandler* fields = Fields())
        fields->CursorFirstField();
}

void LocalEditing::ExecPageDown(int)
{
    scroll_.ScrollTermDown(st_.Mem.RowsInTerm);
    st_.Mem.ApplyPendingRow();
    if (FormatModeHandler* fields = Fields())
        fields->CursorFirstField();
}

void LocalEditing::ExecTabKey(int shift)
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    if (FormatModeHandler* fields = Fields()) {
        fields->TabToField((shift & kShift) != 0);
        return;
    }
    if (shift & kShift) {
        int col = m.LeftMargin;
        for (int c = std::min(m.CurCol, DisplayMemory::kMaxCols) - 1; c > m.LeftMargin; --c) {
            if (st_.TabStops[static_cast<std::size_t>(c)]) {
                col = c;
                break;
            }
        }
        m.CurCol = std::clamp(col, 0, m.ColsInTerm - 1);
        return;
    }
    writer_.HorizontalTab();
}

void LocalEditing::SetInsertMode(bool on)
{
    if (st_.InsertMode == on)
        return;
    st_.InsertMode = on;
    hooks_.StateChanged();
}

void LocalEditing::SetInsertStatus() { SetInsertMode(!st_.InsertMode); }

void LocalEditing::ExecInsertKey(int shift)
{
    if (shift & kCtrl)
        InsertLine();
    else
        SetInsertStatus();
}

void LocalEditing::ExecDeleteKey(int shift)
{
    if (shift != 0)
        DeleteLine();
    else if (FormatModeHandler* fields = Fields())
        fields->DeleteInField();
    else
        DeleteCharacter();
}

// The rows from the cursor down move one row down in memory (the last one
// onto a new row at the end) and the cursor's row becomes blank.
void LocalEditing::InsertLine()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int cursorAge = m.Age(m.AbsCurRow);
    m.ExtendTo(m.LastRow + 1);
    // Extension may have dropped the oldest row, moving every age down by one.
    const int lastAge = m.Age(m.LastRow);
    const int startAge = std::min(cursorAge, lastAge);
    for (int age = lastAge; age > startAge; --age)
        std::swap(m.Row(m.Wrap(m.FirstRow + age)), m.Row(m.Wrap(m.FirstRow + age - 1)));
    m.AbsCurRow = m.Wrap(m.FirstRow + startAge);
    m.ClearRow(m.AbsCurRow);
    m.CurCol = m.LeftMargin;
    for (int r = m.CurRow; r < m.RowsInTerm; ++r)
        m.MarkChanged(r, 0);
}

// The rows below the cursor move one row up; the last row in use becomes blank.
void LocalEditing::DeleteLine()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int lastAge = m.Age(m.LastRow);
    for (int age = m.Age(m.AbsCurRow); age < lastAge; ++age)
        std::swap(m.Row(m.Wrap(m.FirstRow + age)), m.Row(m.Wrap(m.FirstRow + age + 1)));
    m.ClearRow(m.LastRow);
    m.CurCol = m.LeftMargin;
    for (int r = m.CurRow; r < m.RowsInTerm; ++r)
        m.MarkChanged(r, 0);
}

// The characters right of the cursor move one column left, up to the right
// margin; columns right of the margin keep their contents and attributes.
void LocalEditing::DeleteCharacter()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    DisplayRow& row = m.CursorRow();
    const auto col = static_cast<std::size_t>(m.CurCol);
    if (col < row.Text.size()) {
        const auto margin = static_cast<std::size_t>(m.RightMargin);
        if (col <= margin && row.Text.size() > margin + 1) {
            row.Text.erase(col, 1);
            row.Text.insert(margin, 1, ' ');
        } else {
            row.Text.erase(col, 1);
        }
    }
    row.Cntl = m.DelEnhChar(row.Cntl, Neighbours::KeepStarts);
    row.Shift = m.DelEnhChar(row.Shift);
    m.MarkCursorRowChanged(m.CurCol);
}

void LocalEditing::ClearLine_Click()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    if (FormatModeHandler* fields = Fields()) {
        fields->ClearField();
        return;
    }
    DisplayRow& row = m.CursorRow();
    if (row.Text.size() > static_cast<std::size_t>(m.CurCol))
        row.Text.resize(static_cast<std::size_t>(m.CurCol));
    runstring::ClearFrom(row.Cntl, m.CurCol, Neighbours::KeepStarts);
    runstring::ClearFrom(row.Shift, m.CurCol);
    m.MarkCursorRowChanged(m.CurCol);
}

void LocalEditing::ExecEscJ()
{
    DisplayMemory& m = st_.Mem;
    if (FormatModeHandler* fields = Fields()) {
        fields->ClearDisplay();
        return;
    }
    if (m.CurCol == 0 && m.CurRow == 0 && m.TopRow == m.FirstRow) {
        m.InitDisplayBuf();
        hooks_.ClearSelection();
        return;
    }
    ClearLine_Click();
    const int lastAge = m.Age(m.LastRow);
    for (int age = m.Age(m.AbsCurRow) + 1; age <= lastAge; ++age)
        m.ClearRow(m.Wrap(m.FirstRow + age));
    for (int r = m.CurRow; r < m.RowsInTerm; ++r)
        m.MarkChanged(r, 0);
}

} // namespace kalvor
