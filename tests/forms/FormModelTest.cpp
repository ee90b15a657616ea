// The object model: name lookups, values kept across a rebuild, and the
// layout of the object dump.
#include "FileBytes.h"
#include "RecordingDrawing.h"
#include "TempHome.h"

#include "forms/FormBuild.h"
#include "forms/ObjectDump.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

using namespace kalvor::forms;

FormModel Read(std::string_view form)
{
    FormModel model;
    InterpreterState state;
    RecordingDrawing drawing;
    BuildForm(form, BuildKind::NewForm, model, state, drawing, FormSettings{});
    return model;
}

TEST(FormModel, LookupsIgnoreCaseAndFindTheChosenRadioButton)
{
    FormModel m =
        Read("/BUTTON (0 300 10 310 OK)\n/RADIO (10 10 Size 1)\n/RADIO (10 20 SIZE 2)\n/RADIO (10 30 size 3)\n"
             "/DISPLAYFIELD (0 200 5 Total)\n/DISPLAYFIELD (0 210 5 Tax)\n");
    EXPECT_EQ(m.GetObjectIndexByName("ok"), 6);
    EXPECT_EQ(m.GetObjectIndexByName("missing"), 0);
    EXPECT_EQ(m.GetObjectIndexByName("size", true), 1) << "no button chosen: the first";
    m.Radios[2].Value = true;
    EXPECT_EQ(m.GetObjectIndexByName("size", true), 2);
    EXPECT_EQ(m.GetObjectIndexByName("size"), 1);
    EXPECT_EQ(m.GetObjectIndexByType(ObjectType::Check, 1), 0);
    EXPECT_EQ(m.GetDisplayFldIndex("TAX"), 2);
    EXPECT_EQ(m.GetDisplayFldIndex("ok"), 0);
    EXPECT_EQ(m.GetTabIndex(6), 1) << "OK was created first";
    EXPECT_EQ(m.Focus.CurFocusObj, 6);
}

TEST(FormModel, ARebuildKeepsValuesAndFocusByName)
{
    FormModel m;
    InterpreterState state;
    RecordingDrawing drawing;
    const std::string form =
        "/ENTRYBOX (10 10 8 NAME)\n/CHECK (10 40 AGREE)\n/RADIO (10 60 PAY 1)\n/RADIO (50 60 PAY 2)\n"
        "/PICKLIST (10 80 8 COLOUR)\n/DISPLAYFIELD (10 100 8 STATUS)\n";
    BuildForm(form, BuildKind::NewForm, m, state, drawing, FormSettings{});
    m.Cursors[1].Text = "Ada\r\nLovelace";
    m.Checks[1].Value = true;
    m.Radios[2].Value = true;
    m.Picks[1].List = {"red", "green"};
    m.Picks[1].SelList = {"green"};
    m.DisplayFields[1].Text = "saved";
    m.Focus.CurFocusObj = m.GetObjectIndexByName("agree");

    // The form changed meanwhile: an object now lies before all the others.
    BuildForm("/MAP (0 0 5 5 NEW)\n" + form, BuildKind::Rebuild, m, state, drawing, FormSettings{});
    EXPECT_EQ(m.Cursors[1].Text, "Ada\r\nLovelace");
    EXPECT_TRUE(m.Checks[1].Value);
    EXPECT_FALSE(m.Radios[1].Value);
    EXPECT_TRUE(m.Radios[2].Value);
    EXPECT_EQ(m.Picks[1].SelList, std::vector<std::string>{"green"});
    EXPECT_EQ(m.DisplayFields[1].Text, "saved");
    EXPECT_EQ(m.Focus.CurFocusObj, m.GetObjectIndexByName("AGREE"));
    EXPECT_EQ(m.Focus.TabIndex, m.GetTabIndex(m.Focus.CurFocusObj));

    BuildForm(form, BuildKind::NewForm, m, state, drawing, FormSettings{});
    EXPECT_EQ(m.Cursors[1].Text, "") << "a new form starts empty";
}

TEST(FormModel, DumpLayout)
{
    TempHome home;
    FormModel m = Read("/RADIO (10 10 PAY 1 FILL 1 2 3)\n/BUTTON (0 0 20 8 OK FOCUSAFFECT OUTLINE)\n"
                       "/PICKLIST (5 30 4 P FIELDCOLOR 100 50 0)\n");
    m.Picks[1].List = {"a", "b"};
    m.Picks[1].SelList = {"b"};
    std::tm now{};
    now.tm_year = 125;
    now.tm_mon = 2;
    now.tm_mday = 7;
    now.tm_hour = 21;
    now.tm_min = 5;
    const std::string rule(60, '=');
    const std::string expected =
        rule + "\nMar 7 2025  09:05 PM\nForms Mode Arrays\n" + rule +
        "\n\n"
        "  ObjectList:\n"
        "    1. Button .... (0, 0)\n"
        "    2. Radio ..... (10, 10)\n"
        "    3. PickList .. (5, 30)\n"
        "\n  TabOrder:\n    1. 2\n    2. 1\n    3. 3\n"
        "\n  Button-Object Array\n"
        "    ButtonObj(1).Action = OK\n    ButtonObj(1).Xcoord1 = 0\n    ButtonObj(1).Ycoord1 = 0\n"
        "    ButtonObj(1).Xcoord2 = 20\n    ButtonObj(1).Ycoord2 = 8\n    ButtonObj(1).FocusAffect = OUTLINE\n"
        "    ButtonObj(1).ClickAffect = \n"
        "\n  Check-Object Array\n"
        "\n  Cursor-Object Array\n"
        "\n  Pick-Object Array\n"
        "    Pick(1).Name = P\n    Pick(1).Type = Single-Pick\n    Pick(1).Xcoord1 = 5\n    Pick(1).Ycoord1 = 30\n"
        "    Pick(1).Length = 4\n    Pick(1).MaxChars = 4\n    Pick(1).Height = 1\n    Pick(1).Count = 2\n"
        "    Pick(1).List(1) = a\n    Pick(1).List(2) = b\n    Pick(1).SelCount = 1\n    Pick(1).SelList(1) = b\n"
        "    Pick(1).Fill = False\n    Pick(1).FillColor = (255, 255, 255)\n    Pick(1).FontColor = (0, 0, 0)\n"
        "    Pick(1).EntryColor = (0, 0, 0)\n    Pick(1).Shadow = False\n    Pick(1).ShadowColor = (0, 0, 0)\n"
        "    Pick(1).Sxoffset = 0\n    Pick(1).Syoffset = 0\n    Pick(1).FieldStyle = none\n"
        "    Pick(1).FieldColor = (255, 128, 0)\n    Pick(1).FieldPenWidth = 2\n"
        "\n  Radio-Object Array\n"
        "    Radio(1).Name = PAY\n    Radio(1).Xcoord1 = 10\n    Radio(1).Ycoord1 = 10\n    Radio(1).Index = 1\n"
        "    Radio(1).Value = False\n"
        "\n  Map-Object Array\n"
        "\n  DisplayField-Object Array\n";
    EXPECT_EQ(FormatObjectArrays(m, now), expected);

    const auto file = home.Path() / "PrintList.txt";
    ASSERT_TRUE(PrintObjectArrays(m, file));
    EXPECT_NE(ReadAll(file).find("  Pick-Object Array\n    Pick(1).Name = P\n"), std::string::npos);
}

} // namespace
} // namespace kalvor::test
