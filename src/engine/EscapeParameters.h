// The parameter grammar of the "&", "*" and "%" groups. Parameters start at
// the fourth character (after ESC, the group and the class letter) and are
// read left to right with a number buffer:
//   digit       appended to the number
//   "+" / "-"   (where allowed) the next number is relative, forward or back
//   space       skipped
//   letter      accepted by the class: ends the number, which is applied to
//               that parameter; lower case continues, upper case ends
//   other       the sequence is invalid and discarded
#pragma once

#include <string_view>

namespace kalvor {

struct EscParameter {
    char Letter = 0;       // as received (lower or upper case)
    bool HasValue = false; // the number buffer was not empty
    long Value = 0;        // clamped to +-9999999
    int Relative = 0;      // +1 forward, -1 backward, 0 absolute
    char Lower() const { return Letter >= 'A' && Letter <= 'Z' ? static_cast<char>(Letter + 32) : Letter; }
    bool Final() const { return Letter < 'a' || Letter > 'z'; }
    // The value as a signed number (relative sign applied).
    long Signed() const { return Relative < 0 ? -Value : Value; }
};

// Reads the parameters of `seq` from `start` on. `accepted` lists the class's
// parameter letters in lower case (their upper-case forms end the sequence;
// a terminator that is not a letter, such as "@" or "^", is accepted when it
// is listed). Calls `onParameter(const EscParameter&)` for each; returns false
// when the sequence is invalid (nothing is applied in that case: callers
// collect first and apply after a true result).
template <typename F>
bool ReadEscParameters(std::string_view seq, std::string_view accepted, bool allowSign, F&& onParameter,
                       std::size_t start = 3)
{
    EscParameter p;
    for (std::size_t i = start; i < seq.size(); ++i) {
        const char c = seq[i];
        if (c >= '0' && c <= '9') {
            if (p.Value < 1000000)
                p.Value = p.Value * 10 + (c - '0');
            p.HasValue = true;
            continue;
        }
        if (c == ' ')
            continue;
        if ((c == '+' || c == '-') && allowSign) {
            p.Relative = c == '+' ? 1 : -1;
            continue;
        }
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        if (accepted.find(lower) == std::string_view::npos)
            return false;
        p.Letter = c;
        onParameter(static_cast<const EscParameter&>(p));
        p = EscParameter{};
    }
    return true;
}

} // namespace kalvor
