// The cache folder of the forms mode: which resources are missing from it,
// keeping it within its budget (TrimCache) and /PURGE of stale copies.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvor::resources {

// The cache budget, in units of 1000 bytes.
inline constexpr std::int64_t kCacheBudgetKb = 25000;

// A name a resource may have in the cache: a plain file name, no folder part.
bool IsCacheName(const std::string& name);

// The names of `names` that have no file in `cacheFolder`, in order, each once.
std::vector<std::string> MissingFromCache(const std::filesystem::path& cacheFolder,
                                          const std::vector<std::string>& names);

// A file size in units of 1000 bytes, rounded to the nearest unit.
std::int64_t SizeUnits(std::uintmax_t bytes);

// TrimCache: when at least two files of the cache folder other than the form
// file and the files of `current` total `budgetKb` units or more, deletes
// them oldest first until the total is below the budget. Returns the names
// deleted, oldest first.
std::vector<std::string> TrimCache(const std::filesystem::path& cacheFolder, const std::vector<std::string>& current,
                                   std::int64_t budgetKb = kCacheBudgetKb);

// /PURGE file date: `file` is a path when it contains a folder separator
// (left alone unless it lies in the program folder, the cache folder's
// parent), else a name in the cache folder; it is deleted when its modification time
// as yyyymmddhhnn (local time) is less than `date` read as a number. Returns
// whether it was deleted.
bool PurgeFile(const std::filesystem::path& cacheFolder, const std::string& file, const std::string& date);

// A file's modification time as local "yyyymmddhhmmss".
std::string ModificationStamp(const std::filesystem::path& file);

} // namespace kalvor::resources
