// The form language against a recording drawing interface: each case is a
// form file and the listing of what it draws and creates (the initial layers
// left out), followed by the object list, the tab sequence, the caption and
// the function keys it leaves behind.
#include "RecordingDrawing.h"

#include "forms/FormBuild.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvor::test {
namespace {

using namespace kalvor::forms;

struct Built {
    FormModel Model;
    InterpreterState State;
    RecordingDrawing Drawing;
    FormResult Result;
};

FormSettings Settings(double scale)
{
    FormSettings s;
    s.Scale = scale;
    s.CellWidth = 9;
    s.CacheFolder = "/cache";
    return s;
}

std::string Listing(Built& b)
{
    std::string out;
    for (std::size_t i = 1; i < b.Drawing.Calls.size(); ++i)
        out += b.Drawing.Calls[i] + "\n";
    auto names = [&](const char* title, auto positions) {
        if (positions.empty())
            return;
        out += title;
        for (int p : positions)
            out += " " + std::string(b.Model.NameOf(b.Model.At(p)));
        out += "\n";
    };
    std::vector<int> all;
    for (int p = 1; p <= b.Model.ListCount(); ++p)
        all.push_back(p);
    names("list", all);
    names("tab", b.Model.TabOrder);
    if (b.Result.Caption)
        out += "caption " + *b.Result.Caption + "\n";
    for (int k = 0; k < kFunctionKeyCount; ++k)
        if (!b.Model.FunctionKeys[static_cast<std::size_t>(k)].empty())
            out += "F" + std::to_string(k + 1) + " " + b.Model.FunctionKeys[static_cast<std::size_t>(k)] + "\n";
    return out;
}

void Build(Built& b, std::string_view form, double scale = 1.0)
{
    b.Result = BuildForm(form, BuildKind::NewForm, b.Model, b.State, b.Drawing, Settings(scale));
}

struct Case {
    const char* Name;
    const char* Form;
    const char* Expected;
    double Scale = 1.0;
};

const Case kCases[] = {
    {"delimiters are dropped unexamined and the fill carries on",
     "/BOX (10 20 110 70 FILL 100 0 0)\n/BOX [10 20 110 70]\n/box x10 20 110 70y\n",
     "box 10 20 110 70 fill ff0000 pen 1 000000\n"
     "box 10 20 110 70 fill ff0000 pen 1 000000\n"
     "box 10 20 110 70 fill ff0000 pen 1 000000\n"},
    {"colours are percentages limited to 100 and rounded halves to even",
     "/BOX (0 0 1 1 FILL 150 0 0)\n/BOX (0 0 1 1 FILL 50 50 50)\n/BOX (0 0 1 1 FILL 100 50 0)\n",
     "box 0 0 1 1 fill ff0000 pen 1 000000\n"
     "box 0 0 1 1 fill 808080 pen 1 000000\n"
     "box 0 0 1 1 fill ff8000 pen 1 000000\n"},
    {"scaled values round halves to even", "/LINE (2 6 10 -2 PENWIDTH 2.2)\n", "line 2 8 12 -2 pen 3 000000\n", 1.25},
    {"numbers are read by the leading-number rule", "/LINE (3abc 4.5.6 +7 x)\n", "line 3 4 7 0 pen 1 000000\n"},
    {"pen width 0 draws no outline; blending outlines in the fill colour",
     "/BOX (0 0 10 10 PENWIDTH 0)\n/BOX (0 0 10 10 PENWIDTH 2 PENCOLOR 0 0 100 BLEND 0 100 0)\n/BOX (0 0 10 10 "
     "NOBLEND)\n",
     "box 0 0 10 10 fill ffffff nopen\n"
     "box 0 0 10 10 fill ffffff blend 00ff00 pen 2 ffffff\n"
     "box 0 0 10 10 fill ffffff pen 2 0000ff\n"},
    {"points end at the first token without a number; words of other commands are skipped",
     "/POLYGON (0 0 10 0 10 10 FILL 0 0 100 20)\n/POLYLINE (1 2 3 4 5 PENWIDTH 3 FILL 0 0 0)\n/OVAL (0 0 4 4)\n",
     "polygon 0,0 10,0 10,10 fill 0000ff pen 1 000000\n"
     "polyline 1,2 3,4 pen 3 000000\n"
     "oval 0 0 4 4 fill 0000ff pen 3 000000\n"},
    {"fonts, quoted faces, shadows, angles and justification",
     "/FONT (FACE \"Times New Roman\" SIZE 20 BOLD ITALICS COLOR 0 0 100 SHADOW 2 3 50 50 50)\n"
     "/TEXT (100 200 RJ Total:  \"12\")\n"
     "/FONT (NOSHADOW NOBOLD UNDERLINE ANGLE 90 FACE \"Courier New)\n"
     "/TEXT (5 6 CJ x)\n/TEXT (5 6 QQ left)\n",
     "text 100 200 R face=Times New Roman h=20 w=700 i esc=0 color 0000ff shadow 2 3 808080 |Total:  \"12\"|\n"
     "text 5 6 C face=Courier New h=20 w=100 i u esc=900 color 0000ff |x|\n"
     "text 5 6 L face=Courier New h=20 w=100 i u esc=900 color 0000ff |left|\n"},
    {"pictures from the cache or a full path, stretched and masked",
     "/IMAGE (10 20 logo.png SIZE 30)\n/IMAGE (1 2 \"c:\\pics\\a b.gif\" XSIZE 5 MASK 4 0)\n",
     "image /cache/logo.png at 16 32 size 48 48\n"
     "image c:/pics/a b.gif at 2 3 size 8 0 mask 4 0\n",
     1.6},
    {"the background is at least 800 x 600 units and blends over the whole form",
     "/BACKGROUND (WIDTH 640 HEIGHT 1000 FILL 0 0 50)\n/BACKGROUND (BLEND 100 100 100)\n/BACKGROUND\n",
     "layers 800 1000 000080\n"
     "layers 800 600 000080\n"
     "box 0 0 800 600 fill 000080 blend ffffff nopen\n"
     "layers 800 600 000080\n"
     "box 0 0 800 600 fill 000080 blend ffffff nopen\n"},
    {"scaled form sizes round up to whole scroll steps", "/BACKGROUND ()\n", "layers 1000 750 ffffff\n", 1.25},
    {"lines that are not commands, too short or unknown change nothing",
     "  /BOX (1 1 2 2)\nBOX (3 3 4 4)\n/BOX\n/BOX (\n/UNKNOWN (1 2)\n/BOX(5 5 6 6)\n/BOX (7 7 8 8 BOGUS FILL 0 0 0)\n"
     "/NEWTABORDER (A B)\n",
     "box 1 1 2 2 fill ffffff pen 1 000000\n"
     "box 7 7 8 8 fill 000000 pen 1 000000\n"},
    {"grid, caption and function keys; a later key line replaces an earlier one",
     "/GRID\n/CAPTION (Order entry  )\n/F1 (HELP)\n/F12 <a b  c>\n/F1 (HELP2)\n/F13 (no)\n/F0 (no)\n",
     "grid 1.00\ncaption Order entry\nF1 HELP2\nF12 a b  c\n"},
    {"objects are listed in screen order and tabbed in creation order",
     "/CHECK (100 50 B)\n/CHECK (20 50 A)\n/CHECK (10 10 C)\n",
     "object check 1 B at 100 50\nobject check 2 A at 20 50\nobject check 3 C at 10 10\n"
     "list C A B\ntab B A C\n"},
    {"objects without a name are not created; coordinates are scaled",
     "/BUTTON (10 10 20 20 \"\")\n/MAP (1 2 3 4 M)\n/DISPLAYFIELD (5 5 10)\n/PICKLIST (10 20 8 P)\n/MULTIPICK (0 20 8 "
     "Q)\n",
     "object map 1 M at 2 3\nobject pick 1 P at 16 32\nobject pick 2 Q at 0 32\n"
     "list M Q P\ntab M P Q\n",
     1.6},
    {"a radio group is tabbed once; /TABORDER takes blanks and bars and skips unknown names",
     "/TABORDER (X)\n/RADIO (10 10 PAY 1)\n/RADIO (50 10 pay 2)\n/ENTRYBOX (10 50 5 NAME)\n/TABORDER (name|PAY  "
     "nothing||)\n"
     "/CHECK (0 0 FIRST)\n",
     "object radio 1 PAY at 10 10\nobject radio 2 pay at 50 10\nobject entry 1 NAME at 10 50\nobject check 1 FIRST at "
     "0 0\n"
     "list FIRST PAY pay NAME\ntab NAME PAY\n"},
};

class FormLanguage : public ::testing::TestWithParam<Case> {};

TEST_P(FormLanguage, DrawsAndCreatesAsWritten)
{
    Built b;
    Build(b, GetParam().Form, GetParam().Scale);
    EXPECT_EQ(Listing(b), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormLanguage, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FormLanguage, EntryBoxesTakeTheCarriedFieldSettings)
{
    Built b;
    Build(b,
          "/ENTRYBOX (10 20 12 FIRST MAXCHARS 40 DISPLAYLINES 0 FIELDSTYLE Dotted FIELDPENWIDTH 0 RJ EMBOSSED "
          "PENWIDTH 2 PENCOLOR 100 0 0 SHADOW 1 2 0 0 100 FILL 0 100 0 ENTRYCOLOR 50 50 50 TEXTCOLOR 0 0 50)\n"
          "/ENTRYBOX (0 0 6 SECOND FIELDSTYLE SOLID)\n"
          "/DISPLAYFIELD (0 100 7 SHOWN CJ)\n",
          1.25);
    ASSERT_EQ(b.Model.Cursors.Count(), 2);
    const Cursor& first = b.Model.Cursors[1];
    EXPECT_EQ(first.MaxChars, 40);
    EXPECT_EQ(first.Field.DisplayLines, 1);
    EXPECT_EQ(first.Field.Style, FieldStyle::Underline);
    EXPECT_EQ(first.Border3D, BorderStyle::Embossed);
    EXPECT_EQ(first.BorderWidth, 2); // 2 x 1.25 = 2.5, halves to even
    EXPECT_EQ(first.EntryColor, 0x808080u);

    // The next entry box carries the settings on; MAXCHARS restarts from its length.
    const Cursor& second = b.Model.Cursors[2];
    EXPECT_EQ(second.MaxChars, 6);
    EXPECT_EQ(second.Field.Style, FieldStyle::Solid);
    EXPECT_EQ(second.textalign, TextAlign::Right);
    EXPECT_TRUE(second.Shadow);
    EXPECT_EQ(second.FontColor, 0x800000u);
    EXPECT_EQ(b.Model.DisplayFields[1].Xcoord2, 0 + 7 * 9);
}

TEST(FormLanguage, EachKindTakesAtMost500Objects)
{
    std::string form;
    for (int i = 0; i < 501; ++i)
        form += "/CHECK (" + std::to_string(i) + " 0 C" + std::to_string(i) + ")\n";
    for (int i = 0; i < 10; ++i)
        form += "/MAP (0 0 1 1 M" + std::to_string(i) + ")\n";
    Built b;
    Build(b, form);
    EXPECT_EQ(b.Model.Checks.Count(), 500);
    EXPECT_EQ(b.Model.Checks[500].Name, "C499");
    EXPECT_EQ(b.Model.Maps.Count(), 10) << "the maps exist";
    EXPECT_EQ(b.Model.ListCount(), 500) << "but the object list is full";
    EXPECT_EQ(b.Model.TabOrder.size(), 500u);
}

TEST(FormLanguage, LayersThatCannotBeMadeStopTheForm)
{
    Built b;
    b.Drawing.RefuseLayers = true;
    Build(b, "/BOX (1 1 2 2)\n");
    EXPECT_EQ(b.Result.Failure, FormFailure::Layers);
    EXPECT_EQ(b.Drawing.Calls.size(), 1u);
}

} // namespace
} // namespace kalvor::test
