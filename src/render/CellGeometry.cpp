#include "render/CellGeometry.h"

#include <algorithm>
#include <array>

namespace kalvor::render {
namespace {

constexpr std::array<CellGeometry, kFontSizeCount> kCells{{
    {12, 6, 0.75},
    {16, 8, 1.0},
    {20, 10, 1.25},
    {26, 13, 1.625},
}};

int ClampIndex(int index) { return std::clamp(index, kMinFontIndex, kMaxFontIndex); }

} // namespace

CellGeometry CellForIndex(int index) { return kCells[static_cast<std::size_t>(ClampIndex(index))]; }

int MaxFontIndexForScreenWidth(int screenWidthPx)
{
    if (screenWidthPx < 600)
        return 0;
    if (screenWidthPx < 800)
        return 1;
    if (screenWidthPx < 1024)
        return 2;
    return kMaxFontIndex;
}

int LargestFittingFontIndex(int cols, int rows, int widthPx, int heightPx)
{
    for (int index = kMaxFontIndex; index > kMinFontIndex; --index) {
        const CellGeometry c = CellForIndex(index);
        if (cols * c.Width <= widthPx && rows * c.Height <= heightPx)
            return index;
    }
    return kMinFontIndex;
}

FontSizing::FontSizing(int preferredIndex)
    : preferred_(ClampIndex(preferredIndex)), current_(preferred_), cell_(CellForIndex(current_))
{}

void FontSizing::SetPreferredIndex(int index)
{
    preferred_ = ClampIndex(index);
    current_ = preferred_;
    SetFontValues();
}

void FontSizing::SetCurrentIndex(int index)
{
    current_ = ClampIndex(index);
    SetFontValues();
}

void FontSizing::SetFontValues() { cell_ = CellForIndex(current_); }

bool FontSizing::AdjustFontIndex(int screenWidthPx)
{
    const int limit = MaxFontIndexForScreenWidth(screenWidthPx);
    if (current_ <= limit)
        return false;
    current_ = limit;
    SetFontValues();
    return true;
}

} // namespace kalvor::render
