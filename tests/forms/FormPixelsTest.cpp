// Forms drawn offscreen, pixels checked at chosen points: fills, gradients,
// text on its base line, shadows, copies between layers limited to one
// object, markings that leave no trace, the preset sizes, and a resize that
// keeps the values.
#include "TempHome.h"

#include "ui/forms/CanvoForm.h"
#include "ui/forms/CanvoView.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

using namespace kalvor::forms;
using namespace kalvor::ui::forms;

constexpr QRgb kRed = 0xffff0000u;
constexpr QRgb kBlack = 0xff000000u;
constexpr QRgb kWhite = 0xffffffffu;

// The smallest rectangle holding every pixel of exactly `colour`.
QRect Extent(const QImage& image, QRgb colour)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                r |= QRect(x, y, 1, 1);
    return r;
}

bool SameWithin(const QImage& a, const QImage& b, const QRect& r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

class FormPixels : public ::testing::Test {
protected:
    const QImage& Draw(std::string_view form, int preset = 2)
    {
        canvo.SetPreset(preset);
        result = canvo.Build(form, BuildKind::NewForm, QSize(0, 0));
        return canvo.Layers().Get(Layer::Cursor);
    }
    TempHome home;
    CanvoForm canvo;
    FormResult result;
};

struct Probe {
    int X, Y;
    QRgb Colour;
};

struct PixelCase {
    const char* Form;
    std::vector<Probe> Probes;
};

TEST_F(FormPixels, ShapesAtChosenPoints)
{
    const PixelCase cases[] = {
        // a filled box with its one-pixel outline inside it
        {"/BOX (10 20 110 70 FILL 100 0 0)", {{10, 20, kBlack}, {109, 69, kBlack}, {110, 70, kWhite}, {11, 21, kRed}}},
        // a gradient: the top row the fill colour, the bottom row the blend colour, equal steps between
        {"/BOX (0 100 100 201 FILL 0 0 0 BLEND 100 100 100 PENWIDTH 0)",
         {{50, 100, kBlack}, {50, 200, kWhite}, {50, 150, 0xff808080u}, {50, 99, kWhite}}},
        // the background's colour over the whole form, and a line of width 3 on whole pixels
        {"/BACKGROUND (FILL 0 0 100)\n/LINE (0 300 800 300 PENWIDTH 3 PENCOLOR 0 100 0)",
         {{799, 599, 0xff0000ffu}, {400, 299, 0xff00ff00u}, {400, 301, 0xff00ff00u}, {400, 302, 0xff0000ffu}}},
        // a filled oval: its centre filled, its bounding box corner not
        {"/OVAL (100 100 200 160 FILL 100 0 0 PENWIDTH 0)", {{150, 130, kRed}, {101, 101, kWhite}}},
    };
    for (const PixelCase& c : cases) {
        const QImage& image = Draw(c.Form);
        for (const Probe& p : c.Probes)
            EXPECT_EQ(image.pixel(p.X, p.Y), p.Colour) << c.Form << " at " << p.X << "," << p.Y;
    }
}

TEST_F(FormPixels, TextSitsOnItsBaseLineWithItsShadowOffset)
{
    const QImage& image = Draw("/FONT (SIZE 40 COLOR 0 0 0 SHADOW 10 10 100 0 0)\n/TEXT (20 100 LJ I)");
    const QRect ink = Extent(image, kBlack);
    const QRect shadow = Extent(image, kRed);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.bottom(), 96);
    EXPECT_LE(ink.bottom(), 99) << "the glyph ends on the base line y = 100";
    EXPECT_GE(ink.left(), 20);
    EXPECT_EQ(shadow, ink.translated(10, 10));
}

TEST_F(FormPixels, PresetFourDrawsAnEightHundredUnitFormAt1280By960)
{
    Draw("/BACKGROUND (WIDTH 800 HEIGHT 600)", 4);
    EXPECT_EQ(canvo.Layers().Size(), QSize(1280, 960));
    Draw("/BACKGROUND (WIDTH 800 HEIGHT 600)", 1);
    EXPECT_EQ(canvo.Layers().Size(), QSize(640, 480));
}

TEST_F(FormPixels, NewDataIsCopiedOnlyWithinTheObject)
{
    Draw("/ENTRYBOX (100 100 10 NAME)\n/ENTRYBOX (100 200 10 OTHER)");
    const int other = canvo.Model().GetObjectIndexByName("OTHER"); // without the focus
    const QRect r = canvo.ObjectRect(other);
    canvo.Layers().Get(Layer::Background).fill(Qt::green);
    canvo.Model().Cursors[2].Text = "MMMM";
    EXPECT_EQ(canvo.DrawNewData(other), r);
    const QImage& data = canvo.Layers().Get(Layer::Data);
    const QImage& cursor = canvo.Layers().Get(Layer::Cursor);
    EXPECT_EQ(cursor.pixel(r.left(), r.bottom()), 0xff00ff00u) << "inside: taken from the background";
    EXPECT_EQ(cursor.pixel(r.left() - 1, r.top()), kWhite) << "outside: untouched";
    EXPECT_EQ(cursor.pixel(r.right() + 1, r.bottom() + 1), kWhite);
    EXPECT_NE(Extent(data, kBlack), QRect()) << "the text is drawn";
    EXPECT_TRUE(r.contains(Extent(data, kBlack)));
}

TEST_F(FormPixels, MovingTheFocusTwiceAndBackLeavesNoMarking)
{
    Draw("/ENTRYBOX (100 100 10 A)\n/CHECK (100 200 B)\n/ENTRYBOX (300 100 10 C)");
    const QImage& data = canvo.Layers().Get(Layer::Data);
    const QImage& cursor = canvo.Layers().Get(Layer::Cursor);
    const int a = canvo.Model().GetObjectIndexByName("A");
    const int b = canvo.Model().GetObjectIndexByName("B");
    const int c = canvo.Model().GetObjectIndexByName("C");
    ASSERT_EQ(canvo.Model().Focus.CurFocusObj, a);
    EXPECT_FALSE(SameWithin(data, cursor, canvo.MarkRect(a))) << "the first object starts with the focus";
    canvo.SetFocusMarking(b);
    canvo.SetFocusMarking(c);
    canvo.SetFocusMarking(a);
    EXPECT_TRUE(SameWithin(data, cursor, canvo.MarkRect(b)));
    EXPECT_TRUE(SameWithin(data, cursor, canvo.MarkRect(c)));
    EXPECT_FALSE(SameWithin(data, cursor, canvo.MarkRect(a)));
    canvo.SetFocusMarking(0);
    EXPECT_TRUE(SameWithin(data, cursor, cursor.rect()));
}

class QuietView : public CanvoView {
public:
    QString Fatal;

protected:
    void ShowFatal(const QString& text) override { Fatal = text; }
};

TEST(CanvoView, AResizeRebuildsAtThePresetTheWidthAllowsKeepingValues)
{
    TempHome home;
    QuietView view;
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(view.BuildForm("/BACKGROUND ()\n/ENTRYBOX (100 100 10 NAME)\n/ENTRYBOX (100 200 10 OTHER)"));
    EXPECT_EQ(view.Form().PresetNumber(), 2);
    view.Form().Model().Cursors[1].Text = "typed";
    view.Form().SetFocusMarking(view.Form().Model().GetObjectIndexByName("OTHER"));

    view.resize(1300, 1000);
    ASSERT_TRUE(view.Rebuild());
    EXPECT_EQ(view.Form().PresetNumber(), 4);
    EXPECT_EQ(view.Form().Layers().Size(), QSize(1300, 1000)) << "a form smaller than the window fills it";
    EXPECT_EQ(view.Form().Model().Cursors[1].Text, "typed");
    EXPECT_EQ(view.Form().Model().Focus.CurFocusObj, view.Form().Model().GetObjectIndexByName("OTHER"));
    EXPECT_EQ(view.Form().Model().Cursors[1].Xcoord1, 160);
}

TEST(CanvoView, LayersThatCannotBeMadeShowTheFatalMessage)
{
    TempHome home;
    QuietView view;
    view.resize(800, 600);
    EXPECT_FALSE(view.BuildForm("/BACKGROUND (WIDTH 100000)"));
    EXPECT_EQ(view.Fatal, FatalBackgroundMessage());
    EXPECT_FALSE(view.Form().Layers().Exist());
}

} // namespace
} // namespace kalvor::test
