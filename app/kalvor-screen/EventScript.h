// Events files of kalvor-screen: one event per line; blank lines and lines
// starting with "#" are ignored.
//   host TEXT          host output, delivered as one chunk
//   wait MS            advance the terminal's clock, a receive tick every 25 ms
//   key NAME [MOD...]  press a key: key down, its character (if it makes
//                      one and the key was not consumed), key up
//   type TEXT          type characters, one character press per byte
//   click X Y          forms mode: press and release the left mouse button
//                      at window pixel (X, Y) of the form
//   close              forms mode: the user closes the Canvo window (refused
//                      while the host protects the exit)
//   select R1 C1 R2 C2 [rect]  mark from screen row R1, column C1 to row R2,
//                      column C2 as a mouse drag would (-1 and 1001 the row ends)
//   selectall, copy, cut       the Edit menu's commands (a headless clipboard)
//   paste TEXT         TEXT pasted from the clipboard as the user pastes it
//   find TEXT [case]   Find: TEXT searched for after the cursor, case matched
//                      with `case`; findagain, replace TEXT: Do Same Find
//                      Again, and Replace with TEXT
// TEXT escapes: \e ESC, \r CR, \n LF, \t HT, \\ backslash, \xHH any byte.
// Key names: Up Down Left Right Home End PageUp PageDown Insert Delete
// Backspace Tab Return Enter (the numeric-pad Enter) Esc F1..F12 ScrollLock
// Pause, or a single character; modifiers shift, ctrl, alt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor {

struct ScriptEvent {
    enum class Kind {
        Host,
        Wait,
        Key,
        Type,
        Click,
        Close,
        Select,
        SelectAll,
        Copy,
        Cut,
        Paste,
        Find,
        FindAgain,
        Replace
    };
    Kind Type = Kind::Host;
    std::string Text;              // host/type: the unescaped bytes; key: the key name
    std::vector<std::string> Mods; // key: shift, ctrl, alt
    long Milliseconds = 0;         // wait
    int X = 0, Y = 0;              // click
    std::vector<int> Cells;        // select: R1 C1 R2 C2
    bool Flag = false;             // select: rect; find: case matched
    int Line = 0;
};

// A key of the `key` event: its key code, the character it makes without
// modifiers (-1 for none) and whether it is the numeric-pad Enter.
struct KeyStroke {
    int Code = 0;
    int Character = -1;
    bool NumericPad = false;
};

// The key called `name`; nothing for an unknown name.
std::optional<KeyStroke> LookupKeyName(std::string_view name);

// Decodes the escapes of a TEXT argument. Returns nothing on a malformed
// escape (an unknown letter or a bad \x).
std::optional<std::string> UnescapeEventText(std::string_view text);

// Parses one line; returns nothing for a blank or comment line. On a bad line
// `error` is set.
std::optional<ScriptEvent> ParseEventLine(std::string_view line, int lineNumber, std::string& error);

} // namespace kalvor
