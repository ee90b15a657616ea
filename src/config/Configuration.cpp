#include "config/Configuration.h"

#include "base/ProgramFolder.h"
#include "config/ConfigFiles.h"
#include "config/DamagedFiles.h"
#include "config/PointerFile.h"
#include "config/SettingKeys.h"
#include "config/SettingsFile.h"
#include "session/Session.h"

namespace kalvor::config {

Configuration::~Configuration() { Detach(); }

void Configuration::ReportWrite(std::string_view location, int err, std::string_view file, std::string_view kept)
{
    if (err != 0)
        errors_.ReportFileKept(location, err, file, kept);
}

void Configuration::Load()
{
    std::error_code ec;
    std::filesystem::create_directories(ProgramFolder() / kConfigFolder, ec);

    const DefaultFile pointer = GetDefaultFile();
    if (pointer.Damaged)
        ReportDamaged(kPointerFileName, "it names no configuration file", pointer.Kept);
    current_ = pointer.Name;
    if (ReadForRewrite())
        ReportWrite("CreateSettingsFile", CreateSettingsFile(current_, settings_), current_);
    if (pointer.Created)
        ReportWrite("UpdateDefaultFile", UpdateDefaultFile(kDefaultConfigName), kDefaultConfigName, kPointerFileName);
    SetBaseline();
    ApplyToSession();
}

bool Configuration::ReadForRewrite()
{
    std::string damage;
    const int err = ReadSettingsFile(current_, settings_, nullptr, &damage);
    std::error_code ec;
    if (err != 0) {
        if (!std::filesystem::exists(ConfigPath(current_), ec))
            return true; // missing: written from the defaults
        errors_.Report("ReadSettingsFile", err, current_);
        return false;
    }
    if (damage.empty())
        return true;
    const DamagedCopy kept = KeepDamagedCopy(current_);
    ReportDamaged(current_, damage, kept);
    return kept.Error == 0;
}

void Configuration::ReportDamaged(std::string_view name, std::string_view damage, const DamagedCopy& kept)
{
    if (kept.Error != 0) {
        errors_.ReportFileKept("ReadSettingsFile", kept.Error, kept.Name, name);
        return;
    }
    errors_.ReportWithNote("ReadSettingsFile", logging::kErrFileDamaged, name,
                           DamagedFileNote(name, damage, kept.Name));
}

void Configuration::SetBaseline()
{
    baseline_ = EncodeAll(settings_);
    recorded_ = current_;
}

int Configuration::Save()
{
    CollectFromSession();
    // Only what this window changed replaces what the file holds now:
    // another window on the same folder may have saved in between.
    KeySet changed{};
    for (int i = 1; i <= kKeyCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        changed[k] = EncodeValue(settings_, i) != baseline_[k];
    }
    std::error_code ec;
    const int err = std::filesystem::exists(ConfigPath(current_), ec)
                        ? MergeIntoSettingsFile(current_, settings_, changed)
                        : CreateSettingsFile(current_, settings_);
    if (err != 0) {
        errors_.ReportFileKept("CreateSettingsFile", err, current_);
        return err;
    }
    for (int i = 1; i <= kKeyCount; ++i)
        if (changed[static_cast<std::size_t>(i)])
            baseline_[static_cast<std::size_t>(i)] = EncodeValue(settings_, i);
    // The pointer file changes only when this window chose another file.
    if (current_ == recorded_)
        return 0;
    const int recorded = UpdateDefaultFile(current_);
    if (recorded != 0)
        errors_.ReportFileKept("UpdateDefaultFile", recorded, current_, kPointerFileName);
    else
        recorded_ = current_;
    return recorded;
}

int Configuration::SaveAs(const std::filesystem::path& chosen)
{
    CollectFromSession();
    const int err = SaveConfigurationAs(chosen, settings_, current_, errors_);
    if (err == 0)
        SetBaseline();
    return err;
}

int Configuration::Open(const std::filesystem::path& chosen)
{
    const int err = OpenConfiguration(chosen, settings_, current_, errors_);
    if (err == 0)
        SetBaseline();
    if (err == 0 && session_ != nullptr)
        session_->HardResetTerminal(true);
    return err;
}

int Configuration::UpdateSection(std::string_view section, int keyIndex)
{
    const int err = UpdateConfigSection(current_, settings_, section, keyIndex);
    ReportWrite("UpdateConfigSection", err, current_);
    if (err == 0) {
        // Those keys are on the disk as they are now.
        const std::optional<Section> which = SectionByName(section);
        for (int i = 1; i <= kKeyCount; ++i)
            if (which ? InSection(i, *which) : (section.empty() && i == keyIndex))
                baseline_[static_cast<std::size_t>(i)] = EncodeValue(settings_, i);
    }
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
        const TerminalSettings switches =
            session_ != nullptr ? TerminalSettings(session_->State()) : TerminalSettings{};
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
    (void)UpdateSection("", kKeyF1 + key); // a failure is reported there
}

void Configuration::SaveEnterKeySettings()
{
    if (session_ == nullptr)
        return;
    const Keyboard::EnterKeySettings& enter = session_->EnterKeys();
    settings_.KbEnterKey = enter.KbEnterKey;
    settings_.NumEnterKey = enter.NumEnterKey;
    settings_.SmartReturn = enter.SmartEnter;
    (void)UpdateSection("NewTerminalPref"); // a failure is reported there
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
    SetBaseline();
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
