// The terminal's switches and display memory: the state that host output,
// escape sequences and the keyboard act on. A plain record; the subsystems
// that change it own the rules. What the window shows of it (indicators,
// soft-key marks, colours) is read from here after a StateChanged hook.
#pragma once

#include "engine/DisplayMemory.h"
#include "engine/EnhancementSeries.h"

#include <array>
#include <cstdint>
#include <string>

namespace kalvor {

// Terminal straps set by ESC & s.
struct Straps {
    bool A = false; // cursor and editing keys transmit their escape sequences
    bool B = false;
    bool G = false; // inhibit handshake
    bool H = false; // inhibit DC2
    // Strap D is stored inverted: ESC & s 1 D clears this flag (page
    // strapping, the default), any other value sets it (line strapping).
    bool LineStrapping = false;
    bool PageStrapping() const { return !LineStrapping; }
};

// Mode bits of the transmit-mode word.
enum ModeBit : int {
    kLineModify = 1,
    kModifyAll = 2,
    kBlockMode = 4,
};

// Memory lock: the screen rows above the cursor stay in place while the rows
// below them scroll. The locked rows remain ordinary rows of display memory
// (the host may still write to them); when the unlocked part scrolls, the row
// leaving it is moved above the locked rows in memory.
struct MemoryLockState {
    static constexpr int kMaxLockedRows = 24;
    bool On = false;
    int LastLockedRow = -1; // index of the last locked screen row (CurRow - 1 when set, at most 23)
};

// Every switch of the terminal, apart from display memory: a
// default-constructed TerminalSettings holds the initial values (a hard reset
// assigns one).
struct TerminalSettings {
    TerminalSettings() { ResetTabStops(); }

    // Host-output interpreter switches.
    bool MarginWrap = false;          // strap C: the right margin does not limit text
    bool InsertMode = false;          // insert-character switch (status-bar indicator)
    bool FormatMode = false;          // ESC W / ESC X
    bool DisplayFunctions = false;    // ESC Y / ESC Z; soft-key label "Functns*"
    int RecordMode = 0;               // 0 off; >= 1 record mode; 2 set by the device-control escape
    bool BellOn = true;               // ESC & k D: BEL sounds only when set
    bool LineDrawingSelection = true; // ESC ) B: SO selects the line-drawing set
    bool ShiftedOut = false;          // SO received and no SI since: text takes the alternate set
    bool RemoteMode = false;          // ESC & k R: BS stops at the row's LineStartCol
    int OutputRouting = 1;            // bit 1 display; bits 2 and 4 copy text to the print/file log
    bool EscapeLogging = false;       // strap N: escape log open
    bool HostRoman8 = true;           // host character set is "Roman8" (else Latin-1)
    bool AutoLineFeed = false;        // ESC & k A: NUL LF follows a transmitted CR on request

    // Configuration switches (ESC & k, ESC & s, ESC & x).
    Straps Strap;
    int ModeBits = 0;         // kLineModify | kModifyAll | kBlockMode
    bool CapsLock = false;    // ESC & k P: the upper-case lock
    bool EightBitData = true; // ESC & k I: serial line data bits
    bool PreferenceC = false; // ESC & k C
    bool PreferenceL = false; // ESC & k L
    bool InputOption = false; // ESC & x C: local keyboard input option
    bool StatusFlag = false;  // the terminal's status flag (primary status byte 6)
    bool BlockMode() const { return (ModeBits & kBlockMode) != 0; }

    // Keyboard and display indicators.
    bool KeyboardLocked = false; // ESC c / ESC b: keyboard-lock indicator, scroll bars disabled
    bool ShadowRowMode = false;  // ESC j; only a reset turns it off
    int ShadowRow = 0;           // 0..23
    MemoryLockState MemLock;
    int CursorForm = 1;        // 1 or another value: the two cursor forms (ESC * d n Q)
    bool CursorHidden = false; // ESC * d R
    int SavedCursorForm = 1;

    // Colours (ESC % x, ESC * d E).
    int ColorScheme = 0; // 0..12
    bool InverseScreen = false;
    std::uint32_t Foreground = 0xffc000;
    std::uint32_t Background = 0x000000;
    std::uint32_t HalfBright = 0xcf9400;
    std::uint32_t HalfBright2 = 0xcf9400;

    // Print settings (ESC % p).
    int PrintFontSize = 10; // 4..24
    int PrintCopies = 1;    // 1..99
    bool PrintPageHeader = true;
    bool PrintFontSizeSet = false; // the host chose the font size (else the configuration's applies)

    std::array<bool, DisplayMemory::kMaxCols> TabStops{};

    // Host-defined replacement strings for keys, indexed by key code 0..256
    // (ESC & k remapping); empty = not remapped.
    std::array<std::string, 257> KeyRemap;
    // Accented character entered after the extend-character key, by the code
    // of the key typed (0 = none); rebuilt when the character set changes.
    std::array<std::uint8_t, 256> ExtendChar{};

    // Tab stops at every eighth column (8, 16, ...).
    void ResetTabStops()
    {
        for (std::size_t c = 0; c < TabStops.size(); ++c)
            TabStops[c] = c > 0 && c % 8 == 0;
    }
};

struct TerminalState : TerminalSettings {
    DisplayMemory Mem;
    EnhancementSeries EnhSeries; // ESC & d at one position with no character between
};

} // namespace kalvor
