#include "base/ProgramInstance.h"

#include "base/ProgramFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace kalvor {
namespace {

// The instance this process runs as; 0 until one is claimed.
int g_current = 0;

constexpr int kMostInstances = 100;
constexpr std::string_view kTemp = "temp";

std::filesystem::path LockFile(int number)
{
    return ProgramFolder() / kTemp / ("instance-" + std::to_string(number) + ".lock");
}

// The lock of `number` taken, or -1 when another process holds it.
int TakeLock(int number)
{
    const int fd = ::open(LockFile(number).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::optional<ProgramInstance> ProgramInstance::Claim()
{
    std::error_code ec;
    std::filesystem::create_directories(ProgramFolder() / kTemp, ec);
    for (int n = 0; n < kMostInstances; ++n) {
        const int fd = TakeLock(n);
        if (fd < 0)
            continue;
        if (n > 0)
            std::filesystem::create_directories(ProgramFolder() / kTemp / std::to_string(n), ec);
        g_current = n;
        return ProgramInstance(n, fd);
    }
    return std::nullopt;
}

ProgramInstance::ProgramInstance(ProgramInstance&& other) noexcept : number_(other.number_), fd_(other.fd_)
{
    other.fd_ = -1;
}

ProgramInstance::~ProgramInstance()
{
    if (fd_ < 0)
        return;
    if (g_current == number_)
        g_current = 0;
    ::close(fd_);
}

void ProgramInstance::RemoveStaleFolders()
{
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(ProgramFolder() / kTemp, ec)) {
        const std::string name = e.path().filename().string();
        if (!e.is_directory(ec) || name.empty() || name.find_first_not_of("0123456789") != std::string::npos ||
            name.size() > 3)
            continue;
        const int number = std::atoi(name.c_str());
        if (number == 0 || number == g_current)
            continue;
        const int fd = TakeLock(number);
        if (fd < 0)
            continue; // that instance runs
        std::filesystem::remove_all(e.path(), ec);
        ::close(fd);
    }
}

std::filesystem::path TempFolder()
{
    const std::filesystem::path temp = ProgramFolder() / kTemp;
    return g_current == 0 ? temp : temp / std::to_string(g_current);
}

std::filesystem::path ProgramFile(std::string_view name)
{
    const std::string prefix = std::string(kTemp) + "/";
    if (g_current != 0 && name.starts_with(prefix))
        return TempFolder() / std::filesystem::path(std::string(name.substr(prefix.size())));
    return ProgramFolder() / std::filesystem::path(std::string(name));
}

} // namespace kalvor
