#include "config/DamagedFiles.h"

#include "config/ConfigPaths.h"
#include "logging/ErrorReport.h"

#include <filesystem>

namespace kalvor::config {

std::string DamagedCopyName(std::string_view name, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return std::string(name) + std::string(kDamagedInfix) + stamp;
}

DamagedCopy KeepDamagedCopy(std::string_view name)
{
    const std::string base = DamagedCopyName(name, std::time(nullptr));
    std::error_code ec;
    for (int n = 1; n < 100; ++n) {
        DamagedCopy copy{n == 1 ? base : base + "-" + std::to_string(n), 0};
        const std::filesystem::path to = ConfigPath(copy.Name);
        if (std::filesystem::exists(to, ec))
            continue;
        std::filesystem::copy_file(ConfigPath(name), to, std::filesystem::copy_options::none, ec);
        if (ec)
            copy.Error = logging::ErrorNumberFor(ec, to);
        return copy;
    }
    return {base, logging::ErrorNumberFor(std::make_error_code(std::errc::file_exists))};
}

std::string DamagedFileNote(std::string_view name, std::string_view damage, std::string_view copy)
{
    return std::string(name) + ", " + std::string(damage) + ". The file as it was is kept as " + std::string(copy) +
           "; what could not be read has its default value.";
}

} // namespace kalvor::config
