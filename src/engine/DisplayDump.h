// Diagnostic dumps of display memory into text files under the program
// folder. They only write the file; showing it in an editor is the caller's.
//
// Lines end with CR LF: the files are meant to be read in a text editor on
// the desktop. Row text is written byte for byte; run strings are written as
// the decimal codes of their characters separated by single spaces (header
// first, then attribute and length of every run), "Null" when empty.
#pragma once

#include "engine/DisplayMemory.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvor {

// "Null", or the character codes of `runs` separated by spaces ("10 32 10 66 0").
std::string RunStringCodes(std::string_view runs);

// Writes ring rows StartRow .. EndRow (clamped to the ring; none when EndRow
// lies before StartRow) to "TxtBufs.txt" in `tempFolder` (the instance's temporary folder), five
// lines a row:
//   TextBuf1(n) = text
//   CntlBuf(n) = codes
//   ShiftBuf(n) = codes
//   FormBuf(n) = codes
//       TextBufLen = length of the text without trailing blanks
// The folder is created when missing. Returns whether the file was written.
bool DisplayTextBuffers(const DisplayMemory& mem, int StartRow, int EndRow, const std::filesystem::path& tempFolder);

// Writes the rows on screen, from TopRow down to at most RowsInTerm rows and
// no further than LastRow, to "zkbuffer.txt" in `tempFolder`:
//   AbsCurRow = n      (the ring row dumped)
//     TextBuf = text
//     CntlBuf = codes
//     FormBuf = codes
//    ShiftBuf = codes
bool DebugTextBuffers(const DisplayMemory& mem, const std::filesystem::path& tempFolder);

} // namespace kalvor
