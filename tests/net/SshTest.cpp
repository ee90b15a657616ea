// SSH against an OpenSSH server on a loopback port, started for each test by
// tools/test-servers/sshd-test with a host key in the test's folder and a
// test account that the script creates and removes.
#include "NetTestSupport.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <random>
#include <unistd.h>

namespace kalvor::test {
namespace {

const std::string kScript = std::string(KALVOR_SOURCE_DIR) + "/tools/test-servers/sshd-test";

class SshFixture : public ::testing::Test {
protected:
    TempHome home;
    std::filesystem::path dir;
    int port = 0;
    std::string password;
    bool running = false;
    int questions = 0;
    net::HostKeyQuestion lastQuestion;
    bool acceptKeys = true;

    void SetUp() override
    {
        dir = home.Path() / "sshd";
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(home.Path(),
                                     std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                         std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                         std::filesystem::perms::others_exec);
        std::mt19937_64 random(std::random_device{}());
        password = "Kv-" + std::to_string(random() % 1000000007ULL) + "-pw";
    }
    void TearDown() override { StopServer(); }

    // Starts sshd; skips loudly when it genuinely cannot run here.
    void StartServer(const std::string& mode = "password", const std::string& key = "host_ed25519")
    {
        if (::getuid() != 0)
            GTEST_SKIP() << "\n*** SKIPPED LOUDLY: the SSH tests need root to create the test account and run sshd ***";
        if (port == 0)
            port = FreeLoopbackPort();
        int status = 0;
        const std::string out = RunCommandLine(kScript + " start " + dir.string() + " " + std::to_string(port) + " " +
                                                   password + " " + mode + " " + key + " 2>&1",
                                               status);
        if (status == 3)
            GTEST_SKIP() << "\n*** SKIPPED LOUDLY: sshd cannot be started here: " << out << " ***";
        ASSERT_EQ(status, 0) << out;
        running = true;
        ASSERT_TRUE(WaitForListener(port)) << ReadAll(dir / "sshd.log");
    }
    void StopServer()
    {
        if (!running)
            return;
        int status = 0;
        RunCommandLine(kScript + " stop " + dir.string() + " 2>&1", status);
        running = false;
    }

    std::string Fingerprint()
    {
        int status = 0;
        const std::string out =
            RunCommandLine("ssh-keygen -l -E sha256 -f " + (dir / "host_ed25519.pub").string(), status);
        const auto at = out.find("SHA256:");
        return at == std::string::npos ? std::string() : out.substr(at, out.find(' ', at) - at);
    }

    void Prepare(Harness& h, NetworkKind kind = NetworkKind::Ssh2)
    {
        ConnectionSettings& s = h.Manager.Settings();
        s.ConnectType = 1;
        s.Kind = kind;
        s.HostList = {"127.0.0.1:" + std::to_string(port) + " [test sshd]"};
        s.SshUser = "kalvortest";
        s.SshPassword = password;
        s.TerminalType = "hp";
        h.AnswerHostKey = [this](const net::HostKeyQuestion& q, net::HostKeyAnswer answer) {
            ++questions;
            lastQuestion = q;
            answer(acceptKeys);
        };
    }

    // Logs in and waits for the shell's prompt.
    void LogIn(Harness& h)
    {
        Prepare(h);
        h.Manager.Connect_Click();
        ASSERT_TRUE(WaitFor([&] { return h.Manager.Ssh().TransportOpen(); }, 20000)) << h.Memory();
        ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("\n$\n"); }, 20000)) << h.Memory();
    }

    void RunCommand(Harness& h, const std::string& command, const std::string& expect)
    {
        h.Type(command + "\r");
        ASSERT_TRUE(WaitFor([&] { return h.MemoryHas(expect); }, 20000)) << h.Memory();
    }
};

// One password session: the messages, the host key asked about once, the
// screen size on the remote pseudo-terminal, a disconnection, a second
// connection that finds the key known, the server closing the session, and
// then the server's key changed.
TEST_F(SshFixture, PasswordSessionFromLoginToTheServerClosingIt)
{
    StartServer();
    Harness h;
    LogIn(h);
    EXPECT_TRUE(h.MemoryHas("Connection started\nServer: SSH-2.0-OpenSSH")) << h.Memory();
    EXPECT_TRUE(h.MemoryHas("Authentication succeeded.")) << h.Memory();
    EXPECT_EQ(h.Statuses.back(), "SSH 2");
    EXPECT_EQ(h.Captions.back(), "127.0.0.1 - Kalvor");
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(lastQuestion.Fingerprint, Fingerprint());
    const std::string known = ReadAll(home.Path() / "config" / "known_hosts");
    EXPECT_NE(known.find("[127.0.0.1]:" + std::to_string(port) + " ssh-ed25519 "), std::string::npos) << known;
    RunCommand(h, "echo kalvor-$((6*7))", "kalvor-42");
    RunCommand(h, "stty size", "24 80");
    Internals(h.Term).Memory().SetWidth(132);
    Internals(h.Term).Memory().RowsInTerm = 30;
    h.Manager.ScreenSizeChanged();
    RunCommand(h, "stty size", "30 132");

    h.Manager.Disconnect_Click();
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("<The secure shell tunnel has been disconnected>"); })) << h.Memory();
    EXPECT_TRUE(h.ConnectEnabled);

    // A second connection finds the key known: no question.
    h.Manager.Connect_Click();
    ASSERT_TRUE(WaitFor([&] { return h.Manager.Ssh().TransportOpen(); }, 20000)) << h.Memory();
    EXPECT_EQ(questions, 1);
    RunCommand(h, "echo kalvor-$((7*8))", "kalvor-56"); // typed ahead of the prompt at times
    h.Type("exit\r");
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("<SSH connection closed>"); }, 20000)) << h.Memory();
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.Manager.ConnectedSwitch());

    // The same port with another host key: refused with a warning, not asked about.
    StopServer();
    StartServer("password", "other_host_key");
    Harness changed;
    Prepare(changed);
    changed.Manager.Connect_Click();
    ASSERT_TRUE(WaitFor([&] { return changed.MemoryHas("<The secure shell tunnel has been disconnected>"); }, 30000))
        << changed.Memory();
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(changed.MemoryHas("SSH Error: WARNING: the host key of 127.0.0.1")) << changed.Memory();
    EXPECT_TRUE(changed.MemoryHas("has changed")) << changed.Memory();
    EXPECT_FALSE(changed.MemoryHas("Authentication succeeded."));
}

// Sessions that end before the shell: each with the message that says why.
TEST_F(SshFixture, RefusedSessionsEndWithTheReason)
{
    struct Case {
        const char* Name;
        const char* Mode;
        NetworkKind Kind;
        const char* Password; // nullptr: the right one
        bool AcceptKeys;
        std::vector<std::string> Shown;
    } const cases[] = {
        // First, while no host key is known yet.
        {"unknown host key refused", "password", NetworkKind::Ssh2, nullptr, false, {"was not accepted"}},
        {"wrong password",
         "password",
         NetworkKind::Ssh2,
         "not-the-password",
         true,
         {"Authentication attempt failed. AuthType: 4",
          "SSH Error: Access denied. Incorrect user/password information."}},
        {"keyboard prompt cancelled", "keyboard", NetworkKind::Ssh2, "", true, {"SSH Error:"}},
        {"protocol 1 on an SSH2-only server",
         "password",
         NetworkKind::Ssh1,
         nullptr,
         true,
         {"SSH Error: This host does not support the SSH1 protocol."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        StartServer(c.Mode);
        if (IsSkipped() || HasFatalFailure())
            return;
        Harness h;
        acceptKeys = c.AcceptKeys;
        Prepare(h, c.Kind);
        if (c.Password)
            h.Manager.Settings().SshPassword = c.Password;
        h.Manager.Connect_Click();
        ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("<The secure shell tunnel has been disconnected>"); }, 30000))
            << h.Memory();
        for (const std::string& text : c.Shown)
            EXPECT_TRUE(h.MemoryHas(text)) << h.Memory();
        EXPECT_FALSE(h.MemoryHas("Authentication succeeded.")) << h.Memory();
        EXPECT_TRUE(h.ConnectEnabled);
        EXPECT_FALSE(h.Manager.SshSession());
        if (!c.AcceptKeys) {
            EXPECT_FALSE(std::filesystem::exists(home.Path() / "config" / "known_hosts") &&
                         ReadAll(home.Path() / "config" / "known_hosts").find("ssh-ed25519") != std::string::npos);
        }
        StopServer();
    }
}

TEST_F(SshFixture, KeyboardInteractivePromptsAreAnsweredByTheWindow)
{
    StartServer("keyboard");
    Harness h;
    Prepare(h);
    h.Manager.Settings().SshPassword.clear();
    std::vector<net::KeyboardPrompt> asked;
    h.AnswerPrompts = [&](const net::KeyboardPrompt& prompt, net::KeyboardAnswer answer) {
        asked.push_back(prompt);
        // Answered later, as a dialog would.
        QTimer::singleShot(
            50, [answer, n = prompt.Prompts.size(), this] { answer(std::vector<std::string>(n, password)); });
    };
    h.Manager.Connect_Click();
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("\n$\n"); }, 30000)) << h.Memory();
    ASSERT_FALSE(asked.empty());
    ASSERT_EQ(asked[0].Prompts.size(), 1u);
    EXPECT_NE(asked[0].Prompts[0].find("assword"), std::string::npos) << asked[0].Prompts[0];
    EXPECT_FALSE(asked[0].Echo[0]);
    EXPECT_TRUE(h.MemoryHas("Authentication succeeded.")) << h.Memory();
}

TEST_F(SshFixture, LongStreamArrivesIntact)
{
    StartServer();
    // The file the remote side will list: numbered lines ending in LF.
    const std::filesystem::path file = dir / "stream.txt";
    // Hashed as it is written: the stream is never held whole, so the peak
    // memory printed is the terminal's.
    const StreamFile stream =
        WriteStreamFile(file, " the quick brown fox jumps over the lazy dog 0123456789 abcdefghijklmnop");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                          std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                          std::filesystem::perms::others_exec);
    Harness h;
    LogIn(h);
    ExpectStream(
        h, stream, [&] { h.Type("cat " + file.string() + "\r"); }, "SSH stream");
    EXPECT_LT(h.MaxBacklog, ReceiveThrottle::kHigh + net::InputThrottle::kStagingHigh + 128 * 1024);
}

// Without a server: a server that offers protocol 1, then a port where none listens.
TEST(SshWithoutServer, ProtocolOneOfferedAndConnectionRefused)
{
    TempHome home;
    QTcpServer fake;
    ASSERT_TRUE(fake.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&fake, &QTcpServer::newConnection, &fake,
                     [&] { fake.nextPendingConnection()->write("SSH-1.5-OldServer\r\n"); });
    Harness h;
    h.Manager.Settings().Kind = NetworkKind::Ssh1;
    h.Manager.Settings().HostList = {"127.0.0.1 " + std::to_string(fake.serverPort())};
    h.Manager.Connect_Click();
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("<The secure shell tunnel has been disconnected>"); }, 20000))
        << h.Memory();
    EXPECT_TRUE(h.MemoryHas("SSH Error: Protocol 1 is not available")) << h.Memory();

    const int closed = FreeLoopbackPort();
    h.Manager.Settings().Kind = NetworkKind::Ssh2;
    h.Manager.Settings().HostList = {"127.0.0.1:" + std::to_string(closed)};
    h.Manager.Connect_Click();
    ASSERT_TRUE(WaitFor([&] { return h.MemoryHas("<connection error: "); }, 20000)) << h.Memory();
    EXPECT_TRUE(h.MemoryHas("<connection error: 111 Connection refused>")) << h.Memory();
    EXPECT_TRUE(h.ConnectEnabled);
    EXPECT_FALSE(h.Manager.ConnectedSwitch());
}

} // namespace
} // namespace kalvor::test
