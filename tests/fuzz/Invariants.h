// Structural invariants of display memory that must hold after every receive
// tick, whatever the host sent. Each check returns nullptr when all is well,
// or a short description of the first violation found.
#pragma once

#include "engine/DisplayMemory.h"

#include <string>
#include <string_view>

namespace kalvor::fuzz {

// A run string is empty, or: odd length >= 3; a header byte equal to the sum
// of the run lengths before the final run; every run but the last at least
// one column long; the last run of length 0.
const char* RunStringProblem(std::string_view runs);

// Cursor, window and ring positions; then the rows: the rows in use (and,
// with `allRows`, every row of the ring) have a text of at most 255 columns
// and well-formed run strings. `where` receives the ring row of a bad row
// (-1 for a position problem).
const char* DisplayMemoryProblem(const DisplayMemory& mem, bool allRows, int& where);

// Reports a broken invariant on stderr and ends the run with a trap.
[[noreturn]] void Fail(const char* what);
inline void Expect(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}
// DisplayMemoryProblem, failing with an account of the cursor, the ring
// positions and the bad row's run strings.
void ExpectSoundDisplayMemory(const DisplayMemory& mem, bool allRows);

} // namespace kalvor::fuzz
