#include "resources/CacheFiles.h"

#include "base/Text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

namespace kalvor::resources {

namespace fs = std::filesystem;

bool IsCacheName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::vector<std::string> MissingFromCache(const fs::path& cacheFolder, const std::vector<std::string>& names)
{
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        if (!IsCacheName(name) || std::find(missing.begin(), missing.end(), name) != missing.end())
            continue;
        std::error_code ec;
        if (!fs::exists(cacheFolder / name, ec))
            missing.push_back(name);
    }
    return missing;
}

std::int64_t SizeUnits(std::uintmax_t bytes) { return static_cast<std::int64_t>((bytes + 500) / 1000); }

std::string ModificationStamp(const fs::path& file)
{
    std::error_code ec;
    const fs::file_time_type written = fs::last_write_time(file, ec);
    if (ec)
        return {};
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(written)));
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::vector<std::string> TrimCache(const fs::path& cacheFolder, const std::vector<std::string>& current,
                                   std::int64_t budgetKb)
{
    struct Record {
        std::string Key; // "yyyymmddhhmmss name": sorts oldest first
        std::string Name;
        std::int64_t Units;
    };
    std::vector<Record> records;
    std::int64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(cacheFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (!it->is_regular_file(fileError))
            continue;
        const std::string name = it->path().filename().string();
        if (AsciiUpper(name) == "FORM.TXT" || std::find(current.begin(), current.end(), name) != current.end())
            continue;
        const std::uintmax_t bytes = it->file_size(fileError);
        if (fileError)
            continue;
        const std::int64_t units = SizeUnits(bytes);
        records.push_back({ModificationStamp(it->path()) + " " + name, name, units});
        total += units;
    }
    std::vector<std::string> deleted;
    if (records.size() < 2 || total < budgetKb)
        return deleted;
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.Key < b.Key; });
    for (const Record& r : records) {
        if (total < budgetKb)
            break;
        std::error_code removeError;
        if (fs::remove(cacheFolder / r.Name, removeError)) {
            total -= r.Units;
            deleted.push_back(r.Name);
        }
    }
    return deleted;
}

namespace {

// The leading digits of `text` as a number (0 when there are none).
long long LeadingNumber(std::string_view text)
{
    text = TrimSpaces(text);
    long long n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || n > 99999999999999LL)
            break;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

bool PurgeFile(const fs::path& cacheFolder, const std::string& file, const std::string& date)
{
    if (file.empty())
        return false;
    fs::path path;
    if (file.find_first_of("/\\") != std::string::npos) {
        std::string given = file;
        std::replace(given.begin(), given.end(), '\\', '/');
        path = given;
        // A host names files of its own: a path outside the program folder
        // (the cache folder's parent) is never touched.
        std::error_code ec;
        const fs::path folder = fs::weakly_canonical(cacheFolder.parent_path(), ec);
        const fs::path target = fs::weakly_canonical(path, ec);
        const auto inside = std::mismatch(folder.begin(), folder.end(), target.begin(), target.end()).first;
        if (ec || folder.empty() || inside != folder.end())
            return false;
    } else {
        path = cacheFolder / file;
    }
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const std::string stamp = ModificationStamp(path); // yyyymmddhhmmss
    if (stamp.size() < 12 || LeadingNumber(stamp.substr(0, 12)) >= LeadingNumber(date))
        return false;
    return fs::remove(path, ec);
}

} // namespace kalvor::resources
