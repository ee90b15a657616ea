// The text of a selection as the clipboard gets it, and clipboard text cut
// into the lines a paste sends or writes.
#pragma once

#include "edit/Selection.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalvor::edit {

// ClipCopyTo's text: the marked rows from start to end through the ring;
// every row but the last ends in CR LF, the last one too when the selection
// runs to the row end (1001); a rectangular selection ends every row in CR LF.
std::string ClipCopyText(const Selection& sel, const DisplayMemory& mem);

// The lines of a paste to the host: each up to and including its CR, an LF
// right after a CR dropped, an LF alone taken as CR; the last piece may have
// no CR.
std::vector<std::string> HostPasteLines(std::string_view text);

// The lines of a paste into display memory, without their line ends; text
// ending in a line end has an empty last line.
std::vector<std::string> DisplayPasteLines(std::string_view text);

// Whether a paste is to be confirmed first: more than five lines, or control
// characters other than CR, LF and HT.
bool PasteNeedsConfirmation(std::string_view text);

} // namespace kalvor::edit
