// The terminal's switches and display memory: the state that host output,
// escape sequences and the keyboard act on. A plain record; the subsystems
// that change it own the rules.
#pragma once

#include "engine/DisplayMemory.h"

#include <array>

namespace kalvor {

struct TerminalState {
    TerminalState() { ResetTabStops(); }

    DisplayMemory Mem;

    // Host-output interpreter switches.
    bool MarginWrap = false;          // strap C: the right margin does not limit text
    bool InsertMode = false;          // insert-character switch (status-bar indicator)
    bool FormatMode = false;          // ESC W / ESC X
    bool DisplayFunctions = false;    // ESC Y / ESC Z; soft-key label "Functns*"
    int RecordMode = 0;               // 0 off; >= 1 record mode; 2 set by the device-control escape
    bool BellOn = true;               // ESC & k D: BEL sounds only when set
    bool LineDrawingSelection = true; // ESC ) B: SO selects the line-drawing set
    bool RemoteMode = false;          // ESC & k R: BS stops at the row's LineStartCol
    int OutputRouting = 1;            // bit 1 display; bits 2 and 4 copy text to the print/file log
    bool EscapeLogging = false;       // strap N: escape log open
    bool HostRoman8 = true;           // host character set is "Roman8" (else Latin-1)
    bool AutoLineFeed = false;        // ESC & k A: NUL LF follows a transmitted CR on request

    std::array<bool, DisplayMemory::kMaxCols> TabStops{};

    // Tab stops at every eighth column (8, 16, ...).
    void ResetTabStops()
    {
        for (std::size_t c = 0; c < TabStops.size(); ++c)
            TabStops[c] = c > 0 && c % 8 == 0;
    }
};

} // namespace kalvor
