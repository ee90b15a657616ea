#include "logging/SideFile.h"

#include "base/ProgramInstance.h"
#include "logging/ErrorReport.h"

#include <cerrno>

namespace kalvor::logging {

std::filesystem::path SideFile::Path() const { return path_.empty() ? ProgramFile(name_) : path_; }

int SideFile::Create()
{
    Close();
    path_ = ProgramFile(name_);
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    if (ec)
        return ErrorNumberFor(ec, path_.parent_path());
    std::filesystem::remove(path_, ec);
    if (ec)
        return ErrorNumberFor(ec, path_);
    errno = 0;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr)
        return ErrorNumberForErrno(errno, path_);
    return 0;
}

int SideFile::Write(std::string_view bytes)
{
    if (file_ == nullptr)
        return 52; // "Bad file number."
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        return ErrorNumberForErrno(errno, path_);
    if (std::fflush(file_) != 0)
        return ErrorNumberForErrno(errno, path_);
    return 0;
}

int SideFile::WriteLine(std::string_view text)
{
    std::string line(text);
    line.append(kEol);
    return Write(line);
}

int SideFile::Close()
{
    if (file_ == nullptr)
        return 0;
    errno = 0;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok ? 0 : ErrorNumberForErrno(errno, path_);
}

int SideFile::Remove()
{
    const int closed = Close();
    std::error_code ec;
    std::filesystem::remove(Path(), ec);
    if (ec)
        return ErrorNumberFor(ec, Path());
    return closed;
}

} // namespace kalvor::logging
