#include "base/ProgramFolder.h"

#include <cstdlib>

namespace kalvor {

std::filesystem::path ProgramFolder()
{
    const char* home = std::getenv("KALVOR_HOME");
    if (home != nullptr && *home != '\0')
        return home;
    const char* user = std::getenv("HOME");
    std::filesystem::path base =
        user != nullptr && *user != '\0' ? std::filesystem::path(user) : std::filesystem::path();
    return base / ".local" / "share" / "kalvor";
}

} // namespace kalvor
