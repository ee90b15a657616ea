#include "engine/EnhancementSeries.h"

#include "engine/RunString.h"

#include <algorithm>

namespace kalvor {

void StoreEnhancement(DisplayMemory& m, char code)
{
    if (!(code == '@' && m.CurCol == 0 && m.CursorRow().AllEmpty()))
        m.ModCntlBuf(code, m.CurCol);
}

namespace {

// True when `before` had no enhancement from `col` on.
bool PlainFrom(const ExpandedRuns& before, int col)
{
    const auto plain = [](char a) { return a == ' ' || a == '@'; };
    for (int c = col; c < before.Header; ++c)
        if (!plain(before.Col[static_cast<std::size_t>(c)]))
            return false;
    return plain(before.Tail);
}

// "@" at the cursor, with the columns from there on as they were in `before`.
void RestoreFrom(DisplayMemory& m, const std::string& before)
{
    const int col = m.CurCol;
    const ExpandedRuns old = ExpandedRuns::Expand(before, Neighbours::KeepStarts);
    if (PlainFrom(old, col)) {
        StoreEnhancement(m, '@');
        return;
    }
    std::string& cntl = m.CursorRow().Cntl;
    ExpandedRuns now = ExpandedRuns::Expand(cntl, Neighbours::KeepStarts);
    now.ExtendTo(col);
    const int header = std::max(col, old.Header);
    for (int c = col; c < header; ++c) {
        now.Col[static_cast<std::size_t>(c)] = old.At(c);
        now.Start[static_cast<std::size_t>(c)] = old.Start[static_cast<std::size_t>(c)];
    }
    now.Start.set(static_cast<std::size_t>(header));
    now.Header = header;
    now.Tail = old.Tail;
    now.EncodeTo(cntl);
}

} // namespace

bool EnhancementSeries::AtSeries(const DisplayMemory& m, int col) const
{
    return row_ == m.AbsCurRow && col == m.CurCol && m.Row(m.AbsCurRow).Cntl == after_;
}

void EnhancementSeries::Record(DisplayMemory& m, char code)
{
    std::string& cntl = m.CursorRow().Cntl;
    const bool inForce = raised_ && AtSeries(m, col_);
    const bool waiting = offWaiting_ && AtSeries(m, col_);
    if (code == '@' && (inForce || waiting)) {
        if (inForce)
            RestoreFrom(m, before_);
        raised_ = false;
        offWaiting_ = true;
    } else if (code == '@') {
        row_ = -1;
        raised_ = offWaiting_ = false;
        StoreEnhancement(m, code);
    } else {
        // Another enhancement over one in force keeps what was there before it.
        if (!inForce)
            before_ = cntl;
        row_ = m.AbsCurRow;
        col_ = m.CurCol;
        raised_ = true;
        offWaiting_ = false;
        StoreEnhancement(m, code);
    }
    after_ = cntl;
}

void EnhancementSeries::TextAt(DisplayMemory& m, int length)
{
    if (!AtSeries(m, col_)) {
        row_ = -1;
        raised_ = offWaiting_ = false;
        return;
    }
    if (offWaiting_) {
        StoreEnhancement(m, '@');
        row_ = -1;
        offWaiting_ = false;
        return;
    }
    // The characters take the enhancement in force; "@" after them ends it.
    col_ = m.CurCol + length;
    after_ = m.CursorRow().Cntl;
}

} // namespace kalvor
