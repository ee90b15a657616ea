#include "engine/EscapeDispatcher.h"

#include "engine/EscapeHandlers.h"
#include "engine/EscapeParameters.h"
#include "engine/Terminal.h"
#include "engine/UserKeyDefinition.h"

#include <algorithm>
#include <cctype>

namespace kalvor {
namespace {

bool IsTerminator(unsigned char c) { return c == 33 || (c >= 64 && c <= 94); }

} // namespace

std::size_t FindParameterTerminator(std::string_view seq, std::size_t from)
{
    for (std::size_t i = from; i < seq.size(); ++i)
        if (IsTerminator(static_cast<unsigned char>(seq[i])))
            return i;
    return std::string_view::npos;
}

EscapeResult EscapeDispatcher::Dispatch(std::string_view seq)
{
    if (seq.size() < 2 || seq[0] != '\x1b')
        return kEscInvalid;
    switch (seq[1]) {
    case '&': return Ampersand(seq);
    case '*': return Asterisk(seq);
    case '%': return Percent(seq);
    case ')':
        // ESC ) x: the line-drawing selection is on for "B", off otherwise.
        if (seq.size() < 3)
            return {EscapeStatus::NeedMore, 1};
        t_.State.LineDrawingSelection = seq[2] == 'B';
        return kEscDone;
    default: return SingleCharacter(seq[1]);
    }
}

EscapeResult EscapeDispatcher::SingleCharacter(char command)
{
    TerminalState& st = t_.State;
    DisplayMemory& m = st.Mem;
    LocalEditing& edit = t_.Editing;
    TerminalHooks& hooks = t_.Hooks;

    if (st.ShadowRowMode) {
        // Shadow-row mode: the vertical commands move the shadow row; the
        // other cursor and editing commands do nothing.
        switch (command) {
        case 'A': st.ShadowRow = st.ShadowRow == 0 ? 23 : st.ShadowRow - 1; return kEscDone;
        case 'B': st.ShadowRow = st.ShadowRow == 23 ? 0 : st.ShadowRow + 1; return kEscDone;
        case 'H': st.ShadowRow = 0; return kEscDone;
        case 'F': st.ShadowRow = 16; return kEscDone;
        case 'C':
        case 'D':
        case 'I':
        case 'i':
        case 'J':
        case 'K':
        case 'L':
        case 'M':
        case 'O':
        case 'P':
        case 'S':
        case 'T':
        case 'U':
        case 'V': return kEscDone;
        default: break;
        }
    }

    switch (command) {
    case '0': hooks.PrintScreen(); break; // print the screen
    case '1':                             // set a tab stop
        if (m.CurCol < DisplayMemory::kMaxCols)
            st.TabStops[static_cast<std::size_t>(m.CurCol)] = true;
        hooks.StateChanged();
        break;
    case '2': // clear a tab stop
        if (m.CurCol < DisplayMemory::kMaxCols)
            st.TabStops[static_cast<std::size_t>(m.CurCol)] = false;
        hooks.StateChanged();
        break;
    case '3': // clear all tab stops
        st.TabStops.fill(false);
        hooks.StateChanged();
        break;
    case '4': // left margin
        m.LeftMargin = m.CurCol < m.RightMargin ? m.CurCol : m.RightMargin - 1;
        m.LeftMargin = std::max(m.LeftMargin, 0);
        hooks.StateChanged();
        break;
    case '5': // right margin
        m.RightMargin = m.CurCol > m.LeftMargin ? m.CurCol : m.LeftMargin + 1;
        m.RightMargin = std::min(m.RightMargin, m.ColsInTerm - 1);
        hooks.StateChanged();
        break;
    case '9': // clear the margins
        m.LeftMargin = 0;
        m.RightMargin = m.ColsInTerm - 1;
        hooks.StateChanged();
        break;
    case '@': hooks.HoldInterpretation(1000); break; // one-second hold
    case 'A': edit.ExecUpArrow(0); break;
    case 'B': edit.ExecDownArrow(0); break;
    case 'C': edit.ExecRightArrow(0); break;
    case 'D': edit.ExecLeftArrow(0); break;
    case 'E': hooks.HardReset(true); break; // hard reset, function keys again
    case 'F': edit.ExecEndKey(0); break;    // home down
    case 'G': m.CurCol = m.LeftMargin; break;
    case 'H':
    case 'h': edit.ExecHomeKey(0); break; // home up
    case 'I': edit.ExecTabKey(0); break;
    case 'i': edit.ExecTabKey(LocalEditing::kShift); break;   // back tab
    case 'J': edit.ExecEscJ(); break;                         // clear to end of memory
    case 'K': edit.ClearLine_Click(); break;                  // clear to end of line
    case 'L': edit.ExecInsertKey(LocalEditing::kCtrl); break; // insert line
    case 'M': edit.ExecDeleteKey(LocalEditing::kCtrl); break; // delete line
    case 'N':
    case 'Q': edit.SetInsertMode(true); break;  // insert character on
    case 'R': edit.SetInsertMode(false); break; // insert character off
    case 'O':
    case 'P': edit.ExecDeleteKey(0); break;                  // delete character
    case 'S': edit.ExecDownArrow(LocalEditing::kAlt); break; // roll up
    case 'T': edit.ExecUpArrow(LocalEditing::kAlt); break;   // roll down
    case 'U': edit.ExecPageDown(0); break;                   // next page
    case 'V': edit.ExecPageUp(0); break;                     // previous page
    case 'W':                                                // format mode on
        st.FormatMode = true;
        hooks.StateChanged();
        break;
    case 'X': // format mode off
        st.FormatMode = false;
        hooks.StateChanged();
        break;
    case 'Y': // display functions on
        st.DisplayFunctions = true;
        hooks.StateChanged();
        break;
    case 'Z': // display functions off
        st.DisplayFunctions = false;
        hooks.StateChanged();
        break;
    case '`': hooks.HostRequested(HostRequest::RelativeCursor); break; // relative cursor sensing
    case 'a': hooks.HostRequested(HostRequest::AbsoluteCursor); break; // absolute cursor sensing
    case 'b':                                                          // unlock the keyboard
        st.KeyboardLocked = false;
        hooks.StateChanged();
        break;
    case 'c': // lock the keyboard
        st.KeyboardLocked = true;
        hooks.StateChanged();
        break;
    case 'd': // transmit a block
        hooks.HostRequested(HostRequest::Block);
        st.KeyboardLocked = false;
        hooks.StateChanged();
        break;
    case 'f':
    case 'p':
    case 'q':
    case 'r':
    case 's':
    case 't':
    case 'u':
    case 'v':
    case 'w':
    case 'z': break;                    // accepted and ignored
    case 'g': hooks.SoftReset(); break; // soft reset
    case 'j':                           // shadow-row mode on
        st.ShadowRowMode = true;
        break;
    case 'k': hooks.ApplyFunctionKeyConfig(); break;
    case 'l': // memory lock on
        if (!hooks.FormsShown())
            t_.Scroll.MemLock("on");
        break;
    case 'm': // memory lock off
        if (!hooks.FormsShown() && st.MemLock.On)
            t_.Scroll.MemLock("off");
        break;
    case '[': // start of an unprotected field
    case ']': // end of a field
    case '{': // start of a transmit-only field
        m.ApplyPendingRow();
        m.UpdateFormBuf(command);
        m.MarkCursorRowChanged(m.CurCol);
        break;
    case '^': hooks.HostRequested(HostRequest::PrimaryStatus); break;   // primary status
    case '~': hooks.HostRequested(HostRequest::SecondaryStatus); break; // secondary status
    default: return kEscInvalid;
    }
    return kEscDone;
}

EscapeResult EscapeDispatcher::Ampersand(std::string_view seq)
{
    const std::size_t end = FindParameterTerminator(seq);
    if (end == std::string_view::npos || seq.size() < 3)
        return kEscInvalid;
    switch (seq[2]) {
    case 'a': return EscCursorAddress(t_, seq);
    case 'd': return EscEnhancement(t_, seq);
    case 'f': return DefineFunctionKey(seq, end);
    case 'j': return FunctionKeyControl(seq, end);
    case 'k': return EscTermSwitches(t_, seq);
    case 'p': return DeviceControl(seq);
    case 'q':
    case 'v': return kEscDone; // accepted and ignored
    case 's': return EscStraps(t_, seq);
    case 'w': return EscScreenWidth(t_, seq);
    case 'x': return EscTermConfig(t_, seq);
    default: return kEscInvalid;
    }
}

EscapeResult EscapeDispatcher::Asterisk(std::string_view seq)
{
    if (seq.size() < 3)
        return kEscInvalid;
    switch (seq[2]) {
    case 'd': return EscDisplayControl(t_, seq);
    case 's': return EscStatusRequest(t_, seq);
    case 'y': return EscIdentify(t_, seq);
    default: return kEscInvalid;
    }
}

EscapeResult EscapeDispatcher::Percent(std::string_view seq)
{
    if (seq.size() < 3)
        return kEscInvalid;
    switch (seq[2]) {
    case 'x': return EscColorScheme(t_, seq);
    case 'p': return EscPrintSettings(t_, seq);
    case 'd': return EscDisplayDump(t_, seq);
    case 'c': return EscTelnetVariant(t_, seq);
    case 'f':
    case 'k':
    case 'a': t_.Hooks.FormsEscape(seq); return kEscDone;
    default: return kEscInvalid;
    }
}

// ESC & f: user-key definition. When its header ends with D, K or L the
// label and the string follow it; the definition goes to the function keys
// once all of it has arrived.
EscapeResult EscapeDispatcher::DefineFunctionKey(std::string_view seq, std::size_t headerEnd)
{
    // The Enter-key settings share the introducer: letters P, R, S and m (and
    // a bracketed "<" ... ">" form) redefine what the Enter keys do.
    for (std::size_t i = 3; i <= headerEnd; ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(seq[i])));
        if (c == 'p' || c == 'r' || c == 's' || c == 'm' || c == '<')
            return t_.Hooks.DefineEnterKey(seq) ? kEscDone : kEscInvalid;
    }
    const std::optional<UserKeyDefinition> def = ParseUserKeyDefinition(seq);
    if (!def)
        return kEscInvalid;
    const std::size_t have = seq.size() - def->HeaderEnd - 1;
    const auto need = static_cast<std::size_t>(def->DataLength());
    if (have < need)
        return {EscapeStatus::NeedMore, static_cast<int>(need - have)};
    t_.Hooks.DefineFunctionKey(seq);
    return kEscDone;
}

// ESC & j: function-key display control. With "L" the number is the length
// of a host message that follows the sequence.
EscapeResult EscapeDispatcher::FunctionKeyControl(std::string_view seq, std::size_t headerEnd)
{
    if (seq[headerEnd] == 'L') {
        long length = -1;
        const bool valid =
            ReadEscParameters(seq.substr(0, headerEnd + 1), "@abcdlrs", false, [&](const EscParameter& p) {
                if (p.Lower() == 'l')
                    length = p.Value;
            });
        if (!valid || length < 0 || length > 255)
            return kEscInvalid;
        const std::size_t have = seq.size() - headerEnd - 1;
        if (have < static_cast<std::size_t>(length))
            return {EscapeStatus::NeedMore, static_cast<int>(static_cast<std::size_t>(length) - have)};
    }
    // The length was checked above: a message still missing is not held here.
    return t_.Hooks.FunctionKeyControl(seq) == KeyControlResult::Invalid ? kEscInvalid : kEscDone;
}

// ESC & p: output device control (routing, logging, record mode); ending in
// "^" it asks for a device status reply. The device number is the first
// number given (or the one before "^"); the session acts on it.
EscapeResult EscapeDispatcher::DeviceControl(std::string_view seq)
{
    long device = -1;
    bool status = false;
    const bool valid = ReadEscParameters(seq, "cdup^", false, [&](const EscParameter& p) {
        if (p.Letter == '^') {
            status = true;
            if (p.HasValue)
                device = p.Value;
        } else if (p.HasValue && device < 0) {
            device = p.Value;
        }
    });
    if (!valid)
        return kEscInvalid;
    if (status) {
        t_.Hooks.HostRequested(device == 4 ? HostRequest::PrinterStatusDevice4 : HostRequest::PrinterStatus);
        return kEscDone;
    }
    t_.Hooks.DeviceControl(device < 0 ? std::nullopt : std::optional<int>(static_cast<int>(device)));
    return kEscDone;
}

namespace {

// The request of status n: -1 the terminal id, 0..5 the status bytes and
// lines, 6 the printer, 7 the identification, 8 the version.
HostRequest StatusRequest(long id)
{
    switch (id) {
    case -1: return HostRequest::TerminalId;
    case 0: return HostRequest::PrimaryStatus;
    case 1: return HostRequest::SecondaryStatus;
    case 2: return HostRequest::Status2;
    case 3: return HostRequest::Status3;
    case 4: return HostRequest::Status4;
    case 5: return HostRequest::Status5;
    case 6: return HostRequest::PrinterStatus;
    case 7: return HostRequest::Identification;
    case 8: return HostRequest::Version;
    default: return HostRequest::StatusOutOfRange; // the terminator alone
    }
}

} // namespace

// ESC * s n ^: status request n (-1 .. 8).
EscapeResult EscStatusRequest(Terminal& t, std::string_view seq)
{
    long id = 0;
    bool found = false;
    const bool valid = ReadEscParameters(seq, "^", true, [&](const EscParameter& p) {
        id = p.Signed();
        found = true;
    });
    if (!valid || !found)
        return kEscInvalid;
    t.Hooks.HostRequested(StatusRequest(id));
    return kEscDone;
}

// ESC * y ^: the terminal identification request (exactly these four characters).
EscapeResult EscIdentify(Terminal& t, std::string_view seq)
{
    if (seq != "\x1b*y^")
        return kEscInvalid;
    t.Hooks.HostRequested(HostRequest::Identification);
    return kEscDone;
}

// ESC % p: print font size (F, 4..24), copies (N, 1..99), page header (H, 1 on, 0 off).
EscapeResult EscPrintSettings(Terminal& t, std::string_view seq)
{
    int fontSize = t.State.PrintFontSize;
    int copies = t.State.PrintCopies;
    bool header = t.State.PrintPageHeader;
    bool fontSet = t.State.PrintFontSizeSet;
    const bool valid = ReadEscParameters(seq, "fnh", false, [&](const EscParameter& p) {
        switch (p.Lower()) {
        case 'f':
            fontSize = static_cast<int>(std::clamp(p.Value, 4L, 24L));
            fontSet = true;
            break;
        case 'n': copies = static_cast<int>(std::clamp(p.Value, 1L, 99L)); break;
        case 'h':
            if (p.Value == 1)
                header = true;
            else if (p.Value == 0)
                header = false;
            break;
        }
    });
    if (!valid)
        return kEscInvalid;
    t.State.PrintFontSize = fontSize;
    t.State.PrintCopies = copies;
    t.State.PrintPageHeader = header;
    t.State.PrintFontSizeSet = fontSet;
    return kEscDone;
}

// ESC % d n S n E ... D: diagnostic dump of display-memory rows S .. E.
EscapeResult EscDisplayDump(Terminal& t, std::string_view seq)
{
    long start = 0;
    long end = 0;
    const bool valid = ReadEscParameters(seq, "sed", false, [&](const EscParameter& p) {
        if (p.Lower() == 's')
            start = p.Value;
        else if (p.Lower() == 'e')
            end = p.Value;
    });
    if (!valid)
        return kEscInvalid;
    const int maxRow = t.State.Mem.MaxRow;
    t.Hooks.DumpDisplay(static_cast<int>(std::clamp(start, 0L, static_cast<long>(maxRow))),
                        static_cast<int>(std::clamp(end, 0L, static_cast<long>(maxRow))));
    return kEscDone;
}

// ESC % c n N: Telnet variant, 0 standard, 1 advanced.
EscapeResult EscTelnetVariant(Terminal& t, std::string_view seq)
{
    long variant = -1;
    const bool valid = ReadEscParameters(seq, "n", false, [&](const EscParameter& p) { variant = p.Value; });
    if (!valid)
        return kEscInvalid;
    if (variant == 0 || variant == 1)
        t.Hooks.TelnetVariant(static_cast<int>(variant));
    return kEscDone;
}

} // namespace kalvor
