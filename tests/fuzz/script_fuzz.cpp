// Fuzz target for the log-on script reader: bytes of any shape are a script
// file given on the command line. They are prepared into the working script
// under a temporary program folder and read line by line to the end.
//
// Invariants, checked after every input (a violation is reported on stderr
// and ends the run with a trap):
//   - a source's characters are never more than its bytes;
//   - the working script is the decoded source, each line ended by CR LF;
//   - the preparation either runs the script (first line ADDR or DIAL) or
//     says why not, in a text that begins "Script not run: ";
//   - the reader gives command words without blanks or lower-case letters,
//     reaches "EXIT" within one line per CR of the working script, and keeps
//     answering "EXIT".
#include "FileBytes.h"
#include "Invariants.h"
#include "base/ProgramFolder.h"
#include "script/ScriptPreparation.h"
#include "script/ScriptReader.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

using namespace kalvor::script;
using kalvor::fuzz::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 16))
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string characters = SourceCharacters(bytes);
    Expect(characters.size() <= bytes.size(), "more characters than bytes");

    const std::filesystem::path home = kalvor::ProgramFolder();
    const std::filesystem::path source = home / "logon.zkt";
    const std::filesystem::path working = home / "temp" / "zkscript.txt";
    kalvor::test::WriteAll(source, bytes);
    const PreparedScript prepared = PrepareScriptFile(source, working);
    Expect(prepared.Runs == prepared.Problem.empty(), "a script that runs has no problem, and only then");
    Expect(prepared.Runs || prepared.Problem.starts_with("Script not run: "), "problem text");

    const std::string written = kalvor::test::ReadAll(working);
    Expect(written == DecodeScriptSource(characters), "working script is not the decoded source");
    Expect(written.empty() || written.ends_with("\r\n"), "last line without CR LF");

    ScriptReader reader;
    Expect(reader.Open(working), "working script not opened");
    const std::size_t lines = static_cast<std::size_t>(std::count(written.begin(), written.end(), '\r'));
    std::size_t read = 0;
    for (;; ++read) {
        Expect(read <= lines + 1, "the reader does not reach EXIT");
        const ScriptLine line = reader.NextLine();
        Expect(std::none_of(line.Command.begin(), line.Command.end(),
                            [](char c) { return c == ' ' || (c >= 'a' && c <= 'z'); }),
               "command word with a blank or a lower-case letter");
        if (line.Command == "EXIT" && line.Argument.empty() && read >= lines)
            break;
    }
    Expect(reader.NextLine().Command == "EXIT", "EXIT is not repeated at the end");
    if (prepared.Runs) {
        ScriptReader first;
        first.Open(working);
        const std::string command = first.NextLine().Command;
        Expect(command == "ADDR" || command == "DIAL", "a script runs without ADDR or DIAL");
    }
    return 0;
}
