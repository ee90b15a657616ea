#include "edit/FindText.h"

#include <array>
#include <cstring>

namespace kalvor::edit {
namespace {

// Latin-1 letters folded to upper case; every other byte as it is.
constexpr std::array<unsigned char, 256> MakeFold()
{
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const bool lower = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
        t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(lower ? c - 32 : c);
    }
    return t;
}
constexpr std::array<unsigned char, 256> kFold = MakeFold();

unsigned char Fold(char c) { return kFold[static_cast<unsigned char>(c)]; }

// Position of `needle` in `row` at or after `from`, or npos.
std::size_t Search(std::string_view row, std::string_view needle, std::size_t from, CaseMode mode)
{
    if (from >= row.size() || needle.size() > row.size() - from)
        return std::string_view::npos;
    if (mode == CaseMode::Exact)
        return row.find(needle, from);
    // The first character in both cases through memchr, the rest compared folded.
    const unsigned char first = Fold(needle[0]);
    const char* const base = row.data();
    const char* const last = base + row.size() - needle.size();
    const char* p = base + from;
    const bool letter = (first >= 'A' && first <= 'Z') || (first >= 0xC0 && first <= 0xDE && first != 0xD7);
    const unsigned char other = letter ? static_cast<unsigned char>(first + 32) : first;
    while (p <= last) {
        const auto n = static_cast<std::size_t>(last - p + 1);
        const char* a = static_cast<const char*>(std::memchr(p, first, n));
        const char* b = other != first ? static_cast<const char*>(std::memchr(p, other, n)) : nullptr;
        const char* hit = a == nullptr ? b : (b == nullptr || a < b ? a : b);
        if (hit == nullptr)
            return std::string_view::npos;
        std::size_t i = 1;
        while (i < needle.size() && Fold(hit[i]) == Fold(needle[i]))
            ++i;
        if (i == needle.size())
            return static_cast<std::size_t>(hit - base);
        p = hit + 1;
    }
    return std::string_view::npos;
}

} // namespace

std::optional<FoundText> FindInMemory(const DisplayMemory& mem, std::string_view text, CaseMode mode)
{
    if (text.empty())
        return std::nullopt;
    int start = mem.Wrap(mem.TopRow + mem.CurRow);
    if (!mem.InUse(start))
        start = mem.LastRow;
    const int used = mem.UsedRows();
    const int startAge = mem.Age(start);
    // The cursor's row from the character after the cursor, every other row
    // whole, and the cursor's row once more from its start.
    for (int step = 0; step <= used; ++step) {
        const int ring = mem.Wrap(mem.FirstRow + (startAge + step) % used);
        const std::size_t from = step == 0 ? static_cast<std::size_t>(mem.CurCol) + 1 : 0;
        const std::size_t at = Search(mem.Row(ring).Text, text, from, mode);
        if (at != std::string_view::npos)
            return FoundText{ring, static_cast<int>(at)};
    }
    return std::nullopt;
}

} // namespace kalvor::edit
