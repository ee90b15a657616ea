#include "engine/EnhancementSeries.h"

namespace kalvor {

void StoreEnhancement(DisplayMemory& m, char code)
{
    if (!(code == '@' && m.CurCol == 0 && m.CursorRow().AllEmpty()))
        m.ModCntlBuf(code, m.CurCol);
}

void EnhancementSeries::Record(DisplayMemory& m, char code)
{
    std::string& cntl = m.CursorRow().Cntl;
    const bool same = row_ == m.AbsCurRow && col_ == m.CurCol && cntl == after_;
    if (!same) {
        row_ = m.AbsCurRow;
        col_ = m.CurCol;
        raised_ = false;
    }
    offWaiting_ = false;
    if (code == '@' && raised_) {
        // No character took the enhancement: the row is as before the series.
        cntl = before_;
        offWaiting_ = true;
    } else {
        if (code != '@' && !raised_) {
            before_ = cntl;
            raised_ = true;
        }
        StoreEnhancement(m, code);
    }
    after_ = cntl;
}

void EnhancementSeries::EndAt(DisplayMemory& m)
{
    if (offWaiting_ && row_ == m.AbsCurRow && col_ == m.CurCol && m.CursorRow().Cntl == after_)
        StoreEnhancement(m, '@');
    row_ = -1;
    raised_ = false;
    offWaiting_ = false;
}

} // namespace kalvor
