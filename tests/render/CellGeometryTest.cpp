// Font sizes: the limit by screen width and the size chosen after a change
// of screen width.
#include "render/CellGeometry.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace kalvor::render {
namespace {

TEST(CellGeometry, ScreenWidthLimitsTheIndex)
{
    for (const auto& [width, index] :
         std::initializer_list<std::pair<int, int>>{{599, 0}, {600, 1}, {799, 1}, {800, 2}, {1023, 2}, {1024, 3}})
        EXPECT_EQ(MaxFontIndexForScreenWidth(width), index) << width;
    EXPECT_EQ(CellForIndex(-1), CellForIndex(0));
    EXPECT_EQ(CellForIndex(9), CellForIndex(3));
}

// A narrow screen lowers the size in use below the preferred one, a wide
// one changes nothing; a new preferred size is taken as it is.
TEST(FontSizing, TheScreenWidthLowersThePreferredSize)
{
    FontSizing f(3);
    EXPECT_FALSE(f.AdjustFontIndex(1920));
    EXPECT_TRUE(f.AdjustFontIndex(1000));
    EXPECT_EQ(f.CurrentIndex(), 2);
    EXPECT_EQ(f.PreferredIndex(), 3);
    EXPECT_EQ(f.Cell(), CellForIndex(2));
    EXPECT_FALSE(f.AdjustFontIndex(1000)) << "already fits";
    f.SetCurrentIndex(0);
    EXPECT_EQ(f.Cell(), CellForIndex(0));
    f.SetPreferredIndex(1);
    EXPECT_EQ(f.CurrentIndex(), 1);
    EXPECT_EQ(f.Cell(), CellForIndex(1));
}

// A window of a fixed size in pixels: what fits at each index.
std::function<CellFit(int)> FixedWindow(int widthPx, int heightPx)
{
    return [=](int index) {
        const CellGeometry c = CellForIndex(index);
        return CellFit{heightPx / c.Height, widthPx / c.Width};
    };
}

TEST(WidthChange, FontLoweredUntilTheRowsAndColumnsFit)
{
    const struct {
        const char* What;
        int Columns;
        bool Maximised;
        int From, WidthPx, HeightPx, Index;
    } cases[] = {
        // Maximised: lowered until 24 rows fit, then once more for too few columns.
        {"500 high: 26-pixel rows give 19, 20-pixel rows 25", 80, true, 3, 2000, 500, 2},
        {"400 high: 16-pixel rows give 25", 80, true, 3, 2000, 400, 1},
        {"1000 wide: index 3 fits 76 columns, < 78", 80, true, 3, 1000, 2000, 2},
        {"only one lowering for columns", 132, true, 3, 1000, 2000, 2},
        {"never below 0", 200, true, 0, 100, 100, 0},
        // Not maximised: lowered at most once.
        {"too few rows at index 3 and 2", 80, false, 3, 2000, 450, 2},
        {"80 columns need 75: 1000 / 13 = 76 fits", 80, false, 3, 1000, 2000, 3},
        {"132 columns need 120", 132, false, 3, 1000, 2000, 2},
        {"never below 0, not maximised", 132, false, 0, 100, 100, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WidthChangeFontIndex(c.From, c.Columns, c.Maximised, FixedWindow(c.WidthPx, c.HeightPx)), c.Index)
            << c.What;
}

TEST(LargestFittingFontIndex, TheLargestCellsThatFitTheArea)
{
    // A maximised window on a 1920 x 1080 screen: 80 columns take 13 x 26.
    EXPECT_EQ(LargestFittingFontIndex(80, 24, 1900, 900), 3);
    // 200 columns: 13 and 10 pixels are too wide, 8 fit.
    EXPECT_EQ(LargestFittingFontIndex(200, 24, 1900, 900), 1);
    // Rows decide: 24 rows of 20 pixels need 480.
    EXPECT_EQ(LargestFittingFontIndex(80, 24, 1900, 470), 1);
    // Nothing fits: the smallest size.
    EXPECT_EQ(LargestFittingFontIndex(200, 24, 800, 200), 0);
}

} // namespace
} // namespace kalvor::render
