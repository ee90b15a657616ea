// Preparing a log-on script: the source file a user gives on the command line
// becomes the working script "temp/zkscript.txt" under the program folder,
// one command per line. In the source, a backslash followed by three decimal
// digits stands for the character with that code, and every character below
// 32 (CR, LF, any other control character) ends a line.
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

// Deletes any old working script and writes the new one from `source`.
// False when the source cannot be read or the working script not written.
bool WriteWorkingScript(const std::filesystem::path& source, const std::filesystem::path& working);

} // namespace kalvor::script
