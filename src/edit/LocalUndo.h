// One step of undo for the local commands that change display memory (Cut,
// Replace, Clear Line, Clear Display): display memory as it was before the
// last such command, offered only while memory is still exactly as that
// command left it (host output or typing since then withdraw it).
#pragma once

#include "engine/DisplayMemory.h"

#include <optional>

namespace kalvor::edit {

class LocalUndo {
public:
    // Around a local change: memory before it and after it.
    void Before(const DisplayMemory& memory) { before_.emplace(memory); }
    void After(const DisplayMemory& memory);
    // Memory `now` can go back to the saved state.
    bool Available(const DisplayMemory& now) const;
    // The state to go back to; the step is used up.
    DisplayMemory Take();

private:
    std::optional<DisplayMemory> before_;
    std::optional<DisplayMemory> after_;
};

} // namespace kalvor::edit
