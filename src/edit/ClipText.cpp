#include "edit/ClipText.h"

#include <algorithm>

namespace kalvor::edit {
namespace {

// Columns first..last (inclusive; -1 and 1001 the row's ends) of a row's text.
std::string_view Cut(std::string_view text, int first, int last)
{
    const std::size_t from = first <= 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(first));
    const std::size_t to = last >= kToRowEnd ? text.size() : std::min(text.size(), static_cast<std::size_t>(last + 1));
    return to > from ? text.substr(from, to - from) : std::string_view();
}

} // namespace

std::string ClipCopyText(const Selection& sel, const DisplayMemory& mem)
{
    std::string out;
    if (!sel.Marked())
        return out;
    const int count = mem.Age(sel.EndRow) - mem.Age(sel.StartRow) + 1;
    for (int i = 0; i < count; ++i) {
        const std::string_view text = mem.Row(mem.Wrap(sel.StartRow + i)).Text;
        const bool first = i == 0;
        const bool last = i == count - 1;
        if (sel.Rect)
            out.append(Cut(text, sel.StartCol, sel.EndCol));
        else
            out.append(Cut(text, first ? sel.StartCol : kFromRowStart, last ? sel.EndCol : kToRowEnd));
        if (sel.Rect || !last || sel.EndCol == kToRowEnd)
            out.append("\r\n");
    }
    return out;
}

std::vector<std::string> HostPasteLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' && i > 0 && text[i - 1] == '\r')
            continue;
        line.push_back(c == '\n' ? '\r' : c);
        if (line.back() == '\r')
            lines.push_back(std::move(line)), line.clear();
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string> DisplayPasteLines(std::string_view text)
{
    std::vector<std::string> lines = HostPasteLines(text);
    for (std::string& l : lines)
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
    // Text that ends a line leaves the cursor at the start of the next one.
    if (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        lines.emplace_back();
    return lines;
}

bool PasteNeedsConfirmation(std::string_view text)
{
    const bool control = std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 32 && c != '\r' && c != '\n' && c != '\t') || u == 127;
    });
    return control || HostPasteLines(text).size() > 5;
}

} // namespace kalvor::edit
