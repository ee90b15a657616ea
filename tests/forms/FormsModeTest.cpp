// The forms-mode core driven by host bytes, keys and clicks: a form arriving
// in pieces, host command lines setting every kind, navigation and the value
// lines it sends, pending lines, exit protection, the geometric search.
#include "FakeConnection.h"
#include "RecordingDrawing.h"
#include "TempHome.h"

#include "forms/FormBuild.h"
#include "forms/FormsMode.h"
#include "forms/FormsReport.h"
#include "forms/FormsTransmitter.h"
#include "forms/ObjectAreas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace kalvor::test {
namespace {

using namespace kalvor::forms;

class FakeWindow final : public FormsWindow {
public:
    explicit FakeWindow(FormModel& model) : model_(model) {}
    int Builds = 0, Unloads = 0, Bells = 0;
    std::vector<std::string> Messages; // "title: text"

    FormResult BuildForm(std::string_view text) override
    {
        ++Builds;
        InterpreterState state;
        RecordingDrawing drawing;
        return kalvor::forms::BuildForm(text, BuildKind::NewForm, model_, state, drawing, FormSettings{});
    }
    void UnloadWindow() override { ++Unloads; }
    void RedrawObject(int) override {}
    void FocusMoved(int, int) override {}
    void Bell() override { ++Bells; }
    void MessageBox(std::string_view title, std::string_view text) override
    {
        Messages.push_back(std::string(title) + ": " + std::string(text));
    }
    Rect ObjectArea(int position) const override { return PlainObjectArea(model_, model_.At(position)); }

private:
    FormModel& model_;
};

class FakeOutput final : public FormsOutput {
public:
    std::string Sent;
    void xmitchar(std::string_view text) override { Sent += text; }
    std::string Take() { return std::exchange(Sent, {}); }
};

class Pacing final : public HostPacing {
public:
    bool Ready = true;
    bool Dc1Received() const override { return Ready; }
};

const std::string kForm = "/CAPTION (Order)\n/F1 (Help)\n/ENTRYBOX (10 10 20 NAME)\n/CHECK (300 10 AGREE)\n"
                          "/MULTIPICK (10 60 10 COLOUR)\n/RADIO (10 120 SIZE 1)\n/RADIO (60 120 SIZE 2)\n"
                          "/RADIO (110 120 SIZE 3)\n/DISPLAYFIELD (10 200 30 STATUS)\n/MAP (400 200 500 300 AREA)\n"
                          "/BUTTON (10 300 110 350 OK)\n";

class FormsModeTest : public ::testing::Test {
protected:
    FormsModeTest() { mode.SetPacing(pacing); }

    // Host bytes arriving, then one tick of the polling timer.
    void Host(std::string_view bytes)
    {
        buffer.Append(bytes);
        mode.CanvoPolling(buffer);
    }
    void Tick(std::int64_t ms)
    {
        clock.Advance(ms);
        mode.CanvoPolling(buffer);
    }
    void SendForm() { Host("\x1b%k1F" + kForm + "\x1b%kC"); }
    std::string FocusName() const
    {
        return model.Listed(model.Focus.CurFocusObj) ? std::string(model.NameOf(model.At(model.Focus.CurFocusObj))) +
                                                           std::to_string(model.Focus.CurFocusObj)
                                                     : "none";
    }

    TempHome home;
    FormModel model;
    FormsFlags flags;
    FakeWindow window{model};
    FakeOutput output;
    Pacing pacing;
    ManualClock clock;
    ByteQueue buffer;
    FormsMode mode{model, flags, window, output, clock, FormFiles::OfThisInstance()};
};

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(FormsModeTest, AFormInPiecesWithItsClosingSequenceSplitIsBuiltOnce)
{
    const std::string stream = "junk\r\x1b%k1F" + kForm + "\x1b%kCNAME:Ada\r";
    const std::size_t split = stream.find("\x1b%kC") + 2; // ESC % | k C
    for (std::size_t at = 0; at < stream.size();) {
        const std::size_t piece = at < split && split - at < 7 ? split - at : 7;
        Host(std::string_view(stream).substr(at, piece));
        at += piece;
        EXPECT_LE(window.Builds, 1);
    }
    EXPECT_EQ(window.Builds, 1);
    EXPECT_EQ(ReadFile(mode.FormFile()), kForm);
    EXPECT_EQ(ReadFile(mode.FormLogFile()), kForm);
    EXPECT_TRUE(mode.Showing());
    EXPECT_FALSE(mode.Receiving());
    EXPECT_EQ(mode.Caption(), "Order");
    EXPECT_EQ(model.Cursors[1].Text, "Ada") << "the host command after the form";
    EXPECT_TRUE(buffer.Empty());
}

TEST_F(FormsModeTest, ADownloadSilentForFiveSecondsIsAbandoned)
{
    Host("\x1b%k0F/ENTRYBOX (10 10 5 A)\n");
    Tick(4999);
    EXPECT_TRUE(mode.Receiving());
    Host("/CHECK (10 40 B)\n"); // data arriving restarts the wait
    Tick(4999);
    EXPECT_TRUE(mode.Receiving());
    clock.Advance(1);
    Host("\x1b%kC");
    EXPECT_FALSE(mode.Receiving());
    EXPECT_EQ(window.Builds, 0) << "a closing sequence after the time-out builds nothing";
    EXPECT_FALSE(std::filesystem::exists(mode.FormFile()));

    Host("\x1b%k2F/CHECK (10 40 B)\n"); // only 0 and 1 start a form
    EXPECT_FALSE(mode.Receiving());
}

TEST_F(FormsModeTest, HostCommandLinesSetEveryKind)
{
    SendForm();
    struct Case {
        std::string line;
        std::function<std::string()> value;
        std::string expected;
    };
    auto check = [&] { return std::string(model.Checks[1].Value ? "T" : "F"); };
    auto entry = [&] { return model.Cursors[1].Text; };
    auto pick = [&] {
        std::string s;
        for (const auto& i : model.Picks[1].List)
            s += i + ",";
        s += "/";
        for (const auto& i : model.Picks[1].SelList)
            s += i + ",";
        return s;
    };
    auto radio = [&] {
        return std::to_string(model.Radios[1].Value) + std::to_string(model.Radios[2].Value) +
               std::to_string(model.Radios[3].Value);
    };
    auto status = [&] { return model.DisplayFields[1].Text; };
    auto focus = [&] { return FocusName(); };
    const Case cases[] = {
        {"agree:tRUE\r", check, "T"},
        {"AGREE:yes\r", check, "F"},
        {"AGREE:True\r:AGREE:False\rAGREE False\r", check, "T"}, // colon first, or none: ignored
        {" name :a\\|b|c\r", entry, "a|b\r\nc"},
        {"NAME:x\x01y\x1b&dBz\r", entry, "xy"}, // control characters removed; an escape sequence ends the line
        {"COLOUR:|red|green |blue|*|green|blue|\r", pick, "red,green ,blue,/green ,blue,"},
        {"COLOUR:red|a\\|*|b|*|b\r", pick, "red,a\\,*,b,/b,"},
        {"COLOUR:\r", pick, "/"},
        {"STATUS:  x|y \r", status, "  x|y "},
        {"SIZE:2\r", radio, "010"},
        {"size:3.0\r", radio, "001"},
        {"SIZE:9\r", radio, "000"},
        {"GOTO:colour\r", focus, "COLOUR3"},
        {"GOTO:nothing\r", focus, "COLOUR3"},
        {"NOBODY:1\r", focus, "COLOUR3"},
    };
    for (const Case& c : cases) {
        Host(c.line);
        EXPECT_EQ(c.value(), c.expected) << c.line;
    }
    EXPECT_EQ(window.Bells, 0);
    Host("ONERROR:\rONERROR:Bad size\r");
    EXPECT_EQ(window.Bells, 2);
    ASSERT_EQ(window.Messages.size(), 1u);
    EXPECT_EQ(window.Messages[0], "Forms Mode Error: Bad size");
    EXPECT_EQ(output.Sent, "") << "host commands send nothing";
}

TEST_F(FormsModeTest, NavigationAndTheValueLinesItSends)
{
    SendForm();
    Host("COLOUR:red|green|blue\rSIZE:2\r");
    ASSERT_EQ(FocusName(), "NAME1");
    struct Step {
        const char* what;
        std::function<void()> act;
        std::string sent;
        std::string focus;
    };
    const Step steps[] = {
        {"type, Tab",
         [&] {
             mode.TypeText("A|d\ra");
             mode.Key(FormsKey::Tab);
         },
         "NAME:A\\|da\r", "AGREE2"},
        {"Enter on a check box", [&] { mode.Key(FormsKey::Enter); }, "AGREE:True\r", "AGREE2"},
        {"Tab", [&] { mode.Key(FormsKey::Tab); }, "", "COLOUR3"},
        {"choose, Shift+Tab",
         [&] {
             mode.SetPickSelection({"green", "blue"});
             mode.Key(FormsKey::ShiftTab);
         },
         "COLOUR:|red|green|blue|*|green|blue|\r", "AGREE2"},
        {"Tab twice onto the group",
         [&] {
             mode.Key(FormsKey::Tab);
             mode.Key(FormsKey::Tab);
         },
         "", "SIZE5"},
        {"Up", [&] { mode.Key(FormsKey::Up); }, "", "SIZE4"},
        {"Up wraps", [&] { mode.Key(FormsKey::Up); }, "", "SIZE6"},
        {"Enter on a radio button", [&] { mode.Key(FormsKey::Enter); }, "SIZE:3\r", "SIZE6"},
        {"Tab after the group", [&] { mode.Key(FormsKey::Tab); }, "", "STATUS7"},
        {"End, Enter on the button",
         [&] {
             mode.Key(FormsKey::End);
             mode.Key(FormsKey::Enter);
         },
         "OK:OK\r", "OK9"},
        {"Tab wraps", [&] { mode.Key(FormsKey::Tab); }, "", "NAME1"},
        {"Enter unchanged", [&] { mode.Key(FormsKey::Enter); }, "", "COLOUR3"},
        {"Enter wraps to the entry box", [&] { mode.Key(FormsKey::Enter); }, "", "NAME1"},
        {"Down", [&] { mode.Key(FormsKey::Down); }, "", "COLOUR3"},
        {"click NAME", [&] { mode.Click(15, 15); }, "", "NAME1"},
        {"click the button", [&] { mode.Click(50, 320); }, "OK:NAME\r", "NAME1"},
        {"click the check box", [&] { mode.Click(305, 15); }, "AGREE:False\r", "NAME1"},
        {"click the map", [&] { mode.Click(450, 250); }, "AREA:450|250\r", "NAME1"},
        {"click a radio button", [&] { mode.Click(15, 125); }, "SIZE:1\r", "NAME1"},
        {"click the display field", [&] { mode.Click(20, 205); }, "", "NAME1"},
        {"F1, F2",
         [&] {
             mode.FunctionKey(1);
             mode.FunctionKey(2);
         },
         "HELP:Help\r", "NAME1"},
        {"type, click the button",
         [&] {
             mode.TypeText("\b\b\b\bBo");
             mode.Click(50, 320);
         },
         "NAME:Bo\rOK:NAME\r", "NAME1"},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(output.Take(), s.sent) << s.what;
        EXPECT_EQ(FocusName(), s.focus) << s.what;
    }
}

TEST_F(FormsModeTest, ALineWaitingForTheHostGoesOutOnItsNextDc1)
{
    SendForm();
    pacing.Ready = false;
    mode.Click(305, 15);
    mode.Click(305, 15);
    EXPECT_EQ(output.Sent, "");
    EXPECT_EQ(mode.PendingRequest(), 21);
    Host("\x11");
    EXPECT_EQ(output.Take(), "AGREE:True\rAGREE:False\r");
    EXPECT_EQ(mode.PendingRequest(), 0);
}

TEST_F(FormsModeTest, ExitProtectionAndTheEndOfTheProgram)
{
    SendForm();
    Host("\x1b%k1U");
    EXPECT_FALSE(mode.UserClose());
    ASSERT_EQ(window.Messages.size(), 1u);
    EXPECT_EQ(window.Messages[0], "Improper Exit Warning: " + ImproperExitText());
    Host("\x1b%k0U");
    EXPECT_TRUE(mode.UserClose());

    Host("\x1b%k1U\x1b&dBSTATUS:x\r\x1b%kEmore");
    EXPECT_EQ(model.DisplayFields[1].Text, "x");
    EXPECT_FALSE(flags.ExitProtection);
    EXPECT_TRUE(flags.CloseRequested);
    EXPECT_EQ(buffer.View(), "\x1b%kEmore") << "left for the terminal";
    EXPECT_EQ(window.Unloads, 0);
    Tick(25);
    EXPECT_EQ(window.Unloads, 1);
    EXPECT_FALSE(mode.Showing());
}

TEST_F(FormsModeTest, TheReportListsObjectsTabAndFocus)
{
    Host("\x1b%k0F/F1 (Help)\n/CHECK (5 5 AGREE)\n/MULTIPICK (5 40 10 C)\n\x1b%kCC:red|*|red\r");
    Tick(25); // the pass that built the form ends there
    EXPECT_EQ(
        FormsReport(mode),
        R"({"active":true,"receiving":false,"caption":"","objects":[)"
        R"({"pos":1,"type":2,"kind":"check","name":"AGREE","x1":5,"y1":5,"value":false},)"
        R"({"pos":2,"type":4,"kind":"multipick","name":"C","x1":5,"y1":40,"length":10,"items":["red"],"selected":["red"]}],)"
        R"("tab":[1,2],"focus":1,"tabpos":1,"fkeys":{"F1":"Help"}})");
}

TEST(GeometricSearch, FindsTheNearestObjectInTheDirection)
{
    FormModel model;
    InterpreterState state;
    RecordingDrawing drawing;
    BuildForm("/BUTTON (100 100 200 150 C)\n/BUTTON (100 10 200 60 N)\n/BUTTON (300 0 400 40 NE)\n"
              "/BUTTON (100 200 200 250 S)\n/BUTTON (0 110 50 140 W)\n/BUTTON (250 160 350 190 SE)\n"
              "/BUTTON (220 120 260 130 E)\n/BUTTON (180 140 240 170 O)\n",
              BuildKind::NewForm, model, state, drawing, FormSettings{});
    const SearchCoordinates area = [&](int p) { return PlainObjectArea(model, model.At(p)); };
    auto at = [&](const char* name) { return model.GetObjectIndexByName(name); };
    struct Case {
        const char* from;
        Direction direction;
        SearchMode mode;
        const char* found; // "" for none
    };
    const Case cases[] = {
        {"C", Direction::Down, SearchMode::Edge, "S"}, // overlapping across beats the nearer SE
        {"C", Direction::Up, SearchMode::Edge, "N"},
        {"C", Direction::Right, SearchMode::Edge, "E"},
        {"C", Direction::Left, SearchMode::Edge, "W"},
        {"W", Direction::Left, SearchMode::Edge, ""},
        {"N", Direction::Right, SearchMode::Edge, "NE"},
        {"E", Direction::Up, SearchMode::Edge, "N"},     // none overlaps: the smaller weighted gap
        {"C", Direction::Down, SearchMode::Centre, "O"}, // an overlapping object counts by its centre
        {"E", Direction::Left, SearchMode::Centre, "C"},
        {"SE", Direction::Up, SearchMode::Centre, "E"}, // E overlaps across, O does not
    };
    for (const Case& c : cases) {
        const int found = GeometricSearch(model, at(c.from), c.direction, c.mode, area);
        EXPECT_EQ(found == 0 ? std::string() : std::string(model.NameOf(model.At(found))), c.found)
            << c.from << " direction " << static_cast<int>(c.direction) << " mode " << static_cast<int>(c.mode);
    }
}

TEST(FormsTransmitter, SendsValueLinesThroughTheTerminalsTransmitPath)
{
    ManualClock clock;
    FakeConnection telnet;
    telnet.NetKind = NetworkKind::TelnetAdvanced;
    TerminalState state;
    state.AutoLineFeed = true;
    state.HostRoman8 = true;
    Transmitter terminal(state, telnet, clock, nullptr);
    FormsTransmitter t(terminal);
    t.xmitchar("A:\xe9\r");
    terminal.XmitString("B\r", false);
    t.xmitchar("C\r");
    EXPECT_EQ(telnet.Written(), std::string("A:\xc5\r\0\nB\rC\r\0\n", 12));
    ASSERT_EQ(telnet.Options.size(), 1u) << "DONT ECHO once for both paths";
    EXPECT_EQ(terminal.LocalEchoRequested, true);
}

TEST(FormsDebugLog, IndentsEnterAndExitLines)
{
    TempHome home;
    FormsDebugLog log(home.Path() / "temp" / "cvdebug.txt");
    log.WriteToDebugFile("enter", "nothing while off");
    log.Start();
    {
        DebugScope outer(&log, "CanvoPolling");
        DebugScope inner(&log, "ExecuteHostCmd");
        inner.Status("HostCmd = A:1");
    }
    log.WriteToDebugFile(" EXIT ", "unbalanced");
    log.WriteToDebugFile("error", "e");
    EXPECT_EQ(ReadFile(log.File()),
              "Enter : CanvoPolling\r\n  Enter : ExecuteHostCmd\r\n    Status: HostCmd = A:1\r\n"
              "  Exit  : ExecuteHostCmd\r\nExit  : CanvoPolling\r\nExit  : unbalanced\r\nStatus: e\r\n");
}

} // namespace
} // namespace kalvor::test
