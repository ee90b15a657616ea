#include "engine/RunString.h"

#include <algorithm>

namespace kalvor {

ExpandedRuns ExpandedRuns::Expand(std::string_view s, Neighbours mode)
{
    ExpandedRuns r;
    r.Mode = mode;
    if (s.empty())
        return r;
    int col = 0;
    std::size_t i = 1;
    for (; i + 1 < s.size(); i += 2) {
        const char attr = s[i];
        const int len = static_cast<std::uint8_t>(s[i + 1]);
        r.Start.set(static_cast<std::size_t>(col));
        if (len == 0) {
            r.Tail = attr;
            break;
        }
        const int end = std::min(col + len, kMaxHeader);
        for (; col < end; ++col)
            r.Col[col] = attr;
    }
    r.Header = col;
    return r;
}

void ExpandedRuns::EncodeTo(std::string& out) const
{
    // Trailing explicit columns equal to the open-ended attribute merge into it.
    int header = Header;
    while (header > 0 && Col[header - 1] == Tail && !Splits(header))
        --header;
    out.clear();
    out.push_back(static_cast<char>(header));
    int col = 0;
    while (col < header) {
        const char attr = Col[col];
        int end = col + 1;
        while (end < header && Col[end] == attr && !Splits(end))
            ++end;
        out.push_back(attr);
        out.push_back(static_cast<char>(end - col));
        col = end;
    }
    out.push_back(Tail);
    out.push_back('\0');
}

void ExpandedRuns::ExtendTo(int col)
{
    col = std::min(col, kMaxHeader);
    for (; Header < col; ++Header)
        Col[Header] = Tail;
}

int ExpandedRuns::RunEnd(int col) const
{
    if (col >= Header)
        return Header;
    const char attr = Col[col];
    int end = col + 1;
    while (end < Header && Col[end] == attr && !Splits(end))
        ++end;
    return end;
}

void ExpandedRuns::RemoveBefore(int end, int col, int count)
{
    // A start among the removed columns, or of the first column that moves
    // in, becomes the start of `col`.
    bool started = false;
    for (int c = col; c <= col + count && c < end; ++c)
        started = started || Start[static_cast<std::size_t>(c)];
    std::copy(Col.begin() + col + count, Col.begin() + end, Col.begin() + col);
    for (int c = col; c < end - count; ++c)
        Start[static_cast<std::size_t>(c)] = Start[static_cast<std::size_t>(c + count)];
    for (int c = std::max(end - count, col + 1); c < end; ++c)
        Start.reset(static_cast<std::size_t>(c));
    Start[static_cast<std::size_t>(col)] = started;
}

namespace runstring {

char AttributeAt(std::string_view s, int col, char none)
{
    if (s.empty())
        return none;
    int start = 0;
    for (std::size_t i = 1; i + 1 < s.size(); i += 2) {
        const int len = static_cast<std::uint8_t>(s[i + 1]);
        if (len == 0 || col < start + len)
            return s[i];
        start += len;
    }
    return none;
}

void MarkFrom(std::string& s, char attr, int col, char none, char filler, Neighbours mode)
{
    col = std::clamp(col, 0, ExpandedRuns::kMaxHeader);
    if (IsBlankForWriter(s, none)) {
        s.clear();
        s.push_back(static_cast<char>(col));
        if (col > 0) {
            s.push_back(filler);
            s.push_back(static_cast<char>(col));
        }
        s.push_back(attr);
        s.push_back('\0');
        return;
    }
    const bool keep = mode == Neighbours::KeepStarts;
    // At or past the header only the open-ended run changes: edit in place.
    const int header = Header(s);
    if (col >= header && s.size() >= 3 && s.size() % 2 == 1) {
        const std::size_t tailAttr = s.size() - 2;
        if (s[tailAttr] == attr && (col == header || !keep))
            return;
        if (col > header) {
            s[s.size() - 1] = static_cast<char>(col - header);
            s.push_back(attr);
            s.push_back('\0');
            s[0] = static_cast<char>(col);
            return;
        }
        s[tailAttr] = attr;
        // The new open run may now equal the run before it: merge them.
        if (!keep && s.size() >= 5 && s[tailAttr - 2] == attr) {
            const int before = static_cast<std::uint8_t>(s[tailAttr - 1]);
            s.erase(tailAttr - 2, 2);
            s[0] = static_cast<char>(header - before);
        }
        return;
    }
    ExpandedRuns r = ExpandedRuns::Expand(s, mode);
    if (col >= r.Header) {
        r.ExtendTo(col);
        r.Tail = attr;
    } else {
        const int end = r.RunEnd(col);
        for (int c = col; c < end; ++c)
            r.Col[c] = attr;
    }
    r.Start.set(static_cast<std::size_t>(col));
    r.EncodeTo(s);
}

bool RangeIs(std::string_view s, int col, int count, char attr, char blankAs)
{
    const auto is = [&](char a) { return a == attr || (a == ' ' && blankAs == attr); };
    if (s.empty())
        return blankAs == attr;
    if (col >= Header(s))
        return is(s[s.size() - 2]);
    const ExpandedRuns r = ExpandedRuns::Expand(s);
    for (int c = col; c < col + count; ++c)
        if (!is(r.At(c)))
            return false;
    return true;
}

void MarkRange(std::string& s, char attr, int col, int count)
{
    col = std::clamp(col, 0, ExpandedRuns::kMaxHeader);
    const int end = std::clamp(col + count, col, ExpandedRuns::kMaxHeader);
    ExpandedRuns r = ExpandedRuns::Expand(s);
    r.ExtendTo(end);
    for (int c = col; c < end; ++c)
        r.Col[c] = attr;
    r.EncodeTo(s);
}

std::string RemoveColumns(std::string_view s, int col, int count, Neighbours mode)
{
    ExpandedRuns r = ExpandedRuns::Expand(s, mode);
    if (s.empty() || col >= r.Header || count <= 0 || col < 0)
        return std::string(s);
    const int removed = std::min(count, r.Header - col);
    r.RemoveBefore(r.Header, col, removed);
    r.Header -= removed;
    r.Start.set(static_cast<std::size_t>(r.Header));
    std::string out;
    r.EncodeTo(out);
    return out;
}

void ClearFrom(std::string& s, int col, Neighbours mode)
{
    if (s.empty())
        return;
    ExpandedRuns r = ExpandedRuns::Expand(s, mode);
    col = std::clamp(col, 0, ExpandedRuns::kMaxHeader);
    if (col < r.Header)
        r.Header = col;
    else
        r.ExtendTo(col);
    // The cleared columns carry no run start of their own.
    for (int c = col; c <= ExpandedRuns::kMaxHeader; ++c)
        r.Start.reset(static_cast<std::size_t>(c));
    r.Tail = ' ';
    r.EncodeTo(s);
    if (s.size() == 3 && s[1] == ' ')
        s.clear();
}

std::string InsertColumns(std::string_view s, int col, int count)
{
    ExpandedRuns r = ExpandedRuns::Expand(s);
    if (s.empty() || col >= r.Header || count <= 0 || col < 0)
        return std::string(s);
    const int added = std::min(count, ExpandedRuns::kMaxHeader - r.Header);
    std::copy_backward(r.Col.begin() + col, r.Col.begin() + r.Header, r.Col.begin() + r.Header + added);
    std::fill(r.Col.begin() + col, r.Col.begin() + col + added, r.Col[col + added]);
    r.Header += added;
    std::string out;
    r.EncodeTo(out);
    return out;
}

} // namespace runstring
} // namespace kalvor
