#include "edit/LocalUndo.h"

#include <utility>

namespace kalvor::edit {

void LocalUndo::After(const DisplayMemory& memory)
{
    if (before_ && before_->SameContents(memory))
        before_.reset(); // nothing changed: nothing to undo
    if (before_)
        after_.emplace(memory);
    else
        after_.reset();
}

bool LocalUndo::Available(const DisplayMemory& now) const { return before_ && after_ && after_->SameContents(now); }

DisplayMemory LocalUndo::Take()
{
    DisplayMemory saved = std::move(*before_);
    before_.reset();
    after_.reset();
    return saved;
}

} // namespace kalvor::edit
