// The forms-mode core where kalvor-screen cannot look (its cases in
// tests/screen/cases/forms.case drive the rest): the form file and form log,
// the bell and message of ONERROR, lines kept for the host's DC1, xmitchar
// on the wire and the debug log.
#include "FakeConnection.h"
#include "FileBytes.h"
#include "RecordingDrawing.h"
#include "TempHome.h"

#include "forms/FormBuild.h"
#include "forms/FormsMode.h"
#include "forms/FormsTransmitter.h"
#include "forms/ObjectAreas.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

using namespace kalvor::forms;

class FakeWindow final : public FormsWindow {
public:
    explicit FakeWindow(FormModel& model) : model_(model) {}
    int Builds = 0, Bells = 0;
    std::vector<std::string> Messages; // "title: text"

    FormResult BuildForm(std::string_view text) override
    {
        ++Builds;
        InterpreterState state;
        RecordingDrawing drawing;
        return kalvor::forms::BuildForm(text, BuildKind::NewForm, model_, state, drawing, FormSettings{});
    }
    void UnloadWindow() override {}
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

TEST_F(FormsModeTest, TheFormFileAndLogHoldTheTextAsReceived)
{
    const std::string stream = "\x1b%k1F" + kForm + "\x1b%kC";
    const std::size_t split = stream.find("\x1b%kC") + 2; // ESC % | k C
    for (std::size_t at = 0; at < stream.size();) {
        const std::size_t piece = at < split && split - at < 7 ? split - at : 7;
        Host(std::string_view(stream).substr(at, piece));
        at += piece;
    }
    EXPECT_EQ(window.Builds, 1);
    EXPECT_EQ(ReadAll(mode.FormFile()), kForm);
    EXPECT_EQ(ReadAll(mode.FormLogFile()), kForm);

    // A download that falls silent loses its form file; the log keeps what came.
    Host("\x1b%k0F/CHECK (10 40 B)\n");
    Tick(5000);
    EXPECT_FALSE(mode.Receiving());
    EXPECT_FALSE(std::filesystem::exists(mode.FormFile()));
    EXPECT_EQ(ReadAll(mode.FormLogFile()), "/CHECK (10 40 B)\n");
}

TEST_F(FormsModeTest, OnErrorRingsAndShowsItsText)
{
    SendForm();
    Host("ONERROR:\rONERROR:Bad size\r");
    EXPECT_EQ(window.Bells, 2);
    ASSERT_EQ(window.Messages.size(), 1u);
    EXPECT_EQ(window.Messages[0], "Forms Mode Error: Bad size");
    EXPECT_EQ(output.Sent, "") << "host commands send nothing";
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
    EXPECT_EQ(ReadAll(log.File()),
              "Enter : CanvoPolling\r\n  Enter : ExecuteHostCmd\r\n    Status: HostCmd = A:1\r\n"
              "  Exit  : ExecuteHostCmd\r\nExit  : CanvoPolling\r\nExit  : unbalanced\r\nStatus: e\r\n");
}

} // namespace
} // namespace kalvor::test
