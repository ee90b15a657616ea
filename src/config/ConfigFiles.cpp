#include "config/ConfigFiles.h"

#include "config/ConfigPaths.h"
#include "config/PointerFile.h"
#include "config/SettingsFile.h"

namespace kalvor::config {
namespace {

// A chosen file is recorded only when it is a configuration name that fits
// the pointer file. Returns 0 or the error number (reported).
int Refusal(const std::string& name, logging::ErrorReport& errors)
{
    if (!IsConfigName(name)) {
        errors.ReportWithNote("UpdateDefaultFile", logging::kErrBadFileName, name,
                              "Configuration files are kept in the folder " + ConfigPath(kConfigFolder).string() +
                                  " itself.");
        return logging::kErrBadFileName;
    }
    if (name.size() <= kMaxConfigNameLength)
        return 0;
    errors.Report("UpdateDefaultFile", logging::kErrFileNameTooLong, name);
    return logging::kErrFileNameTooLong;
}

int Record(const std::string& name, logging::ErrorReport& errors)
{
    const int err = UpdateDefaultFile(name);
    if (err != 0)
        errors.ReportFileKept("UpdateDefaultFile", err, name, kPointerFileName);
    return err;
}

} // namespace

std::filesystem::path WithConfigExtension(const std::filesystem::path& file)
{
    std::filesystem::path p = file;
    p.replace_extension(".zkd");
    return p;
}

int SaveConfiguration(std::string_view current, const Settings& settings, logging::ErrorReport& errors)
{
    if (const int err = CreateSettingsFile(current, settings); err != 0) {
        errors.ReportFileKept("CreateSettingsFile", err, current);
        return err;
    }
    return Record(std::string(current), errors);
}

int SaveConfigurationAs(const std::filesystem::path& chosen, const Settings& settings, std::string& current,
                        logging::ErrorReport& errors)
{
    const std::string name = RecordedName(WithConfigExtension(chosen));
    if (const int err = Refusal(name, errors); err != 0)
        return err;
    if (const int err = CreateSettingsFile(name, settings); err != 0) {
        errors.ReportFileKept("CreateSettingsFile", err, name);
        return err;
    }
    current = name;
    return Record(name, errors);
}

int OpenConfiguration(const std::filesystem::path& chosen, Settings& settings, std::string& current,
                      logging::ErrorReport& errors)
{
    const std::string name = RecordedName(chosen);
    if (const int err = Refusal(name, errors); err != 0)
        return err;
    Settings read = settings;
    if (const int err = ReadSettingsFile(name, read); err != 0) {
        errors.Report("ReadSettingsFile", err, name);
        return err;
    }
    settings = std::move(read);
    current = name;
    return Record(name, errors);
}

} // namespace kalvor::config
