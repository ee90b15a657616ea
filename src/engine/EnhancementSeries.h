// ESC & d sequences that follow one another at one cursor position with no
// character written between them.
//
// A curses program keeps an enhancement "in force" as a pen: it switches the
// enhancement back on after every cursor move and off again before the next
// move (ESC & d B ESC & d @ with nothing between). Here an enhancement starts
// a run in the row, so that pair would end a reverse run it lands in. "@" that
// closes such a series therefore undoes the series (the row's enhancements are
// as before it) and is recorded only when a character is written there.
#pragma once

#include "engine/DisplayMemory.h"

#include <string>

namespace kalvor {

class EnhancementSeries {
public:
    // Records enhancement `code` at the cursor (its pending row applied).
    void Record(DisplayMemory& m, char code);
    // Before a character is written at the cursor: a waiting "@" at the
    // cursor is recorded; the series ends.
    void BeforeText(DisplayMemory& m)
    {
        if (row_ >= 0)
            EndAt(m);
    }

private:
    void EndAt(DisplayMemory& m);

    int row_ = -1;            // ring row of the series; -1 when none
    int col_ = 0;             // its column
    bool raised_ = false;     // an enhancement other than "@" is in the series
    bool offWaiting_ = false; // "@" waits for a character at row_, col_
    std::string before_;      // CntlBuf before the series' first enhancement
    std::string after_;       // CntlBuf after its last ESC & d
};

// Stores `code` at the cursor, except "@" at column 0 of a row that holds
// nothing, which would only record "no enhancement" where there is none.
void StoreEnhancement(DisplayMemory& m, char code);

} // namespace kalvor
