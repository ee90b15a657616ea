// The terminal engine of one window: its state, the text writer and the
// escape dispatcher, sharing one outbound hooks object.
#pragma once

#include "engine/EscapeDispatcher.h"
#include "engine/HostTextWriter.h"
#include "engine/TerminalHooks.h"
#include "engine/TerminalState.h"

namespace kalvor {

class Terminal {
public:
    explicit Terminal(TerminalHooks& hooks) : Writer(State, hooks), Escapes(State, Writer, hooks) {}
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    TerminalState State;
    HostTextWriter Writer;
    EscapeDispatcher Escapes;
};

} // namespace kalvor
