// The desktop window connected to kalvor-demohost, offscreen: the Connection
// menu connects to host entry 0, the window shows the host's menu, its
// caption, status panel and menu items follow the connection, typing reaches
// the host, and Disconnect and Connect again work from the menu.
#include "NetTestSupport.h"
#include "TempHome.h"

#include "config/Settings.h"
#include "ui/ConnectionUi.h"
#include "ui/MainWindow.h"
#include "ui/ScreenDump.h"
#include "ui/TerminalView.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace kalvor::test {
namespace {

TEST(WindowConnection, ConnectsToTheDemoHostDisconnectsAndReconnects)
{
    TempHome home;
    ServerProcess host;
    std::string error;
    const int port = StartDemoHost(host, {}, error);
    ASSERT_GT(port, 0) << error;

    ui::MainWindow window;
    window.show();
    ui::ConnectionUi& ui = window.ConnectionsUi();
    auto screen = [&] { return ui::ScreenText(window.GetSession().Memory()).toStdString(); };
    auto shows = [&](const std::string& text) { return screen().find(text) != std::string::npos; };

    // A new window offers the demonstration host as entry 0, over Telnet (advanced).
    EXPECT_EQ(window.Connections().Settings().HostEntry(), config::Settings{}.Hosts[0]);
    EXPECT_EQ(window.Connections().Settings().Kind, NetworkKind::TelnetAdvanced);
    EXPECT_TRUE(ui.ConnectAction().isEnabled());
    EXPECT_FALSE(ui.DisconnectAction().isEnabled());

    const std::string entry = "localhost:" + std::to_string(port) + " [demonstration host]";
    window.Connections().Settings().HostList = {entry};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ui.ConnectAction().trigger();
        EXPECT_EQ(window.windowTitle().toStdString(), entry + " - Kalvor");
        EXPECT_EQ(window.ConnectionPanel().text(), QStringLiteral("Telnet (advanced)"));
        ASSERT_TRUE(WaitFor([&] { return shows("Choice:"); })) << screen();
        EXPECT_FALSE(ui.ConnectAction().isEnabled());
        EXPECT_TRUE(ui.DisconnectAction().isEnabled());

        // A key typed into the display reaches the host, which answers.
        QTest::keyClicks(&window.View(), QStringLiteral("9"));
        QTest::keyClick(&window.View(), Qt::Key_Return);
        ASSERT_TRUE(WaitFor([&] { return shows("Unknown choice: 9"); })) << screen();

        ui.DisconnectAction().trigger();
        EXPECT_TRUE(shows("<TELNET has been disconnected>")) << screen();
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Kalvor"));
        EXPECT_TRUE(ui.ConnectAction().isEnabled());
        EXPECT_FALSE(ui.DisconnectAction().isEnabled());
        window.ClearDisplay_Click(); // a clean screen for the next round
    }
}

} // namespace
} // namespace kalvor::test
