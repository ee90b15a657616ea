// Dispatch of complete escape sequences, framed by the receive pass. A
// sequence begins with ESC; its second character is the group: "&", "*" and
// "%" are parameterised (class letter, parameters, upper-case terminator),
// ")" takes one more character, anything else is a two-character command.
#pragma once

#include "engine/TerminalHooks.h"
#include "engine/TerminalState.h"

#include <string_view>

namespace kalvor {

class HostTextWriter;

enum class EscapeStatus {
    Done,     // consumed
    NeedMore, // more characters are needed (announced data); hold and wait
    Invalid,  // discarded without effect
};

struct EscapeResult {
    EscapeStatus Status = EscapeStatus::Done;
    int MoreChars = 0; // with NeedMore: how many characters are still missing
};

class EscapeDispatcher {
public:
    EscapeDispatcher(TerminalState& state, HostTextWriter& writer, TerminalHooks& hooks)
        : st_(state), writer_(writer), hooks_(hooks)
    {
    }

    EscapeResult Dispatch(std::string_view seq);

private:
    EscapeResult DispatchAmpersand(std::string_view seq);
    EscapeResult DefineFunctionKey(std::string_view seq, std::size_t headerEnd);

    TerminalState& st_;
    HostTextWriter& writer_;
    TerminalHooks& hooks_;
};

// Position of the character that ends a parameterised sequence (the first
// character from the third on whose code is 64..94 or 33), or npos.
std::size_t FindParameterTerminator(std::string_view seq, std::size_t from = 2);

} // namespace kalvor
