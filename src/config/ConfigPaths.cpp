#include "config/ConfigPaths.h"

#include "base/AtomicFile.h"
#include "base/ProgramFolder.h"
#include "logging/ErrorReport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace kalvor::config {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool IsConfigName(std::string_view name)
{
    const std::string prefix = std::string(kConfigFolder) + "/";
    if (!name.starts_with(prefix))
        return false;
    const std::string_view file = name.substr(prefix.size());
    return !file.empty() && file != "." && file != ".." && std::none_of(file.begin(), file.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32;
    });
}

std::filesystem::path ConfigPath(std::string_view name)
{
    const std::filesystem::path p{std::string(name)};
    if (p.is_absolute())
        return p;
    return ProgramFolder() / p;
}

std::string RecordedName(const std::filesystem::path& file)
{
    const std::filesystem::path absolute = std::filesystem::absolute(file).lexically_normal();
    const std::filesystem::path home = std::filesystem::absolute(ProgramFolder()).lexically_normal();
    const std::filesystem::path rel = absolute.lexically_relative(home);
    if (!rel.empty() && *rel.begin() != ".." && !rel.is_absolute() && rel != ".")
        return rel.generic_string();
    return absolute.generic_string();
}

int ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::size_t limit)
{
    bytes.clear();
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return logging::ErrorNumberForErrno(errno, path);
    char block[4096];
    while (bytes.size() < limit) {
        const std::size_t want = std::min(sizeof block, limit - bytes.size());
        const std::size_t got = std::fread(block, 1, want, f.get());
        bytes.append(block, got);
        if (got < want) {
            if (std::ferror(f.get()))
                return logging::ErrorNumberForErrno(errno, path);
            break;
        }
    }
    return 0;
}

int WriteFileBytes(const std::filesystem::path& path, std::string_view bytes)
{
    const std::error_code ec = WriteFileAtomically(path, bytes);
    return ec ? logging::ErrorNumberFor(ec, path) : 0;
}

} // namespace kalvor::config
