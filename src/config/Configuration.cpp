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
        session_->HardResetTerminal(true);
    return err;
}

int Configuration::UpdateSection(std::string_view section, int keyIndex)
{
    const int err = UpdateConfigSection(current_, settings_, section, keyIndex);
    Report("UpdateConfigSection", err, current_);
    return err;
}

void Configuration::SaveTermConfig(bool save)
{
    if (save) {
        CollectFromSession();
        const TerminalSettings switches = session_ != nullptr ? TerminalSettings(session_->State()) : TerminalSettings{};
        saved_ = TermPreferences::From(settings_, switches);
        return;
    }
    if (!saved_)
        return;
    TerminalSettings switches = session_ != nullptr ? TerminalSettings(session_->State()) : TerminalSettings{};
    saved_->Into(settings_, switches);
    if (session_ != nullptr)
        session_->SetTerminalSettings(switches);
    saved_.reset();
    ApplyToSession();
}

void Configuration::Attach(Session& session)
{
    Detach();
    session_ = &session;
    session.SetConfiguration(this);
}

void Configuration::Detach()
{
    if (session_ == nullptr)
        return;
    session_->SetConfiguration(nullptr);
    session_ = nullptr;
}

void Configuration::UserKeyDefined(int key)
{
    if (session_ == nullptr || key < 0 || key >= kUserKeys)
        return;
    CollectUserKeys(session_->SoftKeys(), settings_);
    UpdateSection("", kKeyF1 + key);
}

void Configuration::SaveEnterKeySettings()
{
    if (session_ == nullptr)
        return;
    const Keyboard::EnterKeySettings& enter = session_->EnterKeys();
    settings_.KbEnterKey = enter.KbEnterKey;
    settings_.NumEnterKey = enter.NumEnterKey;
    settings_.SmartReturn = enter.SmartEnter;
    UpdateSection("NewTerminalPref");
}

void Configuration::ApplyUserKeys()
{
    if (session_ != nullptr)
        config::ApplyUserKeys(settings_, *session_);
}

// The terminal starts again from its configuration file.
void Configuration::ReapplyAfterHardReset()
{
    ReadSettingsFile(current_, settings_);
    ApplyToSession();
}

void Configuration::ApplyToSession()
{
    if (session_ != nullptr)
        ApplySettings(settings_, *session_);
    if (observer_ != nullptr)
        observer_->SettingsApplied(settings_);
}

void Configuration::CollectFromSession()
{
    if (session_ != nullptr)
        CollectSettings(*session_, settings_);
}

} // namespace kalvor::config
