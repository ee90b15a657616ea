#include "script/ScriptPreparation.h"

#include "script/ScriptReader.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kalvor::script {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void PutCharacter(std::string& out, std::uint32_t code) { out.push_back(code <= 255 ? static_cast<char>(code) : '?'); }

std::string FromUtf8(std::string_view in)
{
    std::string out;
    for (std::size_t i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= in.size()) {
            out.push_back('?');
            ++i;
            continue;
        }
        std::uint32_t code = extra == 0 ? b : b & (0x3F >> extra);
        bool good = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(in[i + static_cast<std::size_t>(k)]);
            good = good && (c & 0xC0) == 0x80;
            code = (code << 6) | (c & 0x3F);
        }
        if (!good) {
            out.push_back('?');
            ++i;
            continue;
        }
        PutCharacter(out, code);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string FromUtf16(std::string_view in, bool bigEndian)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        const auto hi = static_cast<unsigned char>(in[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(in[bigEndian ? i + 1 : i]);
        // Surrogate pairs name characters far above 255: each half is a "?".
        PutCharacter(out, static_cast<std::uint32_t>(hi << 8 | lo));
    }
    return out;
}

// A line as the user's message shows it: printable, at most 40 characters.
std::string Shown(std::string_view line)
{
    std::string out;
    for (const char c : line.substr(0, 40))
        out.push_back(static_cast<unsigned char>(c) < 32 ? '?' : c);
    return line.size() > 40 ? out + "..." : out;
}

// Text saved as UTF-16 without a byte-order mark: every other byte NUL.
bool LooksLikeBareUtf16(std::string_view bytes)
{
    if (bytes.size() < 4)
        return false;
    std::size_t nul = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        nul += bytes[i] == '\0' ? 1 : 0;
    return nul * 3 >= bytes.size();
}

} // namespace

std::string SourceCharacters(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return FromUtf8(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE"))
        return FromUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return FromUtf16(bytes.substr(2), true);
    return std::string(bytes);
}

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
    const std::string decoded = DecodeScriptSource(SourceCharacters(text));
    out.write(decoded.data(), static_cast<std::streamsize>(decoded.size()));
    out.close();
    return !out.fail();
}

PreparedScript PrepareScriptFile(const std::filesystem::path& source, const std::filesystem::path& working)
{
    const auto notRun = [](std::string why) { return PreparedScript{false, "Script not run: " + std::move(why)}; };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec))
        return notRun("the file " + source.filename().string() + " is not there");
    if (!WriteWorkingScript(source, working))
        return notRun("the file " + source.filename().string() + " cannot be read");
    ScriptReader reader;
    if (!reader.Open(working))
        return notRun("the working script cannot be written");
    const ScriptLine first = reader.NextLine();
    if (first.Command == "ADDR" || first.Command == "DIAL")
        return {true, {}};
    std::ifstream in(source, std::ios::binary);
    std::string head(64, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (LooksLikeBareUtf16(head))
        return notRun("the file is UTF-16 without a byte-order mark; save it as ANSI, UTF-8 or UTF-16 with a BOM");
    std::ifstream working_in(working, std::ios::binary);
    std::string line;
    std::getline(working_in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty())
        return notRun("the file is empty");
    return notRun("the first line is \"" + Shown(line) + "\", not ADDR or DIAL");
}

} // namespace kalvor::script
