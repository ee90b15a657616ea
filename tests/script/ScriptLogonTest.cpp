// Log-on scripts against real Telnet servers on loopback ports: the script's
// ADDR line is the target of the automatic connect, its WAITs see the
// server's prompts, its XMITs answer (echoed once, by the server or by the
// terminal, as the Telnet variant decides), and after EXIT the user has the
// connection. (The desktop program given a script on its command line is
// tests/ui/EndToEndTest's form test.)
#include "NetTestSupport.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include "script/ScriptTarget.h"

#include <gtest/gtest.h>

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
        std::string error;
        std::vector<std::string> extra = {"--log", log.string()};
        if (standard)
            extra.push_back("--standard");
        const int hostPort = StartDemoHost(host, extra, error);
        ASSERT_GT(hostPort, 0) << error;

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

// inetutils telnetd runs a log-on program that asks for a user and a
// password (not echoed), then a shell: the script logs on and hands over.
TEST_F(ScriptLogon, InetutilsTelnetdLogOnThenTheUserHasTheShell)
{
    const std::filesystem::path login = WriteFile(
        "login.sh", "#!/bin/sh\nprintf 'login: '; read user; stty -echo\n"
                    "printf 'Password: '; read pw; stty echo; printf '\\r\\n'\n"
                    "[ \"$user\" = guest ] && [ \"$pw\" = secret ] && echo \"Welcome, $user\" && exec /bin/sh\n"
                    "echo 'Login incorrect'\n");
    ::chmod(login.c_str(), 0755);
    port = FreeLoopbackPort();
    std::string error;
    if (!StartInetutilsTelnetd(server, port, login.string(), error)) {
        ASSERT_TRUE(error.empty()) << error;
        GTEST_SKIP()
            << "\n*** SKIPPED LOUDLY: no inetutils telnetd or socat (Debian packages inetutils-telnetd, socat) ***";
    }
    ASSERT_TRUE(WaitForListener(port));
    Harness h;
    RunScript(h, "ADDR 127.0.0.1:" + std::to_string(port) +
                     "\nWAIT login: \nXMIT guest\nWAIT Password: \nXMIT secret\nWAIT Welcome, guest\n"
                     "XMIT PS1='re''ady> '\nWAIT ready> \n");
    EXPECT_TRUE(h.MemoryHas("login: guest\n")) << h.Memory();
    EXPECT_FALSE(h.MemoryHas("secret")) << h.Memory();
    // The script has ended: what the user types goes to the shell.
    h.Type("echo handed-$((2*3))\r");
    EXPECT_TRUE(WaitFor([&] { return h.MemoryHas("\nhanded-6\n"); })) << h.Memory();
    h.Type("exit\r");
    EXPECT_TRUE(WaitFor([&] { return h.ConnectEnabled; })) << h.Memory();
}

} // namespace
} // namespace kalvor::test
