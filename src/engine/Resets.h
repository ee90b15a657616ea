// Soft and hard reset of the terminal engine. The session wraps them: a soft
// reset there also sounds the bell, resets the block-transmission handshake
// and the escape state, and sends DC1 to a paused host; a hard reset there
// keeps the configured screen size and host character set.
#pragma once

namespace kalvor {

class Terminal;

// Soft reset, engine side, in this order: the cursor is shown again with its
// saved form (when hidden), the keyboard is unlocked, insert-character mode,
// shadow-row mode and display functions go off, and record mode ends
// together with the copies of host text to the print and record files.
// Display memory, the cursor position, tabs, margins and the configuration
// switches stay as they are. The mode soft-key labels follow the record-mode
// state; StateChanged tells their owner (and the window) to refresh.
void ResetSoft(Terminal& t);

// Hard reset: every switch of the terminal back to its initial value (straps,
// mode bits, tab stops every eighth column, colours, key remap table, ...),
// display memory emptied (every row of the ring, wrapped or not) with the
// cursor, the margins and the screen back to 80 columns by 24 rows. The
// extend-character table is kept: it follows the host character set, which
// the session keeps. When escape logging was on the log is closed, and when
// caps lock was on the keyboard is told that it went off.
void ResetHard(Terminal& t);

} // namespace kalvor
