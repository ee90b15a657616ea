// The alternate set: every printable code has a piece, and lines run on the
// same pixel tracks in every cell so that they join from cell to cell at
// every size.
#include "RenderFixture.h"

#include "render/LineDrawing.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kalvor {
namespace {

using render::LinePieceFor;
using render::PieceKind;

constexpr QRgb kInk = 0xffffffffu;
constexpr QRgb kFill = 0xff000000u;

// One piece drawn alone into a cell of w x h pixels.
QImage Piece(unsigned char code, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    render::DrawLinePiece(p, QRect(0, 0, w, h), code, QColor(kInk), QColor(kFill));
    return img;
}

// The rows (for a left or right edge) or columns (top or bottom edge) where
// the piece touches the edge with full ink.
std::vector<int> EdgeProfile(const QImage& img, char side)
{
    std::vector<int> out;
    const int w = img.width(), h = img.height();
    if (side == 'l' || side == 'r') {
        const int x = side == 'l' ? 0 : w - 1;
        for (int y = 0; y < h; ++y)
            if ((img.pixel(x, y) | 0xff000000u) == kInk)
                out.push_back(y);
    } else {
        const int y = side == 't' ? 0 : h - 1;
        for (int x = 0; x < w; ++x)
            if ((img.pixel(x, y) | 0xff000000u) == kInk)
                out.push_back(x);
    }
    return out;
}

struct Size {
    int W, H;
};
const Size kSizes[] = {{6, 12}, {8, 16}, {10, 20}, {13, 26}, {16, 32}, {26, 52}};

TEST(LineDrawing, EveryPrintableCodeHasAPieceThatDrawsSomething)
{
    for (int code = 33; code <= 126; ++code) {
        const render::LinePiece& p = LinePieceFor(static_cast<unsigned char>(code));
        ASSERT_NE(p.Kind, PieceKind::None) << "code " << code;
        for (const Size& sz : kSizes) {
            const QImage img = Piece(static_cast<unsigned char>(code), sz.W, sz.H);
            int ink = 0;
            for (int y = 0; y < sz.H; ++y)
                for (int x = 0; x < sz.W; ++x)
                    ink += (img.pixel(x, y) | 0xff000000u) != kFill ? 1 : 0;
            EXPECT_GT(ink, 0) << "code " << char(code) << " at " << sz.W << "x" << sz.H;
        }
    }
    EXPECT_EQ(LinePieceFor(' ').Kind, PieceKind::None);
    EXPECT_EQ(LinePieceFor(200).Kind, PieceKind::None);
}

// Every arm of a given weight meets the cell edge on the same pixels, and
// the opposite edge of the neighbouring cell on those same pixels: lines join.
TEST(LineDrawing, ArmsOfOneWeightMeetTheEdgesOnTheSameTrack)
{
    for (const Size& sz : kSizes) {
        for (int weight = render::kLight; weight <= render::kDouble; ++weight) {
            std::set<std::vector<int>> horizontal, vertical;
            for (int code = 33; code <= 126; ++code) {
                const render::LinePiece& p = LinePieceFor(static_cast<unsigned char>(code));
                if (p.Kind != PieceKind::Lines)
                    continue;
                const QImage img = Piece(static_cast<unsigned char>(code), sz.W, sz.H);
                if (p.Left == weight)
                    horizontal.insert(EdgeProfile(img, 'l'));
                if (p.Right == weight)
                    horizontal.insert(EdgeProfile(img, 'r'));
                if (p.Up == weight)
                    vertical.insert(EdgeProfile(img, 't'));
                if (p.Down == weight)
                    vertical.insert(EdgeProfile(img, 'b'));
            }
            ASSERT_EQ(horizontal.size(), 1u) << "weight " << weight << " at " << sz.W << "x" << sz.H;
            ASSERT_EQ(vertical.size(), 1u) << "weight " << weight << " at " << sz.W << "x" << sz.H;
            const std::size_t tracks = weight == render::kDouble ? 2 : 1;
            const render::LineMetrics m = render::LineMetricsFor(sz.W, sz.H);
            const int thickness = weight == render::kHeavy ? m.Heavy : m.Light;
            EXPECT_EQ(horizontal.begin()->size(), tracks * static_cast<std::size_t>(thickness));
            EXPECT_EQ(vertical.begin()->size(), tracks * static_cast<std::size_t>(thickness));
        }
    }
}

class JoinedBox : public ::testing::TestWithParam<int> {};

// A box drawn by the host through the renderer at each font size: the cells
// have the size's geometry, text is drawn, and the corner's arms continue into the
// horizontal line on its right and the vertical line below it.
TEST_P(JoinedBox, CornerJoinsItsNeighbours)
{
    test::RenderedScreen s(GetParam());
    s.State().CursorHidden = true;
    s.Host("\x1b)B\x0er,t\x0fW\r\n\x0e. .\x0f\r\n\x0e"
           "f,g\x0f");
    s.Refresh();
    const render::CellGeometry cell = render::CellForIndex(GetParam());
    EXPECT_EQ(s.renderer.Image().size(), QSize(80 * cell.Width, 24 * cell.Height));
    EXPECT_GT(s.Count(0, 3, s.Fg()), 4) << "a character of the font drawn at this size";
    const render::LineMetrics m = render::LineMetricsFor(s.W(), s.H());
    const QRgb fg = s.Fg();
    // The corner's arms reach its right and bottom edges on the centre
    // lines, and the lines continue in the next cells; its open sides stay
    // empty, and the lower-right corner closes the box.
    EXPECT_EQ(s.Pixel(0, 0, s.W() - 1, m.CentreY), fg);
    EXPECT_EQ(s.Pixel(0, 1, 0, m.CentreY), fg);
    EXPECT_EQ(s.Pixel(0, 0, m.CentreX, s.H() - 1), fg);
    EXPECT_EQ(s.Pixel(1, 0, m.CentreX, 0), fg);
    EXPECT_EQ(s.Pixel(0, 0, m.CentreX, m.CentreY), fg);
    EXPECT_EQ(s.Pixel(0, 0, 0, m.CentreY), s.Bg());
    EXPECT_EQ(s.Pixel(0, 0, m.CentreX, 0), s.Bg());
    EXPECT_EQ(s.Pixel(2, 2, 0, m.CentreY), fg);
    EXPECT_EQ(s.Pixel(2, 2, m.CentreX, 0), fg);
    EXPECT_EQ(s.Pixel(2, 2, s.W() - 1, m.CentreY), s.Bg());
}

INSTANTIATE_TEST_SUITE_P(FourSizes, JoinedBox, ::testing::Values(0, 1, 2, 3));

TEST(LineDrawing, DoubleCornersCloseBothLines)
{
    const QImage img = Piece('i', 8, 16); // double upper-left
    const render::LineMetrics m = render::LineMetricsFor(8, 16);
    const int outer = m.CentreX - m.DoubleOffset, inner = m.CentreX + m.DoubleOffset;
    const int top = m.CentreY - m.DoubleOffset, low = m.CentreY + m.DoubleOffset;
    EXPECT_EQ(img.pixel(outer, top) | 0xff000000u, kInk) << "outer corner";
    EXPECT_EQ(img.pixel(inner, low) | 0xff000000u, kInk) << "inner corner";
    EXPECT_EQ(img.pixel(outer, low + 3) | 0xff000000u, kInk) << "outer line goes down";
    EXPECT_NE(img.pixel(outer - 1, top) | 0xff000000u, kInk) << "nothing left of the outer corner";
    EXPECT_NE(img.pixel(inner, m.CentreY) | 0xff000000u, kInk) << "the inner line starts at the inner corner";
    EXPECT_NE(img.pixel(m.CentreX, m.CentreY) | 0xff000000u, kInk) << "the space between the lines stays empty";
}

TEST(LineDrawing, ShadesBlendInkIntoTheFill)
{
    const QImage light = Piece('1', 8, 16), dark = Piece('3', 8, 16);
    EXPECT_LT(qRed(light.pixel(3, 3)), qRed(dark.pixel(3, 3)));
    EXPECT_GT(qRed(light.pixel(3, 3)), 0);
    EXPECT_LT(qRed(dark.pixel(3, 3)), 255);
}

} // namespace
} // namespace kalvor
