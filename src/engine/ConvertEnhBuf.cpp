#include "engine/ConvertEnhBuf.h"

#include "engine/RunString.h"

namespace kalvor {
namespace {

constexpr char kSO = 14;
constexpr char kSI = 15;

} // namespace

ConvertedRow ConvertEnhBuf(std::string_view OrigTextBuf, std::string_view NewCntlBuf, std::string_view NewFormBuf,
                           std::string_view NewShiftBuf, int OrigStartCol, int OrigEndCol,
                           std::string_view blockEndMarker)
{
    ConvertedRow out;
    out.StartCol = OrigStartCol;
    out.EndCol = OrigEndCol;

    if (NewCntlBuf.empty() && NewFormBuf.empty() && NewShiftBuf.empty()) {
        out.Text.assign(OrigTextBuf);
    } else {
        const ExpandedRuns shift = ExpandedRuns::Expand(NewShiftBuf);
        const bool hasShift = !NewShiftBuf.empty();
        out.Text.reserve(OrigTextBuf.size() + 8);
        bool alternate = false;
        const int length = static_cast<int>(OrigTextBuf.size());
        for (int col = 0; col < length; ++col) {
            const bool wantAlternate = hasShift && shift.At(col) == 'O';
            const bool restate = wantAlternate && alternate && col == OrigStartCol && col > 0;
            if (wantAlternate != alternate || restate) {
                out.Text.push_back(wantAlternate ? kSO : kSI);
                if (col < OrigStartCol)
                    ++out.StartCol;
                if (col < OrigEndCol)
                    ++out.EndCol;
                alternate = wantAlternate;
            }
            out.Text.push_back(OrigTextBuf[static_cast<std::size_t>(col)]);
        }
    }

    if (!blockEndMarker.empty()) {
        const std::size_t at = out.Text.find(blockEndMarker);
        if (at != std::string::npos)
            out.TerminatorCol = static_cast<int>(at) + 1;
    }
    return out;
}

} // namespace kalvor
