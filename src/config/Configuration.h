// The configuration of one terminal window: the current settings, the name
// of the current configuration file, and the operations of the window's
// start-up, menus and dialogs on them. Failures are reported through the
// session's error report with the failing routine as the location.
//
// Attached to a session, it also answers the session's requests:
//   - a user key defined by the host is recorded in the current file at once
//     (the single-key update of keys 73..80);
//   - ESC k and the end of ESC E put the configured user keys back;
//   - ESC & f ... b keeps or restores the terminal preferences (SaveTermConfig);
//   - Enter-key settings the host redefines with saving are written to the
//     terminal-preferences section;
//   - after a hard reset the configuration file is read again and applied;
//   - a colour scheme the host chooses (ESC % x) is written at once.
#pragma once

#include "config/ConfigPaths.h"
#include "config/DamagedFiles.h"
#include "config/SessionSettings.h"
#include "config/Settings.h"
#include "config/SettingsFile.h"
#include "logging/ErrorReport.h"
#include "session/ConfigurationHooks.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor {
class Session;
}

namespace kalvor::config {

// What the configuration tells the window that holds settings of its own
// (its font, position and size): the settings were applied to the session.
class ConfigurationObserver {
public:
    virtual void SettingsApplied(const Settings& settings) = 0;

protected:
    ~ConfigurationObserver() = default;
};

class Configuration final : private ConfigurationHooks {
public:
    // `observer`: the window, told whenever the settings are applied; null: none.
    explicit Configuration(logging::ErrorReport& errors, ConfigurationObserver* observer = nullptr)
        : errors_(errors), observer_(observer)
    {}
    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;
    ~Configuration();

    Settings& Values() { return settings_; }
    const Settings& Values() const { return settings_; }
    // The recorded name of the current configuration file.
    const std::string& CurrentFile() const { return current_; }

    // Start-up: the pointer file names the file (it is created naming
    // "config/default.zkd" when missing); that file is read and at once
    // rewritten whole, so that a missing, partial or damaged file is
    // completed with the current values; a damaged file is kept beside
    // itself before (see DamagedFiles.h) and the user is told once; a file
    // that exists but cannot be read is not rewritten. A newly created
    // pointer file is recorded with UpdateDefaultFile. Applies the result to
    // the attached session.
    void Load();

    // The menu commands. Save and Save As first collect what the attached
    // session holds. Open applies the file by a hard reset of the attached
    // session. Save writes only the settings this window changed since it
    // last read or wrote them, onto the file as it is then, so that two
    // windows on one program folder keep each other's changes; it records
    // the file in the pointer file only when this window chose another one.
    [[nodiscard]] int Save();
    [[nodiscard]] int SaveAs(const std::filesystem::path& chosen);
    [[nodiscard]] int Open(const std::filesystem::path& chosen);

    // The section update of the current file ("NewCommConfig",
    // "NewFuncKeyConfig", "NewTerminalPref", "NewPrintConfig"), or with an
    // empty section and a key index 73..80 that one user key. Writes the
    // settings as they are now: a dialog stores its values first.
    [[nodiscard]] int UpdateSection(std::string_view section, int keyIndex = 0);

    // SaveTermConfig: with `save` the current preferences are kept in a copy;
    // otherwise they are restored from the copy and applied again.
    void SaveTermConfig(bool save) override;
    // A copy is kept and not yet restored or discarded.
    bool TermConfigPending() const { return saved_.has_value(); }
    // The dialog was accepted: the copy is no longer needed.
    void DiscardTermConfig() { saved_.reset(); }

    // Registers this configuration for the session's requests (see above).
    void Attach(Session& session);
    void Detach();
    // Applies the settings to the attached session, then tells the observer.
    void ApplyToSession();
    void CollectFromSession();

    // The colour scheme and inverse screen of the attached session written
    // into the current file (keys "Color Index" and "InverseVideo").
    // Returns 0 or the error number (reported).
    [[nodiscard]] int SaveColorScheme();

private:
    // ConfigurationHooks
    void UserKeyDefined(int key) override;
    void SaveEnterKeySettings() override;
    void ApplyUserKeys() override;
    void ReapplyAfterHardReset() override;
    void SavePreferences() override { (void)SaveColorScheme(); }

    // Start-up's reading of the current file. A damaged file is kept beside
    // itself first and the user told; false when the file must not be
    // rewritten (it cannot be read, or the copy failed).
    bool ReadForRewrite();
    void ReportDamaged(std::string_view name, std::string_view damage, const DamagedCopy& kept);
    // What the file holds as this window last read or wrote it.
    void SetBaseline();
    // A failed write: the report says the file (`kept`, else `file`) is unchanged.
    void ReportWrite(std::string_view location, int err, std::string_view file, std::string_view kept = {});

    logging::ErrorReport& errors_;
    ConfigurationObserver* observer_;
    Settings settings_;
    std::string current_{kDefaultConfigName};
    std::string recorded_{kDefaultConfigName}; // the name this window last saw in the pointer file
    ValueTexts baseline_;                      // the values as this window last read or wrote them
    Session* session_ = nullptr;
    std::optional<TermPreferences> saved_;
};

} // namespace kalvor::config
