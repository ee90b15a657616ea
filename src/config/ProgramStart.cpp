#include "config/ProgramStart.h"

#include "base/AtomicFile.h"
#include "base/ProgramFolder.h"
#include "base/ProgramInstance.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kalvor::config {
namespace {

int Remove(std::string_view name, std::string_view location, logging::ErrorReport& errors)
{
    const std::filesystem::path path = ProgramFile(name);
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (!ec || ec == std::errc::no_such_file_or_directory)
        return 0;
    errors.Report(location, ec, name, path);
    return logging::ErrorNumberFor(ec, path);
}

} // namespace

int PrepareProgramFolder(logging::ErrorReport& errors)
{
    int first = 0;
    for (std::string_view name : kTemporaryFiles) {
        const int err = Remove(name, "Form_Load", errors);
        first = first != 0 ? first : err;
    }
    const std::filesystem::path home = ProgramFolder();
    for (std::string_view name : kProgramFolders) {
        const std::filesystem::path dir = home / name;
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec) {
            errors.Report("Form_Load", ec, name, dir);
            first = first != 0 ? first : logging::ErrorNumberFor(ec, dir);
        }
    }
    ProgramInstance::RemoveStaleFolders();
    RemoveOldPrintFiles();
    RemoveUnfinishedSaves();
    return first;
}

void RemoveUnfinishedSaves()
{
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& e : std::filesystem::directory_iterator(ProgramFolder() / "config", ec)) {
        const std::string name = e.path().filename().string();
        if (name.empty() || name.front() != '.' || name.find(kSavingInfix) == std::string::npos)
            continue;
        const auto when = e.last_write_time(ec);
        if (!ec && now - when >= kUnfinishedSaveAge)
            std::filesystem::remove(e.path(), ec);
    }
}

void RemoveOldPrintFiles()
{
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> pdfs;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(TempFolder(), ec)) {
        if (e.path().extension() != ".pdf" || !e.is_regular_file(ec))
            continue;
        const auto when = e.last_write_time(ec);
        if (!ec)
            pdfs.emplace_back(when, e.path());
    }
    if (pdfs.size() <= kKeptPrintFiles)
        return;
    std::sort(pdfs.begin(), pdfs.end()); // oldest first; names order files of the same moment
    for (std::size_t i = 0; i + kKeptPrintFiles < pdfs.size(); ++i)
        std::filesystem::remove(pdfs[i].second, ec);
}

int RemoveTemporaryFiles(logging::ErrorReport& errors)
{
    int first = 0;
    for (std::string_view name : kTemporaryFiles) {
        const int err = Remove(name, "Form_Unload", errors);
        first = first != 0 ? first : err;
    }
    // A script cut short (the window closed, SIGTERM) leaves its working copy.
    const int err = Remove(kWorkingScriptFile, "Form_Unload", errors);
    return first != 0 ? first : err;
}

} // namespace kalvor::config
