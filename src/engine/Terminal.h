// The terminal engine of one window: its state and the routines that act on
// it, sharing one outbound hooks object.
#pragma once

#include "engine/EscapeDispatcher.h"
#include "engine/HostTextWriter.h"
#include "engine/LocalEditing.h"
#include "engine/Scroller.h"
#include "engine/TerminalHooks.h"
#include "engine/TerminalState.h"

namespace kalvor {

class Terminal {
public:
    explicit Terminal(TerminalHooks& hooks)
        : Hooks(hooks),
          Scroll(State, hooks),
          Writer(State, Scroll, hooks),
          Editing(State, Writer, Scroll, hooks),
          Escapes(*this)
    {}
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    TerminalHooks& Hooks;
    TerminalState State;
    Scroller Scroll;
    HostTextWriter Writer;
    LocalEditing Editing;
    EscapeDispatcher Escapes;
};

} // namespace kalvor
