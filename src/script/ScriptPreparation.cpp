#include "script/ScriptPreparation.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace kalvor::script {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string DecodeScriptSource(std::string_view source)
{
    std::string out;
    std::string line;
    const auto endLine = [&] {
        if (!line.empty()) {
            out += line;
            out += "\r\n";
            line.clear();
        }
    };
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '\\' && i + 3 < source.size() && IsDigit(source[i + 1]) && IsDigit(source[i + 2]) &&
            IsDigit(source[i + 3])) {
            const int code = (source[i + 1] - '0') * 100 + (source[i + 2] - '0') * 10 + (source[i + 3] - '0');
            // A code above 255 names no character: the backslash stays text.
            if (code <= 255) {
                line.push_back(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        if (static_cast<unsigned char>(c) < 32)
            endLine();
        else
            line.push_back(c);
    }
    endLine();
    return out;
}

bool WriteWorkingScript(const std::filesystem::path& source, const std::filesystem::path& working)
{
    std::error_code ec;
    std::filesystem::remove(working, ec);
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    std::filesystem::create_directories(working.parent_path(), ec);
    std::ofstream out(working, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::string decoded = DecodeScriptSource(text);
    out.write(decoded.data(), static_cast<std::streamsize>(decoded.size()));
    out.close();
    return !out.fail();
}

} // namespace kalvor::script
