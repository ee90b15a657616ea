// The enhancement converter of block transmission: turns one row of display
// memory (its text and run strings) into transmit form, with the character-set
// changes recorded in ShiftBuf made explicit as SO and SI characters.
#pragma once

#include <string>
#include <string_view>

namespace kalvor {

struct ConvertedRow {
    std::string Text;       // the row's text with SO (14) / SI (15) put in front of the characters they apply to
    int StartCol = 0;       // OrigStartCol, moved right past every character inserted before it
    int EndCol = 0;         // OrigEndCol, likewise
    int TerminatorCol = -1; // 1-based position of the block-end marker in Text; -1 when it does not occur
};

// Walks the run strings in step with `OrigTextBuf`, which holds the row from
// column 0 (the run strings count columns from there).
//
// - Column 0 starts in the base set. Where the ShiftBuf attribute turns to
//   `O` (alternate set) an SO is put in front of that column's character;
//   where it turns back to anything else (`I`, or the blank filler of an
//   unrecorded stretch) an SI. Changes at or beyond the end of the text have
//   no character to stand in front of and are left out.
// - [OrigStartCol, OrigEndCol) is the part of the row the caller will send.
//   A character inserted in front of column c counts as inserted before the
//   start when c < OrigStartCol, and before the end when c < OrigEndCol, so a
//   change at the start column itself stays inside the range.
// - The range is made self-contained: when the character at OrigStartCol is
//   in the alternate set because of an SO further left, an SO is repeated in
//   front of it, so that a block sent from the middle of a line-drawing run
//   still reaches the host in the alternate set.
// - CntlBuf and FormBuf are walked only in the sense that a row without any
//   run string comes back untouched: enhancements and field marks are not put
//   into the text; the host learns them from the form it sent itself.
// - TerminatorCol: a block collector that found no characters to send hands
//   over the block-end marker as the text; its 1-based position in the result
//   is returned. An empty marker never matches.
ConvertedRow ConvertEnhBuf(std::string_view OrigTextBuf, std::string_view NewCntlBuf, std::string_view NewFormBuf,
                           std::string_view NewShiftBuf, int OrigStartCol, int OrigEndCol,
                           std::string_view blockEndMarker);

} // namespace kalvor
