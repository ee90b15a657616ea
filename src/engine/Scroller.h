// Moving the screen window through display memory (scroll bar, page and roll
// keys, cursor addressing, line feeds) and memory lock.
#pragma once

#include "engine/TerminalHooks.h"
#include "engine/TerminalState.h"

#include <string_view>

namespace kalvor {

class Scroller {
public:
    Scroller(TerminalState& state, TerminalHooks& hooks) : st_(state), hooks_(hooks) {}

    // Moves the window `n` rows toward older rows; at the oldest row the
    // cursor moves up instead.
    void ScrollTermUp(int n);
    // Moves the window `n` rows toward newer rows, not past LastRow on the top
    // line. `formsShown`: the forms mode shows a form (the window stops with
    // LastRow on the bottom line and the cursor moves on).
    void ScrollTermDown(int n, bool formsShown = false);
    // Line feed at the cursor, honouring memory lock.
    void LineFeed();
    // "ON" or "OFF" (trimmed, any case); other texts change nothing.
    void MemLock(std::string_view mode);
    // Scrolls the rows below the locked rows up by `count` (memory lock on).
    void ScrollMemLock(int count);
    // The vertical scroll bar: value = age of TopRow (0 = oldest row).
    int VScrollValue() const { return st_.Mem.Age(st_.Mem.TopRow); }
    int VScrollMaximum() const { return st_.Mem.Age(st_.Mem.LastRow); }
    // The scroll bar moved to `value`. Disabled while the keyboard is locked;
    // with memory lock the cursor moves within the unlocked rows instead;
    // `formsShown`: TopRow follows the bar directly. Returns whether it acted.
    bool ScrollBarMoved(int value, bool formsShown = false);

    // Memory-lock soft-key label.
    const char* MemLockLabel() const { return st_.MemLock.On ? "  Lock *" : "  Lock"; }

private:
    void RotateLockedRows();

    TerminalState& st_;
    TerminalHooks& hooks_;
};

} // namespace kalvor
