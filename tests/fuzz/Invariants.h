// Structural invariants of display memory that must hold after every receive
// tick, whatever the host sent, and the failure report of every fuzz target.
#pragma once

#include "engine/DisplayMemory.h"

namespace kalvor::fuzz {

// Reports a broken invariant on stderr and ends the run with a trap.
[[noreturn]] void Fail(const char* what);
inline void Expect(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}

// Cursor, window and ring positions; then the rows in use (with `allRows`
// every row of the ring): a text of at most 255 columns and well-formed run
// strings (empty, or odd length >= 3, a header byte equal to the sum of the
// run lengths, every run but the last at least one column long, the last
// one open-ended).
void ExpectSoundDisplayMemory(const DisplayMemory& mem, bool allRows);

} // namespace kalvor::fuzz
