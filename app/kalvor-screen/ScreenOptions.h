// Command-line options of kalvor-screen.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kalvor {

struct ScreenOptions {
    enum class Format { Text, Json };

    int Cols = 80;
    int Rows = 24;
    bool Roman8 = true;
    Format OutputFormat = Format::Text;
    bool Memory = false;
    std::string RepliesFile; // empty: not connected
    bool Serial = false;
    std::string EventsFile;
    std::string ScriptFile; // a log-on script run against the events (runs connected)
    bool Quiet = false;
    std::vector<std::string> Files; // "-" is standard input
};

// Parses argv; on error returns nothing and writes the reason to `error`.
std::optional<ScreenOptions> ParseScreenOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kScreenUsage;

} // namespace kalvor
