// Dispatch of complete escape sequences, framed by the receive pass. A
// sequence begins with ESC; its second character is the group: "&", "*" and
// "%" are parameterised (class letter, parameters, upper-case terminator),
// ")" takes one more character, anything else is a two-character command.
#pragma once

#include <string_view>

namespace kalvor {

class Terminal;

enum class EscapeStatus {
    Done,     // consumed
    NeedMore, // more characters are needed (announced data); hold and wait
    Invalid,  // discarded without effect
};

struct EscapeResult {
    EscapeStatus Status = EscapeStatus::Done;
    int MoreChars = 0; // with NeedMore: how many characters are still missing
};

inline constexpr EscapeResult kEscDone{EscapeStatus::Done, 0};
inline constexpr EscapeResult kEscInvalid{EscapeStatus::Invalid, 0};

class EscapeDispatcher {
public:
    explicit EscapeDispatcher(Terminal& terminal) : t_(terminal) {}

    EscapeResult Dispatch(std::string_view seq);

private:
    EscapeResult SingleCharacter(char command);
    EscapeResult Ampersand(std::string_view seq);
    EscapeResult Asterisk(std::string_view seq);
    EscapeResult Percent(std::string_view seq);
    EscapeResult DefineFunctionKey(std::string_view seq, std::size_t headerEnd);
    EscapeResult FunctionKeyControl(std::string_view seq, std::size_t headerEnd);
    EscapeResult DeviceControl(std::string_view seq);

    Terminal& t_;
};

// Position of the character that ends a parameterised sequence (the first
// character from the third on whose code is 64..94 or 33), or npos.
std::size_t FindParameterTerminator(std::string_view seq, std::size_t from = 2);

} // namespace kalvor
