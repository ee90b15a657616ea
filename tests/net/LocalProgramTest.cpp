// A program run in a pseudo-terminal as the fifth network kind: the login
// shell finds the hp70092 terminal description, the window size is kept in
// step, a break interrupts, the end of the program is shown, a paused
// display holds the program back (and with it the thread that reads the
// pseudo-terminal). (Its long stream: LongStreamTest.cpp; how curses
// programs draw through the description: tests/screen/curses_diff.py.)
#include "FileBytes.h"
#include "NetTestSupport.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include "comms/net/LocalProgramEnvironment.h"

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

class LocalFixture : public ::testing::Test {
protected:
    TempHome home;
};

TEST_F(LocalFixture, LoginShellSeesTheTerminalTypeAndTheScreenSize)
{
    Harness h;
    h.Connect("", NetworkKind::LocalProgram);
    ASSERT_TRUE(h.Manager.Local().Running());
    h.Type("echo T=$TERM L=$LANG G=$GROFF_NO_SGR; stty size\r");
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("T=hp70092 L=C G=1\n24 80"); })) << h.Memory();
    if (h.Manager.Local().Program().ends_with("/bash")) {
        // Readline's bracketed paste is off: no "?2004h" at the prompts.
        h.Type("bind -v | grep bracketed-paste\r");
        ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("set enable-bracketed-paste off"); })) << h.Memory();
        EXPECT_FALSE(h.MemoryHas("2004h")) << h.Memory();
    }
    if (!FindProgram("less").empty()) {
        // The terminal description is complete enough for less (and man).
        h.Type("echo x | less -FX; echo less-done\r");
        ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("\nless-done"); }, 5000)) << h.Memory();
        EXPECT_FALSE(h.MemoryHas("not fully functional")) << h.Memory();
    }
    Internals(h.Term).Memory().SetWidth(132);
    Internals(h.Term).Memory().RowsInTerm = 30;
    h.Manager.ScreenSizeChanged();
    h.Type("stty size\r");
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("30 132"); })) << h.Memory();
    // A break interrupts the foreground program, not the shell.
    h.Type("sh -c 'trap \"echo GOT-INTERRUPT; exit 0\" INT; echo READY; while :; do sleep 0.1; done'\r");
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("\nREADY"); })) << h.Memory();
    Internals(h.Term).Controls().SendBreak_Click();
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("\nGOT-INTERRUPT"); })) << h.Memory();
    EXPECT_TRUE(h.Manager.Local().Running());
    h.Manager.Disconnect_Click();
    EXPECT_TRUE(h.MemoryHas("has been disconnected>")) << h.Memory();
    EXPECT_EQ(h.Manager.StatusText(), "Local");
    EXPECT_FALSE(h.Manager.Local().Running());
    EXPECT_TRUE(h.ConnectEnabled);
    // A program that cannot start ends as the shell says.
    h.Connect("/nonexistent/program-for-kalvor", NetworkKind::LocalProgram);
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("ended: exit status 127>"); })) << h.Memory();
    EXPECT_TRUE(h.ConnectEnabled);
}

TEST(LocalProgramEnvironment, TheTerminalsEntriesReplaceTheDesktopsAndInputrcIsWritten)
{
    const std::vector<std::string> parent = {
        "PATH=/usr/bin",        "TERM=xterm-256color", "LANG=en_US.UTF-8", "LC_ALL=en_US.UTF-8",
        "LC_CTYPE=de_DE.UTF-8", "COLUMNS=120",         "LINES=40",         "INPUTRC=/x/inputrc",
        "HOME=/home/u",         "LANGUAGE=de",         "LESS=-i"};
    net::LocalEnvironmentChoice choice;
    choice.Locale = "C";
    choice.Inputrc = "/k/temp/inputrc";
    choice.Terminfo = "/k/temp/terminfo";
    const std::vector<std::string> env = net::LocalProgramEnvironment(parent, choice);
    EXPECT_EQ(env, (std::vector<std::string>{"PATH=/usr/bin", "HOME=/home/u", "LANGUAGE=de", "TERM=hp70092",
                                             "TERMINFO=/k/temp/terminfo", "LANG=C", "INPUTRC=/k/temp/inputrc",
                                             "GROFF_NO_SGR=1", "LESS=-i -+R"}));
    EXPECT_EQ(net::ChooseLocale(false, "en_US.ISO-8859-1"), "C") << "Roman 8 has no locale";

    // The inputrc includes the user's settings and turns bracketed paste off.
    TempHome home;
    const std::filesystem::path user = home.Path() / ".inputrc";
    WriteAll(user, "set bell-style none\n");
    const std::filesystem::path folder = home.Path() / "temp";
    const net::LocalEnvironmentChoice rc =
        net::ChooseEnvironment({"HOME=" + home.Path().string(), "LANG=en_US.UTF-8"}, true, folder);
    ASSERT_EQ(rc.Inputrc, folder / "inputrc");
    const std::string text = ReadAll(rc.Inputrc);
    EXPECT_NE(text.find("$include " + user.string() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nset enable-bracketed-paste off\n"), std::string::npos) << text;
    EXPECT_TRUE(rc.Locale == "C" || rc.Locale.find("en_US") == 0) << rc.Locale;
}

TEST_F(LocalFixture, PausedDisplayHoldsTheProgramBack)
{
    Harness h;
    Internals(h.Term).Receive().DisplayRunning = false;
    h.Connect("seq 1 400000", NetworkKind::LocalProgram);
    EXPECT_EQ(h.Statuses.back(), "Local program");
    EXPECT_EQ(h.Captions.back(), "seq 1 400000 - Kalvor");
    ASSERT_TRUE(WaitFor([&] { return h.Manager.Local().Throttle().Paused(); }));
    Settle(300);
    const std::size_t held =
        Internals(h.Term).Receive().CommBuffer().Size() + Internals(h.Term).Receive().NetInBuffer().size();
    EXPECT_LT(held, ReceiveThrottle::kHigh + net::InputThrottle::kStagingHigh + 128 * 1024);
    EXPECT_TRUE(h.Manager.Local().Running()); // blocked on its output, not finished
    Internals(h.Term).Receive().DisplayRunning = true;
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("ended: exit status 0>"); }, 60000)) << h.Memory();
    EXPECT_TRUE(h.MemoryHas("\n399999\n400000\n")) << h.Screen();
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.Manager.ConnectedSwitch());
    EXPECT_EQ(h.Captions.back(), "Kalvor");
}

} // namespace
} // namespace kalvor::test
