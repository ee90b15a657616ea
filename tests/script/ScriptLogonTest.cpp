// Log-on scripts against real Telnet servers on loopback ports: the script's
// ADDR line is the target of the automatic connect, its WAITs see the
// server's prompts, its XMITs answer (echoed once, by the server or by the
// terminal, as the Telnet variant decides), and after EXIT the user has the
// connection.
#include "NetTestSupport.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include "script/ScriptTarget.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

namespace kalvor::test {
namespace {

class ScriptLogon : public ::testing::Test {
public:
    TempHome home;
    ServerProcess server;
    int port = 0;

    std::filesystem::path WriteFile(const std::string& name, const std::string& text)
    {
        const std::filesystem::path p = home.Path() / name;
        WriteAll(p, text);
        return p;
    }

    // kalvor-demohost on a free port; returns the port.
    int StartDemoHost(ServerProcess& host, const std::filesystem::path& log, bool standard)
    {
        std::vector<std::string> argv = {KALVOR_DEMOHOST, "--port", "0", "--log", log.string()};
        if (standard)
            argv.push_back("--standard");
        std::string error;
        EXPECT_TRUE(host.Start(argv, error)) << error;
        EXPECT_TRUE(WaitFor([&] { return host.Output().find('\n') != std::string::npos || !host.Running(); }));
        const std::string& out = host.Output();
        const auto colon = out.rfind(':');
        return colon == std::string::npos ? 0 : std::atoi(out.c_str() + colon + 1);
    }

    // Start-up with a script: prepare it, connect to its target, and run the
    // receive timer until the script has ended.
    void RunScript(Harness& h, const std::string& script)
    {
        script::ScriptInterpreter& s = Internals(h.Term).Script();
        ASSERT_TRUE(s.Prepare(WriteFile("logon.zkt", script)));
        ASSERT_TRUE(s.State().AutoConnect);
        h.Manager.Settings().HostList = {"elsewhere.invalid"}; // the target wins over the host list
        script::ApplyTarget(s.State(), h.Manager.Settings());
        h.Manager.Connect_Click();
        ASSERT_TRUE(WaitFor([&] { return !s.Running(); }, 20000))
            << "the script waits on " << s.State().Command << " " << s.State().Argument << "\n"
            << h.Memory();
        EXPECT_TRUE(h.TerminalShown);
        EXPECT_FALSE(std::filesystem::exists(s.WorkingScript()));
    }
};

// The demonstration host in both Telnet variants: advanced (the terminal
// echoes the script's answers) and standard (the host echoes them).
TEST_F(ScriptLogon, DemoHostMenuDrivenByScriptInBothVariants)
{
    for (const bool standard : {false, true}) {
        SCOPED_TRACE(standard ? "standard" : "advanced");
        ServerProcess host;
        const std::filesystem::path log = home.Path() / (standard ? "standard.bin" : "advanced.bin");
        const int hostPort = StartDemoHost(host, log, standard);
        ASSERT_GT(hostPort, 0) << host.Output();

        Harness h;
        RunScript(h, "ADDR 127.0.0.1:" + std::to_string(hostPort) +
                         "\r\nHEAD Demo host\r\nWAIT Choice: \r\nXMIT 7 3\r\nWAIT End of listing: 3 lines\r\n"
                         "EXIT\r\n");
        EXPECT_EQ(h.ScriptCaptionText, "Demo host  | Kalvor");
        EXPECT_EQ(h.Manager.Kind(), standard ? NetworkKind::TelnetStandard : NetworkKind::TelnetAdvanced);
        // The answer reached the host as the script typed it, and is shown
        // once: by the terminal on the advanced variant, by the host on the
        // standard one.
        const std::string received = ReadAll(log);
        ASSERT_GE(received.size(), 4u);
        EXPECT_EQ(received.substr(received.size() - 4), "7 3\r");
        EXPECT_TRUE(h.MemoryHas("Choice: 7 3\n")) << h.Memory();
        EXPECT_TRUE(h.Trace.Has("Script XMIT:", "7 3"));
        // Handed over: the user's Return brings the menu back.
        h.Type("\r");
        EXPECT_TRUE(WaitFor([&] { return h.ScreenHas("Choice:"); })) << h.Screen();
        h.Manager.Disconnect_Click();
    }
}

// The desktop program with a script as its argument, as when a script file
// is opened from the file manager: it connects and logs on by itself, and
// the working script is gone once the script has ended.
TEST_F(ScriptLogon, DesktopProgramRunsTheScriptGivenOnItsCommandLine)
{
    ServerProcess host;
    const int hostPort = StartDemoHost(host, home.Path() / "received.bin", false);
    ASSERT_GT(hostPort, 0) << host.Output();
    const std::filesystem::path script =
        WriteFile("logon.zkt", "ADDR 127.0.0.1:" + std::to_string(hostPort) +
                                   "\nWAIT Choice: \nXMIT 7 3\nWAIT End of listing: 3 lines\nEXIT\n");
    const std::filesystem::path dump = home.Path() / "screen.txt";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ServerProcess kalvor;
    std::string error;
    ASSERT_TRUE(kalvor.Start({KALVOR_PATH, "--dump-screen", dump.string(), script.string()}, error)) << error;
    const std::filesystem::path working = home.Path() / "temp" / "zkscript.txt";
    EXPECT_TRUE(WaitFor(
        [&] {
            return ReadAll(dump).find("End of listing: 3 lines") != std::string::npos &&
                   !std::filesystem::exists(working);
        },
        30000))
        << ReadAll(dump);
    EXPECT_NE(ReadAll(dump).find("Choice: 7 3\n"), std::string::npos) << ReadAll(dump);
    EXPECT_TRUE(kalvor.Running());
}

// A log-on program that asks for a user and a password (not echoed), then
// runs a shell.
std::string WriteLoginProgram(ScriptLogon& t)
{
    const std::filesystem::path login =
        t.WriteFile("login.sh", "#!/bin/sh\n"
                                "printf 'login: '\n"
                                "read user\n"
                                "stty -echo\n"
                                "printf 'Password: '\n"
                                "read pw\n"
                                "stty echo\n"
                                "printf '\\r\\n'\n"
                                "if [ \"$user\" = guest ] && [ \"$pw\" = secret ]; then\n"
                                "  echo \"Welcome, $user\"\n"
                                "  exec /bin/sh\n"
                                "fi\n"
                                "echo 'Login incorrect'\n");
    ::chmod(login.c_str(), 0755);
    return login.string();
}

// The script logs on to the Telnet server on `port` and hands over.
void ExpectLogOnAndHandOver(ScriptLogon& t, int port)
{
    Harness h;
    t.RunScript(h, "ADDR 127.0.0.1:" + std::to_string(port) +
                       "\nWAIT login: \nXMIT guest\nWAIT Password: \nXMIT secret\nWAIT Welcome, guest\n"
                       "XMIT PS1='re''ady> '\nWAIT ready> \n");
    EXPECT_TRUE(h.MemoryHas("login: guest\n")) << h.Memory();
    EXPECT_FALSE(h.MemoryHas("secret")) << h.Memory();
    EXPECT_FALSE(h.MemoryHas("Login incorrect")) << h.Memory();
    // The script has ended: what the user types goes to the shell.
    h.Type("echo handed-$((2*3))\r");
    EXPECT_TRUE(WaitFor([&] { return h.MemoryHas("\nhanded-6\n"); })) << h.Memory();
    h.Type("exit\r");
    EXPECT_TRUE(WaitFor([&] { return h.ConnectEnabled; })) << h.Memory();
}

TEST_F(ScriptLogon, BusyBoxLogOnThenTheUserHasTheShell)
{
    const std::string busybox = FindProgram("busybox");
    if (busybox.empty() || std::system((busybox + " telnetd --help >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "\n*** SKIPPED LOUDLY: no BusyBox with telnetd (Debian package busybox-static) ***";
    const std::string login = WriteLoginProgram(*this);
    port = FreeLoopbackPort();
    std::string error;
    ASSERT_TRUE(
        server.Start({busybox, "telnetd", "-F", "-b", "127.0.0.1", "-p", std::to_string(port), "-l", login}, error))
        << error;
    if (!WaitForListener(port))
        GTEST_SKIP() << "\n*** SKIPPED LOUDLY: BusyBox telnetd did not start on port " << port << " ***";
    ExpectLogOnAndHandOver(*this, port);
}

TEST_F(ScriptLogon, InetutilsTelnetdLogOnThenTheUserHasTheShell)
{
    const std::string login = WriteLoginProgram(*this);
    port = FreeLoopbackPort();
    std::string error;
    if (!StartInetutilsTelnetd(server, port, login, error)) {
        ASSERT_TRUE(error.empty()) << error;
        GTEST_SKIP()
            << "\n*** SKIPPED LOUDLY: no inetutils telnetd or socat (Debian packages inetutils-telnetd, socat) ***";
    }
    ASSERT_TRUE(WaitForListener(port));
    ExpectLogOnAndHandOver(*this, port);
}

} // namespace
} // namespace kalvor::test
