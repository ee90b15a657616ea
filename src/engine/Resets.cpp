#include "engine/Resets.h"

#include "engine/Terminal.h"

namespace kalvor {
namespace {

// Output routing bits that copy host text to the print and record files.
constexpr int kRoutingToFiles = 2 | 4;
constexpr int kRoutingToDisplay = 1;

} // namespace

void ResetSoft(Terminal& t)
{
    TerminalState& st = t.State;
    if (st.CursorHidden) {
        st.CursorHidden = false;
        st.CursorForm = st.SavedCursorForm;
    }
    st.KeyboardLocked = false;
    t.Editing.SetInsertMode(false);
    st.ShadowRowMode = false;
    st.DisplayFunctions = false;
    st.ShiftedOut = false; // text returns to the base set
    if (st.RecordMode != 0) {
        st.RecordMode = 0;
        if (st.OutputRouting & kRoutingToFiles)
            st.OutputRouting = kRoutingToDisplay;
    }
    t.Hooks.StateChanged();
}

void ResetHard(Terminal& t)
{
    TerminalState& st = t.State;
    const bool wasLogging = st.EscapeLogging;
    const bool wasCapsLock = st.CapsLock;
    const auto extendChar = st.ExtendChar;

    static_cast<TerminalSettings&>(st) = TerminalSettings{};
    st.ExtendChar = extendChar;

    DisplayMemory& m = st.Mem;
    m.LineStartDefault = 0;
    for (int r = 0; r <= m.MaxRow; ++r)
        m.ClearRow(r);
    m.InitDisplayBuf();
    m.RowsInTerm = 24;
    m.SetWidth(80);
    m.MarkScrolled();

    if (wasLogging)
        t.Hooks.EscapeLogging(false);
    if (wasCapsLock)
        t.Hooks.CapsLockChanged();
    t.Hooks.StateChanged();
}

} // namespace kalvor
