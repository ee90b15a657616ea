#include "edit/WordMarking.h"

#include "base/Text.h"

#include <cctype>
#include <fstream>
#include <set>
#include <vector>

namespace kalvor::edit {
namespace {

struct AddressEntry {
    std::string Key; // upper case
    std::string Address;
};

std::string LineWithoutEnd(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return line;
}

// The scheme of an address in lower case ("http"), or empty.
std::string Scheme(std::string_view address)
{
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string s;
    for (char c : address.substr(0, colon)) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return {};
        s.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return s;
}

std::vector<AddressEntry> ReadAddressList(const std::filesystem::path& programFolder)
{
    const std::filesystem::path config = programFolder / "config";
    std::ifstream list(config / "searchvaluesfile.txt", std::ios::binary);
    std::string name;
    if (!list || !std::getline(list, name))
        return {};
    std::filesystem::path second = TrimSpaces(LineWithoutEnd(name));
    if (second.empty())
        return {};
    if (second.is_relative())
        second = config / second;
    std::ifstream in(second, std::ios::binary);
    std::vector<AddressEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        line = LineWithoutEnd(line);
        const std::size_t bar = line.find('|');
        if (bar == std::string::npos || bar == 0)
            continue;
        entries.push_back({AsciiUpper(line.substr(0, bar)), std::string(TrimSpaces(line.substr(bar + 1)))});
    }
    return entries;
}

std::size_t NextBlank(std::string_view text, std::size_t from)
{
    const std::size_t blank = text.find(' ', from);
    return blank == std::string_view::npos ? text.size() : blank;
}

} // namespace

std::optional<WordSpan> WordAt(std::string_view rowText, int col)
{
    if (col < 0 || static_cast<std::size_t>(col) >= rowText.size() || rowText[static_cast<std::size_t>(col)] == ' ')
        return std::nullopt;
    int start = col;
    while (start > 0 && rowText[static_cast<std::size_t>(start - 1)] != ' ')
        --start;
    const auto end = static_cast<int>(NextBlank(rowText, static_cast<std::size_t>(col))) - 1;
    return WordSpan{start, end};
}

std::optional<std::string> AddressAt(const std::filesystem::path& programFolder, std::string_view rowText, int col)
{
    const auto word = WordAt(rowText, col);
    if (!word)
        return std::nullopt;
    const std::vector<AddressEntry> entries = ReadAddressList(programFolder);
    std::set<std::string> schemes{"http", "https"};
    for (const AddressEntry& e : entries)
        schemes.insert(Scheme(e.Address));
    const std::string upper = AsciiUpper(rowText);
    const auto column = static_cast<std::size_t>(col);
    auto allowed = [&](std::string address) -> std::optional<std::string> {
        const std::string scheme = Scheme(address);
        if (scheme.empty() || schemes.count(scheme) == 0)
            return std::nullopt;
        return address;
    };
    for (const AddressEntry& e : entries) {
        for (std::size_t at = upper.find(e.Key); at != std::string::npos; at = upper.find(e.Key, at + 1)) {
            const std::size_t end = NextBlank(rowText, at + e.Key.size());
            if (column < at || column >= std::max(end, at + e.Key.size()))
                continue;
            const std::size_t tail = at + e.Key.size();
            return allowed(e.Address + std::string(rowText.substr(tail, end - tail)));
        }
    }
    const auto first = static_cast<std::size_t>(word->Start);
    const std::string_view w = rowText.substr(first, static_cast<std::size_t>(word->End - word->Start + 1));
    const std::size_t http = AsciiUpper(w).find("HTTP://");
    if (http == std::string::npos)
        return std::nullopt;
    return allowed(std::string(w.substr(http)));
}

} // namespace kalvor::edit
