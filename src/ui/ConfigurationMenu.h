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
#include <functional>
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

class ConfigurationMenu final : private config::ConfigurationObserver {
public:
    // Errors of the configuration files are reported to `errors`.
    ConfigurationMenu(QWidget* window, Session& session, logging::ErrorReport& errors);
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

    // The menu commands. The dialogs can be replaced (tests): each returns
    // the chosen file, or nullopt when cancelled.
    void OpenConfiguration_Click();
    void SaveConfiguration_Click();
    void SaveConfigurationAs_Click();
    std::function<std::optional<std::filesystem::path>()> AskOpenFile;
    std::function<std::optional<std::filesystem::path>()> AskSaveFile;

    // Form_Unload. Returns false when the unload is refused (exit protection:
    // the warning is shown without waiting for it to be closed). The saving
    // and the removal of temporary files happen only after Load.
    bool Form_Unload();

    // The window's own settings.
    std::function<void(const config::Settings&)> ApplyWindow;
    std::function<void(config::Settings&)> CollectWindow;
    // After Open: the window shows the newly applied terminal.
    std::function<void()> Refresh;

private:
    void SettingsApplied(const config::Settings& settings) override;
    void Collect();

    QWidget* window_;
    Session& session_;
    logging::ErrorReport& errors_;
    config::Configuration config_;
    bool loaded_ = false;
};

} // namespace kalvor::ui
