// ESC & d: display enhancements; ESC % x: colour schemes; ESC * d: inverse
// screen and cursor form.
#include "engine/ColorSchemes.h"
#include "engine/EscapeHandlers.h"
#include "engine/EscapeParameters.h"
#include "engine/Terminal.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kalvor {
namespace {

// The escape log shows ESC as this character.
constexpr char kLoggedEsc = static_cast<char>(251);

bool IsEnhancementLetter(char c) { return c >= 'A' && c <= 'O'; }

// Reads the parameters of ESC & d from the fourth character: "s" (in any
// position) asks for the security attribute, spaces are skipped, "@", "A".."O"
// and "S" end the sequence and give the code. Returns 0 when the sequence is
// invalid.
char ReadEnhancementCode(std::string_view seq, bool& secure)
{
    secure = false;
    for (std::size_t i = 3; i < seq.size(); ++i) {
        const char c = seq[i];
        if (c == ' ')
            continue;
        if (c == 's') {
            secure = true;
            continue;
        }
        if (c == '@' || c == 'S' || IsEnhancementLetter(c))
            return c;
        return 0;
    }
    return 0;
}

} // namespace

// ESC & d: the enhancement that starts at the cursor. With the security
// attribute "A".."O" become "a".."o" (outside format mode only; format mode
// keeps the plain enhancement) and "@" becomes "S", security alone. In format
// mode with the bell on, a code that comes out as "S" (security without an
// enhancement letter: ESC & d S or ESC & d s @) sounds the bell and records
// nothing.
EscapeResult EscEnhancement(Terminal& t, std::string_view seq)
{
    bool secure = false;
    char code = ReadEnhancementCode(seq, secure);
    if (code == 0)
        return kEscInvalid;

    TerminalState& st = t.State;
    if (st.EscapeLogging) {
        std::string logged(seq);
        logged[0] = kLoggedEsc;
        t.Hooks.EscapeLog(logged);
    }

    if (secure) {
        if (code == '@')
            code = 'S';
        else if (IsEnhancementLetter(code) && !st.FormatMode)
            code = static_cast<char>(code + ('a' - 'A'));
    }
    if (code == 'S' && st.FormatMode && st.BellOn) {
        t.Hooks.Bell();
        return kEscDone;
    }

    DisplayMemory& m = st.Mem;
    m.ApplyPendingRow();
    DisplayRow& row = m.CursorRow();
    // The row is redrawn from the cursor, or from its last character when the
    // cursor stands beyond the text.
    const int lastTextCol = std::max(static_cast<int>(row.Text.size()) - 1, 0);
    m.MarkCursorRowChanged(std::min(m.CurCol, lastTextCol));
    st.EnhSeries.Record(m, code);
    if (!t.Hooks.MoreDataWaiting())
        t.Hooks.Repaint();
    return kEscDone;
}

// ESC % x name X|I: the colour scheme called `name` (three letters), on the
// normal screen with X and on the inverse screen with I. An unknown name makes
// the sequence invalid.
EscapeResult EscColorScheme(Terminal& t, std::string_view seq)
{
    if (seq.size() != 7)
        return kEscInvalid;
    const char last = seq[6];
    if (last != 'X' && last != 'I')
        return kEscInvalid;
    const int scheme = ColorSchemeNumber(seq.substr(3, 3));
    if (scheme < 0)
        return kEscInvalid;
    TerminalState& st = t.State;
    st.ColorScheme = scheme;
    st.InverseScreen = last == 'I';
    UpdateColorScheme(st);
    t.Hooks.SavePreferences();
    t.Hooks.StateChanged();
    return kEscDone;
}

// ESC * d: n E inverse screen (on for n = 1, off otherwise); Q cursor on with
// the saved form; n Q cursor on with form n (1, or any other value, kept as
// 2), which is saved; R cursor off, saving its form. Lower-case letters chain
// further parameters.
EscapeResult EscDisplayControl(Terminal& t, std::string_view seq)
{
    std::vector<EscParameter> params;
    const bool valid = ReadEscParameters(seq, "eqr", false, [&](const EscParameter& p) { params.push_back(p); });
    if (!valid || params.empty() || !params.back().Final())
        return kEscInvalid;

    TerminalState& st = t.State;
    for (const EscParameter& p : params) {
        switch (p.Lower()) {
        case 'e':
            st.InverseScreen = p.HasValue && p.Value == 1;
            UpdateColorScheme(st);
            break;
        case 'q':
            if (p.HasValue) {
                st.CursorForm = p.Value == 1 ? 1 : 2;
                st.SavedCursorForm = st.CursorForm;
                st.CursorHidden = false;
            } else {
                st.CursorForm = st.SavedCursorForm;
                st.CursorHidden = false;
                t.Hooks.Repaint();
            }
            break;
        case 'r':
            st.SavedCursorForm = st.CursorForm;
            st.CursorHidden = true;
            break;
        }
        t.Hooks.StateChanged();
    }
    return kEscDone;
}

} // namespace kalvor
