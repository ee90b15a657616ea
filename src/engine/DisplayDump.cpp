#include "engine/DisplayDump.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <system_error>

namespace kalvor {
namespace {

constexpr std::string_view kEol = "\r\n";

void AppendLine(std::string& out, std::string_view label, std::string_view value)
{
    out.append(label);
    out.append(value);
    out.append(kEol);
}

std::string RowLabel(std::string_view name, int row)
{
    std::string s(name);
    s += '(';
    s += std::to_string(row);
    s += ") = ";
    return s;
}

std::size_t LengthWithoutTrailingBlanks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? 0 : last + 1;
}

// Replaces <name> in the temporary folder with `content`.
bool WriteTempFile(const std::filesystem::path& folder, const char* name, const std::string& content)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return false;
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    file.close();
    return !file.fail();
}

} // namespace

std::string RunStringCodes(std::string_view runs)
{
    if (runs.empty())
        return "Null";
    std::string out;
    out.reserve(runs.size() * 4);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (i > 0)
            out += ' ';
        out += std::to_string(static_cast<std::uint8_t>(runs[i]));
    }
    return out;
}

bool DisplayTextBuffers(const DisplayMemory& mem, int StartRow, int EndRow, const std::filesystem::path& tempFolder)
{
    StartRow = std::clamp(StartRow, 0, mem.MaxRow);
    EndRow = std::clamp(EndRow, 0, mem.MaxRow);
    std::string out;
    for (int n = StartRow; n <= EndRow; ++n) {
        const DisplayRow& row = mem.Row(n);
        AppendLine(out, RowLabel("TextBuf1", n), row.Text);
        AppendLine(out, RowLabel("CntlBuf", n), RunStringCodes(row.Cntl));
        AppendLine(out, RowLabel("ShiftBuf", n), RunStringCodes(row.Shift));
        AppendLine(out, RowLabel("FormBuf", n), RunStringCodes(row.Form));
        AppendLine(out, "    TextBufLen = ", std::to_string(LengthWithoutTrailingBlanks(row.Text)));
    }
    return WriteTempFile(tempFolder, "TxtBufs.txt", out);
}

bool DebugTextBuffers(const DisplayMemory& mem, const std::filesystem::path& tempFolder)
{
    std::string out;
    for (int screenRow = 0; screenRow < mem.RowsInTerm; ++screenRow) {
        const int n = mem.ScreenRowToRing(screenRow);
        if (n < 0)
            break;
        const DisplayRow& row = mem.Row(n);
        AppendLine(out, "AbsCurRow = ", std::to_string(n));
        AppendLine(out, "  TextBuf = ", row.Text);
        AppendLine(out, "  CntlBuf = ", RunStringCodes(row.Cntl));
        AppendLine(out, "  FormBuf = ", RunStringCodes(row.Form));
        AppendLine(out, " ShiftBuf = ", RunStringCodes(row.Shift));
    }
    return WriteTempFile(tempFolder, "zkbuffer.txt", out);
}

} // namespace kalvor
