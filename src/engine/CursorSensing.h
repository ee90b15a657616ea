// Cursor-sensing replies: where the cursor stands, in display memory or on
// the screen, as the host reads it back.
#pragma once

#include "engine/TerminalState.h"

#include <string>

namespace kalvor {

// The cursor's row counted from the oldest row of display memory.
int AbsoluteCursorRow(const DisplayMemory& mem);
// ESC & a ccc c rrr R (absolute row), without terminator. Numbers are written
// with three digits, cut to their last three.
std::string BuildAbsAddr(const TerminalState& st);
// ESC & a ccc c rrr Y (screen row), without terminator.
std::string BuildRelAddr(const TerminalState& st);
// RS in block mode with page strapping, CR otherwise.
char ReplyTerminator(const TerminalState& st);

} // namespace kalvor
