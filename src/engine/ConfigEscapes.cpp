// ESC & k: terminal configuration switches (and the keyboard remapping);
// ESC & s: straps; ESC & x: terminal configuration.
//
// Every handler reads all parameters first; a parameter character the class
// does not accept makes the sequence invalid and nothing is applied.
#include "engine/ConfigEscapes.h"

#include "engine/EscapeHandlers.h"
#include "engine/EscapeParameters.h"
#include "engine/Terminal.h"

#include <algorithm>
#include <vector>

namespace kalvor {
namespace {

// The parameters of `seq` (up to its terminator) read with the grammar of
// the parameterised groups, or false when one is not accepted.
bool CollectParameters(std::string_view seq, std::string_view accepted, std::vector<EscParameter>& out)
{
    const std::size_t end = FindParameterTerminator(seq, 3);
    if (end == std::string_view::npos)
        return false;
    return ReadEscParameters(seq.substr(0, end + 1), accepted, false, [&](const EscParameter& p) { out.push_back(p); });
}

// An ESC & k switch: 1 sets it, 0 clears it, any other value leaves it.
// Returns true when the value changed.
bool ApplySwitch(bool& sw, long n)
{
    if (n != 0 && n != 1)
        return false;
    const bool was = sw;
    sw = n == 1;
    return sw != was;
}

bool ApplyModeBit(int& bits, int bit, long n)
{
    bool on = (bits & bit) != 0;
    if (!ApplySwitch(on, n))
        return false;
    bits = on ? bits | bit : bits & ~bit;
    return true;
}

// A strap: set by 1, cleared by any other value.
bool ApplyStrap(bool& strap, long n)
{
    const bool was = strap;
    strap = n == 1;
    return strap != was;
}

} // namespace

bool IsKeyRemapDefinition(std::string_view seq)
{
    const std::size_t end = FindParameterTerminator(seq, 3);
    const std::size_t stop = end == std::string_view::npos ? seq.size() : end + 1;
    for (std::size_t i = 3; i < stop; ++i) {
        const char c = seq[i];
        if (c == 's' || c == 'S' || c == 'k' || c == 'K')
            return true;
    }
    return false;
}

EscapeResult EscRemapKB(Terminal& t, std::string_view seq)
{
    const std::size_t end = FindParameterTerminator(seq, 3);
    std::vector<EscParameter> params;
    if (end == std::string_view::npos || !CollectParameters(seq, "skl", params))
        return kEscInvalid;

    long key = -1;
    long length = 0;
    bool clearAll = false;
    for (const EscParameter& p : params) {
        switch (p.Lower()) {
        case 's': clearAll = p.Value == 0; break;
        case 'k': key = p.Value; break;
        case 'l': length = std::min(p.Value, kMaxRemapLength); break;
        }
    }

    const std::size_t have = seq.size() - end - 1;
    const auto need = static_cast<std::size_t>(length);
    if (have < need)
        return {EscapeStatus::NeedMore, static_cast<int>(need - have)};

    auto& table = t.State.KeyRemap;
    if (clearAll)
        for (std::string& s : table)
            s.clear();
    if (key >= 0 && key <= kMaxRemapKey)
        table[static_cast<std::size_t>(key)].assign(seq.substr(end + 1, need));
    return kEscDone;
}

// ESC & k: n A automatic line feed, n B block mode, n C and n L preferences,
// n D bell, n I 8-bit data, n M modify-all mode, n P caps lock, n R remote
// mode. 1 sets and 0 clears; any other value leaves the switch as it is,
// except for I, where every value other than 0 selects 8 data bits.
// The connection layer is told of every I (it decides whether a serial line
// has to be re-opened with other data bits and parity) and the keyboard of
// every P that sets or clears caps lock (the system's key state may differ
// from the switch).
EscapeResult EscTermSwitches(Terminal& t, std::string_view seq)
{
    if (IsKeyRemapDefinition(seq))
        return EscRemapKB(t, seq);

    std::vector<EscParameter> params;
    if (!CollectParameters(seq, "abcdilmpr", params))
        return kEscInvalid;

    TerminalState& st = t.State;
    bool changed = false;
    bool eightBitGiven = false;
    bool capsLockGiven = false;
    for (const EscParameter& p : params) {
        const long n = p.Value;
        switch (p.Lower()) {
        case 'a': changed |= ApplySwitch(st.AutoLineFeed, n); break;
        case 'b': changed |= ApplyModeBit(st.ModeBits, kBlockMode, n); break;
        case 'c': changed |= ApplySwitch(st.PreferenceC, n); break;
        case 'd': changed |= ApplySwitch(st.BellOn, n); break;
        case 'i': {
            const bool was = st.EightBitData;
            st.EightBitData = n != 0;
            changed |= st.EightBitData != was;
            eightBitGiven = true;
            break;
        }
        case 'l': changed |= ApplySwitch(st.PreferenceL, n); break;
        case 'm': changed |= ApplyModeBit(st.ModeBits, kModifyAll, n); break;
        case 'p':
            if (n == 0 || n == 1) {
                changed |= ApplySwitch(st.CapsLock, n);
                capsLockGiven = true;
            }
            break;
        case 'r': changed |= ApplySwitch(st.RemoteMode, n); break;
        }
    }
    if (eightBitGiven)
        t.Hooks.EightBitDataChanged();
    if (capsLockGiven)
        t.Hooks.CapsLockChanged();
    if (changed)
        t.Hooks.StateChanged();
    return kEscDone;
}

// ESC & s: straps A, B, C (margin wrap), D (stored inverted), G, H and N
// (escape logging), each set by n = 1 and cleared by any other value. The
// escape log is opened when strap N becomes set and closed when it becomes
// clear; the switch is changed before the hook runs, so the session may clear
// it again when the file cannot be opened.
EscapeResult EscStraps(Terminal& t, std::string_view seq)
{
    std::vector<EscParameter> params;
    if (!CollectParameters(seq, "abcdghn", params))
        return kEscInvalid;

    TerminalState& st = t.State;
    Straps& strap = st.Strap;
    bool changed = false;
    bool logging = st.EscapeLogging;
    for (const EscParameter& p : params) {
        const long n = p.Value;
        switch (p.Lower()) {
        case 'a': changed |= ApplyStrap(strap.A, n); break;
        case 'b': changed |= ApplyStrap(strap.B, n); break;
        case 'c': changed |= ApplyStrap(st.MarginWrap, n); break;
        case 'd': {
            bool page = strap.PageStrapping();
            changed |= ApplyStrap(page, n);
            strap.LineStrapping = !page;
            break;
        }
        case 'g': changed |= ApplyStrap(strap.G, n); break;
        case 'h': changed |= ApplyStrap(strap.H, n); break;
        case 'n': logging = n == 1; break;
        }
    }
    if (logging != st.EscapeLogging) {
        st.EscapeLogging = logging;
        t.Hooks.EscapeLogging(logging);
        changed = true;
    }
    if (changed)
        t.Hooks.StateChanged();
    return kEscDone;
}

// ESC & x: digits collect a number, n C (or n c) sets the input option when n
// is 1 and clears it when n is 0, spaces are skipped; any other character
// makes the sequence invalid.
EscapeResult EscTermConfig(Terminal& t, std::string_view seq)
{
    std::vector<EscParameter> params;
    if (!CollectParameters(seq, "c", params))
        return kEscInvalid;
    for (const EscParameter& p : params)
        ApplySwitch(t.State.InputOption, p.Value);
    return kEscDone;
}

} // namespace kalvor
