#include "config/Configuration.h"

#include "config/ConfigFiles.h"
#include "config/PointerFile.h"
#include "config/SettingKeys.h"
#include "config/SettingsFile.h"
#include "engine/ProgramFolder.h"
#include "session/Session.h"

namespace kalvor::config {

Configuration::~Configuration() { Detach(); }

void Configuration::Report(std::string_view location, int err, std::string_view file)
{
    if (err != 0)
        errors_.Report(location, err, file);
}

void Configuration::Load()
{
    std::error_code ec;
    std::filesystem::create_directories(ProgramFolder() / kConfigFolder, ec);

    const DefaultFile pointer = GetDefaultFile();
    current_ = pointer.Name;
    ReadSettingsFile(current_, settings_); // a missing file is written below
    Report("CreateSettingsFile", CreateSettingsFile(current_, settings_), current_);
    if (pointer.Created)
        Report("UpdateDefaultFile", UpdateDefaultFile(kDefaultConfigName), kDefaultConfigName);
    ApplyToSession();
}

int Configuration::Save()
{
    CollectFromSession();
    return SaveConfiguration(current_, settings_, errors_);
}

int Configuration::SaveAs(const std::filesystem::path& chosen)
{
    CollectFromSession();
    return SaveConfigurationAs(chosen, settings_, current_, errors_);
}

int Configuration::Open(const std::filesystem::path& chosen)
{
    const int err = OpenConfiguration(chosen, settings_, current_, errors_);
    if (err == 0 && session_ != nullptr)
        session_->Term().Hooks.HardReset(true);
    return err;
}

int Configuration::UpdateSection(std::string_view section, int keyIndex)
{
    const int err = UpdateConfigSection(current_, settings_, section, keyIndex);
    Report("UpdateConfigSection", err, current_);
    return err;
}

int Configuration::SaveColorScheme()
{
    if (session_ == nullptr)
        return 0;
    settings_.ColorIndex = session_->State().ColorScheme;
    settings_.InverseVideo = session_->State().InverseScreen;
    const int err = UpdateSection("", kKeyColorIndex);
    return err != 0 ? err : UpdateSection("", kKeyInverseVideo);
}

void Configuration::SaveTermConfig(bool save)
{
    if (save) {
        CollectFromSession();
        saved_ = TermPreferences::From(settings_, session_ != nullptr ? session_->State() : TerminalSettings{});
        return;
    }
    if (!saved_)
        return;
    TerminalSettings scratch;
    saved_->Into(settings_, session_ != nullptr ? static_cast<TerminalSettings&>(session_->State()) : scratch);
    saved_.reset();
    ApplyToSession();
}

void Configuration::Attach(Session& session)
{
    Detach();
    session_ = &session;
    FunctionKeys& keys = session.FuncKeys();
    keys.UserKeyDefined = [this](int key) {
        if (session_ == nullptr || key < 0 || key >= kUserKeys)
            return;
        CollectUserKeys(session_->FuncKeys(), settings_);
        UpdateSection("", kKeyF1 + key);
    };
    keys.SaveTermConfig = [this](int saveFlag) { SaveTermConfig(saveFlag != 0); };
    session.Keys().SaveEnterKeySettings = [this] {
        if (session_ == nullptr)
            return;
        const Keyboard::EnterKeySettings& enter = session_->Keys().Enter;
        settings_.KbEnterKey = enter.KbEnterKey;
        settings_.NumEnterKey = enter.NumEnterKey;
        settings_.SmartReturn = enter.SmartEnter;
        UpdateSection("NewTerminalPref");
    };
    keys.ApplyConfiguration = [this] {
        if (session_ != nullptr)
            ApplyUserKeys(settings_, session_->FuncKeys());
    };
    session.OnSavePreferences = [this] { SaveColorScheme(); };
    session.OnHardReset = [this] {
        // The terminal starts again from its configuration file.
        ReadSettingsFile(current_, settings_);
        ApplyToSession();
    };
}

void Configuration::Detach()
{
    if (session_ == nullptr)
        return;
    FunctionKeys& keys = session_->FuncKeys();
    keys.UserKeyDefined = nullptr;
    keys.SaveTermConfig = nullptr;
    keys.ApplyConfiguration = nullptr;
    session_->Keys().SaveEnterKeySettings = nullptr;
    session_->OnHardReset = nullptr;
    session_->OnSavePreferences = nullptr;
    session_ = nullptr;
}

void Configuration::ApplyToSession()
{
    if (session_ != nullptr)
        ApplySettings(settings_, *session_);
    if (OnApplied)
        OnApplied();
}

void Configuration::CollectFromSession()
{
    if (session_ != nullptr)
        CollectSettings(*session_, settings_);
}

} // namespace kalvor::config
