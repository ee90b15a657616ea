// Writing a file whole without ever losing the old one. The new content goes
// into a temporary file in the same folder, is flushed to the disk, and is
// then renamed over the old name; the rename is what replaces the file, so a
// kill, a power cut or a full disk at any moment leaves either the old file
// or the new one, never a mixture and never nothing. On any failure the
// temporary file is removed and the old file stays as it was.
//
// A file reached through a symbolic link is written where the link points;
// the old file's permission bits are kept, a new file is its owner's only.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace kalvor {

// The moments of a safe write at which tests may break in.
enum class WriteStep {
    Writing,  // half of the content is in the temporary file
    Syncing,  // all of it is written, not yet flushed to the disk
    Renaming, // flushed, about to replace the old file
};

// A test's way to fail a safe write at one of its steps (or to stop the
// process there). Returning an error makes that step fail with it.
class WriteFaults {
public:
    virtual ~WriteFaults() = default;
    virtual std::error_code At(WriteStep step, const std::filesystem::path& target) = 0;
};

// Installs `faults` for the safe writes of the current thread while it
// lives.
class ScopedWriteFaults {
public:
    explicit ScopedWriteFaults(WriteFaults& faults);
    ~ScopedWriteFaults();
    ScopedWriteFaults(const ScopedWriteFaults&) = delete;
    ScopedWriteFaults& operator=(const ScopedWriteFaults&) = delete;

private:
    WriteFaults* previous_;
};

// Replaces the content of `path` with `bytes` safely (see above). The folder
// must exist. Returns the error of the step that failed, empty on success.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The temporary files of safe writes are named after the target with this
// in front and a random tail behind: ".NAME.saving-XXXXXX".
inline constexpr std::string_view kSavingInfix = ".saving-";

} // namespace kalvor
