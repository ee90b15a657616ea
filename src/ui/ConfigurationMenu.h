// The configuration of the main window: loaded when the window loads
// (pointer file, configuration file, immediate rewrite, applied to the
// session and the window), the File menu's Open..., Save and Save As...
// with their file dialogs, and Form_Unload: the "Improper Exit Warning"
// while the host has set exit protection, else pending preferences restored,
// the configuration saved and the temporary files removed.
//
// What the window itself holds (the preferred font size, its position, the
// maximised state) comes and goes through ApplyWindow and CollectWindow;
// everything else through the session (config::Configuration).
#pragma once

#include "config/Configuration.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace kalvor {
class Session;
}

namespace kalvor::ui {

// The text of the "Improper Exit Warning" message box.
QString ImproperExitText();
inline constexpr const char* kImproperExitTitle = "Improper Exit Warning";

// What the configuration menu asks of the window that holds settings of its
// own (the preferred font size, its position, the maximised state, printing
// and the connection): they are applied and collected with the rest, and
// the window shows a configuration just opened.
class ConfigurationWindow {
public:
    virtual void ApplyWindowSettings(const config::Settings& settings) = 0;
    virtual void CollectWindowSettings(config::Settings& settings) = 0;
    virtual void ConfigurationOpened() = 0;

protected:
    ~ConfigurationWindow() = default;
};

class ConfigurationMenu final : private config::ConfigurationObserver {
public:
    // Errors of the configuration files are reported to `errors`. `host`:
    // the window whose own settings go with the configuration; null: none.
    ConfigurationMenu(QWidget* window, ConfigurationWindow* host, Session& session, logging::ErrorReport& errors);
    ~ConfigurationMenu();
    ConfigurationMenu(const ConfigurationMenu&) = delete;
    ConfigurationMenu& operator=(const ConfigurationMenu&) = delete;

    config::Configuration& Config() { return config_; }

    // Main window load: GetDefaultFile, ReadSettingsFile, CreateSettingsFile
    // (and UpdateDefaultFile for a new pointer file), then applied.
    void Load();

    // Puts "Open Configuration...", "Save Configuration" and "Save
    // Configuration As..." into `file` before `before`.
    void AddTo(QMenu* file, QAction* before);

    // The menu commands: Open and Save As ask for the file in a file dialog
    // (nothing happens when it is cancelled), then go on as below.
    void OpenConfiguration_Click();
    void SaveConfiguration_Click();
    void SaveConfigurationAs_Click();
    // Open and Save As with the file chosen.
    void OpenConfiguration(const std::filesystem::path& chosen);
    void SaveConfigurationAs(const std::filesystem::path& chosen);

    // Form_Unload. Returns false when the unload is refused (exit protection:
    // the warning is shown without waiting for it to be closed). The saving
    // and the removal of temporary files happen only after Load.
    bool Form_Unload();

private:
    void SettingsApplied(const config::Settings& settings) override;
    void Collect();

    QWidget* window_;
    ConfigurationWindow* host_;
    Session& session_;
    logging::ErrorReport& errors_;
    config::Configuration config_;
    bool loaded_ = false;
};

} // namespace kalvor::ui
