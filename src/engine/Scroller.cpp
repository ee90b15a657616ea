#include "engine/Scroller.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

namespace kalvor {

void Scroller::ScrollTermUp(int n)
{
    DisplayMemory& m = st_.Mem;
    if (n < 1)
        return;
    m.RowBeyondEnd = false;
    if (m.TopRow == m.FirstRow) {
        m.CurRow = std::max(m.CurRow - n, 0);
    } else {
        // Counted in ages (distance from the oldest row) this covers both the
        // plain ring and the wrapped one, where the window crosses index 0.
        const int age = std::max(m.Age(m.TopRow) - n, 0);
        m.TopRow = m.Wrap(m.FirstRow + age);
        m.MarkAllChanged();
    }
    m.RowBeyondEnd = m.SetNewCurRow();
}

void Scroller::ScrollTermDown(int n, bool formsShown)
{
    DisplayMemory& m = st_.Mem;
    if (n < 1)
        return;
    if (formsShown) {
        const int bottomAge = std::max(m.Age(m.LastRow) - m.RowsInTerm + 1, 0);
        if (m.Age(m.TopRow) != bottomAge)
            m.TopRow = m.Wrap(m.FirstRow + std::min(m.Age(m.TopRow) + n, bottomAge));
        else
            m.CurRow = std::min(m.CurRow + n, m.RowsInTerm - 1);
    } else {
        if (m.TopRow == m.LastRow)
            return;
        m.RowBeyondEnd = false;
        m.TopRow = m.Wrap(m.FirstRow + std::min(m.Age(m.TopRow) + n, m.Age(m.LastRow)));
    }
    m.RowBeyondEnd = m.SetNewCurRow();
    m.MarkAllChanged();
}

void Scroller::LineFeed()
{
    DisplayMemory& m = st_.Mem;
    const MemoryLockState& lock = st_.MemLock;
    if (m.CurRow >= m.RowsInTerm - 1) {
        // The row leaving the top is the first one below the locked rows.
        const int leaving = lock.On ? std::min(lock.LastLockedRow + 1, m.RowsInTerm - 1) : 0;
        hooks_.BottomLineFeed(m.Row(m.AbsCurRow).Text, m.Row(m.Wrap(m.TopRow + leaving)).Text);
    }
    if (!lock.On || m.CurRow < m.RowsInTerm - 1 || lock.LastLockedRow + 1 > m.RowsInTerm - 1) {
        m.LineFeed();
        return;
    }
    // Bottom row with memory lock: the next row appears below, and the rows
    // under the locked ones scroll up by one.
    if (m.AbsCurRow == m.LastRow)
        m.ExtendTo(m.LastRow + 1);
    else
        m.AbsCurRow = m.Wrap(m.AbsCurRow + 1);
    RotateLockedRows();
}

// The first unlocked row moves above the locked rows in memory and the window
// advances by one, so the locked rows keep their screen lines.
void Scroller::RotateLockedRows()
{
    DisplayMemory& m = st_.Mem;
    const int locked = st_.MemLock.LastLockedRow + 1;
    for (int r = locked; r >= 1; --r)
        std::swap(m.Row(m.Wrap(m.TopRow + r)), m.Row(m.Wrap(m.TopRow + r - 1)));
    m.TopRow = m.Wrap(m.TopRow + 1);
    m.MarkAllChanged();
}

void Scroller::ScrollMemLock(int count)
{
    DisplayMemory& m = st_.Mem;
    if (count < 1 || !st_.MemLock.On)
        return;
    const int locked = st_.MemLock.LastLockedRow + 1;
    for (; count > 0; --count) {
        // The row following the locked rows must not pass LastRow.
        if (m.Age(m.TopRow) + locked + 1 > m.Age(m.LastRow))
            break;
        RotateLockedRows();
    }
    m.RowBeyondEnd = m.SetNewCurRow();
}

void Scroller::MemLock(std::string_view mode)
{
    std::string word;
    for (char c : mode)
        if (c != ' ' && c != '\t')
            word.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    DisplayMemory& m = st_.Mem;
    MemoryLockState& lock = st_.MemLock;
    if (word == "ON")
        lock.On = true;
    else if (word == "OFF")
        lock.On = false;
    else
        return;
    if (lock.On && m.CurRow == 0)
        lock.On = false; // nothing above the cursor to lock
    if (lock.On) {
        if (m.CurRow > MemoryLockState::kMaxLockedRows - 1) {
            m.CurRow = MemoryLockState::kMaxLockedRows - 1;
            m.RowBeyondEnd = m.SetNewCurRow();
        }
        lock.LastLockedRow = std::min(m.CurRow - 1, MemoryLockState::kMaxLockedRows - 1);
        m.ApplyPendingRow();
        m.PendingAbsRow = -1;
        m.RowBeyondEnd = false;
    } else {
        lock.LastLockedRow = -1;
    }
    hooks_.StateChanged();
}

bool Scroller::ScrollBarMoved(int value, bool formsShown)
{
    DisplayMemory& m = st_.Mem;
    if (st_.KeyboardLocked)
        return false;
    value = std::clamp(value, 0, VScrollMaximum());
    if (formsShown) {
        m.TopRow = m.Wrap(m.FirstRow + value);
        m.CurRow = 0;
        m.MarkAllChanged();
        return true;
    }
    const int current = VScrollValue();
    if (st_.MemLock.On) {
        const int first = st_.MemLock.LastLockedRow + 1;
        m.CurRow = std::clamp(m.CurRow + (value - current), first, m.RowsInTerm - 1);
        m.RowBeyondEnd = m.SetNewCurRow();
        return true;
    }
    if (value < current)
        ScrollTermUp(current - value);
    else if (value > current)
        ScrollTermDown(value - current);
    return true;
}

} // namespace kalvor
