#include "engine/Resets.h"

#include "engine/Terminal.h"

namespace kalvor {

void ResetSoft(Terminal& t)
{
    TerminalState& st = t.State;
    if (st.CursorHidden) {
        st.CursorHidden = false;
        st.CursorForm = st.SavedCursorForm;
    }
    st.KeyboardLocked = false;
    st.InsertMode = false;
    st.ShadowRowMode = false;
    st.DisplayFunctions = false;
    st.RecordMode = 0;
}

void ResetHard(Terminal& t)
{
    TerminalState& st = t.State;
    DisplayMemory& m = st.Mem;
    for (int r = 0; r <= m.MaxRow; ++r)
        m.ClearRow(r);
    m.FirstRow = m.LastRow = m.TopRow = m.AbsCurRow = m.CurRow = m.CurCol = 0;
    m.PendingAbsRow = -1;
    m.RowBeyondEnd = false;
    m.MarkAllChanged();
    ResetSoft(t);
}

} // namespace kalvor
