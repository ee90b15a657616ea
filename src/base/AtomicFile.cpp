#include "base/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvor {
namespace {

thread_local WriteFaults* t_faults = nullptr;

std::error_code LastError() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

std::error_code Fault(WriteStep step, const std::filesystem::path& target)
{
    return t_faults != nullptr ? t_faults->At(step, target) : std::error_code{};
}

// Writes all of `bytes`, going on after short writes and interruptions.
std::error_code WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

// The file a name stands for: a symbolic link is followed, so that the
// rename replaces the file it points to and not the link.
std::filesystem::path Resolved(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
    {
        std::string name = (target.parent_path() / ("." + target.filename().string())).string();
        name += kSavingInfix;
        name += "XXXXXX";
        fd_ = ::mkstemp(name.data());
        if (fd_ >= 0)
            path_ = name;
    }
    ~TemporaryFile()
    {
        Close();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Open() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    const std::filesystem::path& Path() const { return path_; }
    std::error_code Close()
    {
        if (fd_ < 0)
            return {};
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? std::error_code{} : LastError();
    }
    // The file has its final name now: nothing to remove.
    void Keep() { path_.clear(); }

private:
    int fd_ = -1;
    std::filesystem::path path_;
};

// Flushes the folder entry of the rename to the disk. A folder that cannot
// be opened or flushed does not undo the write.
void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

ScopedWriteFaults::ScopedWriteFaults(WriteFaults& faults) : previous_(t_faults) { t_faults = &faults; }

ScopedWriteFaults::~ScopedWriteFaults() { t_faults = previous_; }

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    const std::filesystem::path target = Resolved(path);
    errno = 0;
    TemporaryFile temp(target);
    if (!temp.Open())
        return LastError();

    // A new file stays readable by its owner only (a configuration may hold
    // a password); a replaced one keeps its permissions.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(temp.Fd(), old.st_mode & 07777);

    const std::string_view first = bytes.substr(0, bytes.size() / 2);
    if (std::error_code ec = WriteAll(temp.Fd(), first))
        return ec;
    if (std::error_code ec = Fault(WriteStep::Writing, target))
        return ec;
    if (std::error_code ec = WriteAll(temp.Fd(), bytes.substr(first.size())))
        return ec;
    if (std::error_code ec = Fault(WriteStep::Syncing, target))
        return ec;
    if (::fsync(temp.Fd()) != 0)
        return LastError();
    if (std::error_code ec = temp.Close())
        return ec;
    if (std::error_code ec = Fault(WriteStep::Renaming, target))
        return ec;
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        return LastError();
    temp.Keep();
    SyncFolder(target.parent_path());
    return {};
}

} // namespace kalvor
