// ESC & a: cursor addressing by column, screen row and memory row; ESC & w:
// screen width.
#include "engine/EscapeHandlers.h"
#include "engine/EscapeParameters.h"
#include "engine/Terminal.h"

#include <algorithm>

namespace kalvor {
namespace {

struct Target {
    bool Set = false;
    long Value = 0;
    int Relative = 0;
};

// Applies memory row M (counted from the oldest row) to the window.
void ApplyMemoryRow(Terminal& t, int m)
{
    DisplayMemory& mem = t.State.Mem;
    const int top = mem.Age(mem.TopRow);
    const int bottom = top + mem.RowsInTerm - 1;
    if (m >= top && m <= bottom) {
        mem.CurRow = m - top;
        return;
    }
    if (m < top) {
        mem.CurRow = 0;
        t.Scroll.ScrollTermUp(top - m);
        return;
    }
    // Below the screen: extend memory until the target row exists (dropping
    // the oldest rows of a full ring) and show it on the bottom line.
    int targetRing;
    const int lastAge = mem.Age(mem.LastRow);
    if (m > lastAge) {
        const int add = std::min(m - lastAge, mem.MaxRow);
        const int cursor = mem.AbsCurRow;
        mem.ExtendTo(mem.LastRow + add);
        mem.AbsCurRow = mem.InUse(cursor) ? cursor : mem.LastRow;
        targetRing = mem.LastRow;
    } else {
        targetRing = mem.Wrap(mem.FirstRow + m);
    }
    const int targetAge = mem.Age(targetRing);
    const int topAge = std::max(targetAge - (mem.RowsInTerm - 1), 0);
    mem.TopRow = mem.Wrap(mem.FirstRow + topAge);
    mem.CurRow = targetAge - topAge;
    mem.MarkAllChanged();
}

} // namespace

EscapeResult EscCursorAddress(Terminal& t, std::string_view seq)
{
    Target column, screenRow, memoryRow;
    const bool valid = ReadEscParameters(seq, "cxyr", true, [&](const EscParameter& p) {
        const Target target{true, p.Value, p.Relative};
        switch (p.Lower()) {
        case 'c':
        case 'x': column = target; break;
        case 'y': screenRow = target; break;
        case 'r': memoryRow = target; break;
        }
    });
    if (!valid)
        return kEscInvalid;

    TerminalState& st = t.State;
    DisplayMemory& mem = st.Mem;
    const auto clampLong = [](long v, long lo, long hi) { return static_cast<int>(std::clamp(v, lo, hi)); };

    if (st.ShadowRowMode) {
        // The row parameters set the shadow row instead of moving the cursor.
        for (const Target* row : {&memoryRow, &screenRow}) {
            if (!row->Set)
                continue;
            const long v = row->Relative == 0 ? row->Value : st.ShadowRow + row->Relative * row->Value;
            st.ShadowRow = clampLong(v, 0, 23);
        }
        memoryRow.Set = screenRow.Set = false;
    }

    int newCol = mem.CurCol;
    if (column.Set) {
        const long v = column.Relative == 0 ? column.Value : mem.CurCol + column.Relative * column.Value;
        newCol = clampLong(v, 0, mem.ColsInTerm - 1);
    }

    // A backward relative screen row without memory lock counts in memory rows.
    if (screenRow.Set && screenRow.Relative < 0 && !st.MemLock.On && !memoryRow.Set) {
        memoryRow = Target{true, screenRow.Value, -1};
        screenRow.Set = false;
    }
    if (memoryRow.Set && !st.MemLock.On) {
        const int cursorAge = mem.Age(mem.TopRow) + mem.CurRow;
        const long v = memoryRow.Relative == 0 ? memoryRow.Value : cursorAge + memoryRow.Relative * memoryRow.Value;
        ApplyMemoryRow(t, clampLong(v, 0, mem.MaxRow + mem.RowsInTerm - 1));
    }
    if (screenRow.Set) {
        const long v = screenRow.Relative == 0 ? screenRow.Value : mem.CurRow + screenRow.Relative * screenRow.Value;
        mem.CurRow = clampLong(v, 0, mem.RowsInTerm - 1);
    }
    mem.SyncCursorRow();

    mem.CurCol = newCol;
    std::string& text = mem.CursorRow().Text;
    if (static_cast<std::size_t>(mem.CurCol) >= text.size())
        text.resize(static_cast<std::size_t>(mem.CurCol) + 1, ' ');
    mem.MarkCursorRowChanged(mem.CurCol);
    return kEscDone;
}

EscapeResult EscScreenWidth(Terminal& t, std::string_view seq)
{
    long width = -1;
    const bool valid = ReadEscParameters(seq, "fx", false, [&](const EscParameter& p) {
        if (p.Final())
            width = p.Value;
    });
    if (!valid || width < 0)
        return kEscInvalid;
    t.State.Mem.SetWidth(width == 80 ? 80 : width == 132 ? 132 : 200);
    t.Hooks.WidthChanged();
    t.Hooks.StateChanged();
    return kEscDone;
}

} // namespace kalvor
