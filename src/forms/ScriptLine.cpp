#include "forms/ScriptLine.h"

#include <algorithm>
#include <cctype>

namespace kalvor::forms {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TakeToken(std::string_view& rest)
{
    rest = TrimBlanks(rest);
    if (rest.empty())
        return {};
    if (rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) {
            const std::string_view token = rest.substr(1);
            rest = {};
            return token;
        }
        const std::string_view token = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
        return token;
    }
    const auto end = std::find_if(rest.begin(), rest.end(), IsBlank);
    const auto length = static_cast<std::size_t>(end - rest.begin());
    const std::string_view token = rest.substr(0, length);
    rest.remove_prefix(length);
    return token;
}

} // namespace

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool NextFormLine(std::string_view text, std::size_t& pos, std::string_view& line)
{
    if (pos >= text.size())
        return false;
    const std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
        line = text.substr(pos);
        pos = text.size();
        return true;
    }
    line = text.substr(pos, end - pos);
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
        ++pos;
    return true;
}

bool SplitCommandLine(std::string_view line, CommandLine& out)
{
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '/')
        return false;
    const auto blank = std::find_if(line.begin(), line.end(), IsBlank);
    const auto wordLength = static_cast<std::size_t>(blank - line.begin());
    out.Word.assign(line.substr(0, wordLength));
    for (char& c : out.Word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string_view params = TrimBlanks(line.substr(wordLength));
    out.HasParams = params.size() >= 2;
    out.Params = out.HasParams ? TrimBlanks(params.substr(1, params.size() - 2)) : std::string_view{};
    return true;
}

std::string_view ParamReader::Next() { return TakeToken(rest_); }

std::string_view ParamReader::Peek() const
{
    std::string_view copy = rest_;
    return TakeToken(copy);
}

Colour ParamReader::Colour3()
{
    const double r = Number();
    const double g = Number();
    const double b = Number();
    return ColourFromPercent(r, g, b);
}

std::string_view ParamReader::Rest() const
{
    std::string_view r = rest_;
    while (!r.empty() && IsBlank(r.front()))
        r.remove_prefix(1);
    return r;
}

} // namespace kalvor::forms
