// Terminal configuration escapes: the switches of ESC & k, the straps of
// ESC & s, the input option of ESC & x, and the keyboard remapping reached
// through ESC & k. The handlers themselves are declared with the other escape
// handlers (EscapeHandlers.h); this header adds the remapping reader and its
// limits.
//
// Keyboard remapping. The escape language has no sequence of its own for it;
// an ESC & k sequence whose parameters contain the letter s/S or k/K (letters
// the switch table does not use) is a remapping definition instead of a set of
// switches:
//
//   ESC & k [n s] [n k] [n l] <terminator> <text>
//
//   n k  the key code, 0 .. 256 (Insert 45, Delete 46, Page Up 33, Page Down
//        34, End 35, Home 36, Left 37, Up 38, Right 39, Down 40); a code above
//        256 is read but defines nothing; without k no key is defined
//   n s  0: the whole key remap table is emptied before this definition is
//        applied (ESC & k 0 S alone removes every remapping); any other value
//        leaves the other keys as they are
//   n l  the length of the replacement text, 0 .. 255 (larger values are
//        clamped); the text follows the sequence's terminator directly and is
//        taken whatever it holds (ESC and CR included); 0 or no l removes the
//        key's remapping
//
// As everywhere in the parameter grammar, lower-case letters continue the
// sequence and the first upper-case letter ends it, so the letter that ends
// the header is written in upper case: ESC & k 37 k 3 L ABC remaps Left to
// "ABC", ESC & k 37 K removes it again. Any other parameter character makes
// the sequence invalid; nothing is changed. While the text has not arrived in
// full the reader asks for the missing characters and changes nothing.
#pragma once

#include "engine/EscapeDispatcher.h"

#include <string_view>

namespace kalvor {

class Terminal;

inline constexpr int kMaxRemapKey = 256;
inline constexpr long kMaxRemapLength = 255;

// True when the ESC & k sequence `seq` is a keyboard remapping definition:
// its parameters, up to the terminator, hold s, S, k or K.
bool IsKeyRemapDefinition(std::string_view seq);

// Reads the keyboard remapping definition `seq` (the complete ESC & k
// sequence, with whatever text has arrived after its terminator).
EscapeResult EscRemapKB(Terminal& t, std::string_view seq);

} // namespace kalvor
