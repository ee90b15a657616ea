#include "script/ScriptReader.h"

#include "script/ScriptText.h"

namespace kalvor::script {

ScriptLine ParseScriptLine(std::string_view line)
{
    ScriptLine out;
    const std::size_t space = line.find(' ');
    out.Command = AsciiUpper(TrimSpaces(line.substr(0, space)));
    if (space != std::string_view::npos)
        out.Argument = std::string(line.substr(space + 1));
    return out;
}

bool ScriptReader::Open(const std::filesystem::path& working)
{
    in_.close();
    in_.clear();
    in_.open(working, std::ios::binary);
    return in_.is_open();
}

ScriptLine ScriptReader::NextLine()
{
    if (!in_.is_open() || in_.peek() == std::ifstream::traits_type::eof())
        return ScriptLine{"EXIT", {}};
    std::string line;
    for (;;) {
        const int c = in_.get();
        if (c == std::ifstream::traits_type::eof())
            break;
        if (c == '\r') {
            if (in_.peek() == '\n')
                in_.get();
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    return ParseScriptLine(line);
}

} // namespace kalvor::script
