// The next-line reader of the working script. A line ends at CR, or at CR LF;
// a lone LF is data. Each line is a command word and an argument: the command
// is the text up to the first space, trimmed and upper-cased; the argument is
// everything after that space, untrimmed (a line without a space has an empty
// argument). At the end of the file the reader returns "EXIT" with an empty
// argument, however often it is asked.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kalvor::script {

struct ScriptLine {
    std::string Command;
    std::string Argument;
};

ScriptLine ParseScriptLine(std::string_view line);

class ScriptReader {
public:
    bool Open(const std::filesystem::path& working);
    void Close() { in_.close(); }
    bool IsOpen() const { return in_.is_open(); }
    ScriptLine NextLine();

private:
    std::ifstream in_;
};

} // namespace kalvor::script
