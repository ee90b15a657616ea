// ESC & d: display enhancements; ESC % x: colour schemes; ESC * d: inverse
// screen and cursor form.
#include "engine/EscapeHandlers.h"
#include "engine/Terminal.h"

namespace kalvor {

EscapeResult EscEnhancement(Terminal& t, std::string_view seq)
{
    char code = 0;
    for (std::size_t i = 3; i < seq.size(); ++i) {
        const char c = seq[i];
        if (c == ' ')
            continue;
        if (c == '@' || (c >= 'A' && c <= 'O') || c == 'S') {
            code = c;
            break;
        }
        if (c != 's')
            return kEscInvalid;
    }
    if (code == 0)
        return kEscInvalid;
    DisplayMemory& m = t.State.Mem;
    m.ApplyPendingRow();
    m.MarkCursorRowChanged(m.CurCol);
    if (!(code == '@' && m.CurCol == 0 && m.CursorRow().AllEmpty()))
        m.ModCntlBuf(code, m.CurCol);
    return kEscDone;
}

EscapeResult EscColorScheme(Terminal&, std::string_view) { return kEscDone; }

EscapeResult EscDisplayControl(Terminal&, std::string_view) { return kEscDone; }

} // namespace kalvor
