// The window's side of the connections: the connection manager the main
// window owns, and what it shows of it. The "Connection" menu (Connect,
// Disconnect, Send Break, the Local Echo button), the connection status
// panel, the window caption (" - Kalvor"), message boxes, the
// "Keyboard authentication" prompts and the question about an unknown SSH
// host key with its fingerprint. The screen size reaches SSH and the
// pseudo-terminal through the manager's own timer; received data is read by
// the window's 25 ms receive timer. While the host has locked the session
// (ESC % k 1 U) the Connect and Disconnect items are hidden.
//
//   MainWindow window;
//   window.Connections().Settings().HostList = {"myhost:2323"};
//   window.Connections().Connect_Click();
#pragma once

#include "comms/net/ConnectionManager.h"

#include <QString>
#include <QTimer>

#include <memory>
#include <string>

class QAction;
class QMenu;

namespace kalvor::ui {

class MainWindow;

class ConnectionUi final : private net::ConnectionObserver {
public:
    static constexpr const char* kKeyboardAuthTitle = "Keyboard authentication";
    static constexpr const char* kHostKeyTitle = "Unknown host key";

    explicit ConnectionUi(MainWindow& window);
    ~ConnectionUi();
    ConnectionUi(const ConnectionUi&) = delete;
    ConnectionUi& operator=(const ConnectionUi&) = delete;

    net::ConnectionManager& Manager() { return *manager_; }
    // The "Connection" menu, for other commands about the connection.
    QMenu& Menu() { return *menu_; }
    QAction& ConnectAction() { return *connect_; }
    QAction& DisconnectAction() { return *disconnect_; }
    QAction& EchoAction() { return *echo_; }
    QAction& BreakAction() { return *break_; }

    // The connection settings of a configuration just loaded.
    void ApplySettings(const ConnectionSettings& settings);

    // Menu commands.
    void Connect_Click();
    void Disconnect_Click();
    void SendBreak_Click();
    void Echo_Click(bool on);

    // The text of the last message box shown (for tests).
    const QString& LastMessage() const { return lastMessage_; }

private:
    // net::ConnectionObserver
    void StatusPanel(const std::string& text) override;
    void Caption(const std::string& text) override;
    void MenuState(bool connectEnabled, bool disconnectEnabled) override;
    void EchoButton(bool on) override;
    void MessageBox(const std::string& title, const std::string& text) override;
    void KeyboardInteractive(const net::KeyboardPrompt& prompt, net::KeyboardAnswer answer) override;
    void UnknownHostKey(const net::HostKeyQuestion& question, net::HostKeyAnswer answer) override;
    void FocusTerminal() override;
    void Changed() override;

    void BuildMenu();
    void AskPrompts(const net::KeyboardPrompt& prompt, std::size_t index,
                    std::shared_ptr<std::vector<std::string>> answers, net::KeyboardAnswer answer);

    MainWindow& window_;
    std::unique_ptr<net::ConnectionManager> manager_;
    QMenu* menu_ = nullptr;
    QAction* connect_ = nullptr;
    QAction* disconnect_ = nullptr;
    QAction* break_ = nullptr;
    QAction* echo_ = nullptr;
    QString lastMessage_;
    QTimer lockWatch_; // Connect and Disconnect are hidden while the host protects the session
};

} // namespace kalvor::ui
