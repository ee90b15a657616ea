// ESC & d as a curses program uses it: as a pen.
//
// Here an enhancement starts a run in the row that reaches to the next one. A
// curses program instead keeps an enhancement "in force" while it writes, and
// switches it off (ESC & d @) after the characters that take it, before every
// cursor move and at the end of an update; it also switches it on again after
// every cursor move. Recorded as runs, those "@"s would cut an enhanced region
// the program wrote into: a box edge or an entry field in reverse loses its
// cells after the cursor. So "@" right after an enhancement (at its column, or
// just after the characters written under it) gives the columns from the
// cursor on back the enhancements they had before that enhancement, and is
// itself recorded only when a character is written there.
#pragma once

#include "engine/DisplayMemory.h"

#include <string>

namespace kalvor {

class EnhancementSeries {
public:
    // Records enhancement `code` at the cursor (its pending row applied).
    void Record(DisplayMemory& m, char code);
    // Before `length` characters are written at the cursor.
    void BeforeText(DisplayMemory& m, int length)
    {
        if (row_ >= 0)
            TextAt(m, length);
    }

private:
    void TextAt(DisplayMemory& m, int length);
    bool AtSeries(const DisplayMemory& m, int col) const;

    int row_ = -1;            // ring row of the enhancement in force or the waiting "@"; -1 when none
    int col_ = 0;             // where the next "@" switches it off: after its characters
    bool raised_ = false;     // an enhancement other than "@" is in force
    bool offWaiting_ = false; // "@" waits for a character at row_, col_
    std::string before_;      // CntlBuf before the enhancement in force
    std::string after_;       // CntlBuf as this series left it
};

// Stores `code` at the cursor, except "@" at column 0 of a row that holds
// nothing, which would only record "no enhancement" where there is none.
void StoreEnhancement(DisplayMemory& m, char code);

} // namespace kalvor
