// The settings commands of the main window: "Connection Settings..."
// (ConnectSettings_Click, in the Connection menu) and "Terminal
// Preferences..." (TermSetup_Click, in the Terminal menu).
//
// ConnectSettings_Click shows the connection settings dialog; when it is
// accepted the values are stored and applied, the "NewCommConfig" section of
// the current configuration file is written, and the window reconnects with
// the new settings (Connect), takes the focus back and repaints.
// TermSetup_Click shows the terminal preferences dialog, which stores,
// applies and writes "NewTerminalPref" itself, or restores on Cancel.
// Both dialogs are window-modal; the receive timer keeps running.
#pragma once

#include "config/Settings.h"

#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class QDialog;
class QMenu;
class QWidget;

namespace kalvor::config {
class Configuration;
struct SetTerminalValues;
} // namespace kalvor::config

namespace kalvor::ui {

class MainWindow;
class SetTerminal;
class TermSetupForm;

// What the settings commands ask of the main window.
class SettingsWindow {
public:
    // The serial ports found at start-up ("COM 1", ...).
    virtual std::vector<std::string> SerialPorts() = 0;
    // Disconnect_Click, called when the connection settings are accepted.
    virtual void Disconnect() = 0;
    // Connect_Click with the settings just stored.
    virtual void Connect(const config::Settings& settings) = 0;
    // The local-echo switch of the Connection menu, which the dialog shows
    // (the echo in force may also come from the Telnet variant).
    virtual bool EchoButton() = 0;
    // The terminal window takes the focus and repaints.
    virtual void Refresh() = 0;

protected:
    ~SettingsWindow() = default;
};

class SettingsMenus {
public:
    SettingsMenus(QWidget* window, config::Configuration& config, SettingsWindow& host)
        : window_(window), config_(config), host_(host)
    {}
    // A dialog still open is closed without storing anything.
    ~SettingsMenus();
    SettingsMenus(const SettingsMenus&) = delete;
    SettingsMenus& operator=(const SettingsMenus&) = delete;

    // The main window's commands: its configuration, the window as the
    // host (the serial ports of the machine, its connection, disconnected
    // when the settings are accepted, then connected with them),
    // "Connection Settings..." in the Connection menu and "Terminal
    // Preferences..." in `terminalMenu`.
    static std::unique_ptr<SettingsMenus> ForWindow(MainWindow& window, SettingsWindow& host, QMenu* terminalMenu);

    // Adds "Connection Settings..." to the first menu and "Terminal
    // Preferences..." to the second.
    void AddTo(QMenu* connectionMenu, QMenu* terminalMenu);

    // Each opens its dialog and returns at once; the dialog deletes itself
    // when closed.
    SetTerminal* ConnectSettings_Click();
    TermSetupForm* TermSetup_Click();

private:
    QWidget* window_;
    config::Configuration& config_;
    SettingsWindow& host_;
    QPointer<QDialog> open_;
};

} // namespace kalvor::ui
