#include "engine/EscapeDispatcher.h"

#include "engine/HostTextWriter.h"

#include <algorithm>
#include <cctype>

namespace kalvor {
namespace {

bool IsTerminator(unsigned char c) { return c == 33 || (c >= 64 && c <= 94); }

} // namespace

std::size_t FindParameterTerminator(std::string_view seq, std::size_t from)
{
    for (std::size_t i = from; i < seq.size(); ++i)
        if (IsTerminator(static_cast<unsigned char>(seq[i])))
            return i;
    return std::string_view::npos;
}

EscapeResult EscapeDispatcher::Dispatch(std::string_view seq)
{
    if (seq.size() < 2 || seq[0] != '\x1b')
        return {EscapeStatus::Invalid};
    switch (seq[1]) {
    case '&':
        return DispatchAmpersand(seq);
    case '*':
    case '%':
        return {EscapeStatus::Done};
    case ')':
        // ESC ) x: the line-drawing selection is on for "B", off otherwise.
        if (seq.size() < 3)
            return {EscapeStatus::NeedMore, 1};
        st_.LineDrawingSelection = seq[2] == 'B';
        return {EscapeStatus::Done};
    default:
        return {EscapeStatus::Done};
    }
}

EscapeResult EscapeDispatcher::DispatchAmpersand(std::string_view seq)
{
    const std::size_t end = FindParameterTerminator(seq);
    if (end == std::string_view::npos)
        return {EscapeStatus::Invalid};
    if (seq.size() > 2 && seq[2] == 'f')
        return DefineFunctionKey(seq, end);
    return {EscapeStatus::Done};
}

// ESC & f: user-key definition. Parameter groups are an optional "-", digits
// and a letter (a attribute, k key, d label length, l string length, e
// execute, b save); when the header ends with D, K or L the label and the
// string follow it, label length plus string length characters in all.
EscapeResult EscapeDispatcher::DefineFunctionKey(std::string_view seq, std::size_t headerEnd)
{
    int labelLength = 0;
    int stringLength = 0;
    bool negative = false;
    long number = 0;
    bool haveNumber = false;
    for (std::size_t i = 3; i <= headerEnd; ++i) {
        const char c = seq[i];
        if (c == ' ')
            continue;
        if (c == '-' && !haveNumber) {
            negative = true;
            continue;
        }
        if (c >= '0' && c <= '9') {
            number = std::min(number * 10 + (c - '0'), 100000L);
            haveNumber = true;
            continue;
        }
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const long value = negative ? -number : number;
        switch (letter) {
        case 'd':
            labelLength = static_cast<int>(std::clamp(value, 0L, 16L));
            break;
        case 'l':
            stringLength = value == -1 ? 0 : static_cast<int>(std::clamp(value, 0L, 255L));
            break;
        case 'a':
        case 'k':
        case 'e':
        case 'b':
            break;
        default:
            return {EscapeStatus::Invalid};
        }
        negative = false;
        number = 0;
        haveNumber = false;
    }
    const char last = seq[headerEnd];
    if (last != 'D' && last != 'K' && last != 'L')
        return {EscapeStatus::Done};
    if (labelLength + stringLength > 255)
        stringLength = 255 - labelLength;
    const std::size_t have = seq.size() - headerEnd - 1;
    const auto need = static_cast<std::size_t>(labelLength + stringLength);
    if (have < need)
        return {EscapeStatus::NeedMore, static_cast<int>(need - have)};
    return {EscapeStatus::Done};
}

} // namespace kalvor
