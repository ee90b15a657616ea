// Preparing a log-on script: the source file a user gives on the command line
// becomes the working script "temp/zkscript.txt" under the program folder,
// one command per line. In the source, a backslash followed by three decimal
// digits stands for the character with that code, and every character below
// 32 (CR, LF, any other control character) ends a line. A source saved as
// UTF-8 or UTF-16 with a byte-order mark is read as its characters (those
// above 255 become "?"); without a mark the bytes are taken as they are.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvor::script {

inline constexpr const char* kWorkingScript = "temp/zkscript.txt";

// The working script's text for a source text: each line ended by CR LF.
// Empty lines are left out. A decoded character keeps its code, so an escaped
// CR ("\013") inside a line ends it when the working script is read, while an
// escaped LF stays in the line as data.
std::string DecodeScriptSource(std::string_view source);

// The characters of a source file's bytes, one byte each (see above).
std::string SourceCharacters(std::string_view bytes);

// Deletes any old working script and writes the new one from `source`.
// False when the source cannot be read or the working script not written.
bool WriteWorkingScript(const std::filesystem::path& source, const std::filesystem::path& working);

// A script prepared at start-up: whether it runs (its first line is ADDR or
// DIAL) and, when it does not, why, for the user: "Script not run: the first
// line is "HELLO", not ADDR or DIAL".
struct PreparedScript {
    bool Runs = false;
    std::string Problem;
};

// Writes the working script from `source` and looks at its first line.
PreparedScript PrepareScriptFile(const std::filesystem::path& source, const std::filesystem::path& working);

} // namespace kalvor::script
