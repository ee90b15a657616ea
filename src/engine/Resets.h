// Soft and hard reset of the terminal engine.
#pragma once

namespace kalvor {

class Terminal;

// Soft reset: keyboard unlocked, insert mode, shadow-row mode and display
// functions off, the cursor shown again; display memory, the cursor, tabs,
// margins and the configuration switches stay.
void ResetSoft(Terminal& t);
// Hard reset: every switch back to its initial state and display memory
// emptied (all rows of the ring).
void ResetHard(Terminal& t);

} // namespace kalvor
