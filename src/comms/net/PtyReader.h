// Reads a pseudo-terminal's master side on a thread of its own. A read on a
// pseudo-terminal returns at most 4 KiB and hands the next piece over
// through the kernel's line-discipline worker, so most of a stream's system
// time is spent in reads; here it runs beside the receive pass instead of
// before it. The bytes wait in a buffer of at most kCapacity bytes; the
// thread stops reading while it is full, so the program is paced by the
// pseudo-terminal as before.
//
// The owner's thread learns of new bytes and of the end through WakeFd(),
// which turns readable at most once between two Takes: as soon as the
// pseudo-terminal has nothing more to read for now, else once kHandOver
// bytes wait, so that a stream wakes the owner every 64 KiB rather than
// every read. The owner takes the bytes with Take and then asks Ended() (end of file, EIO once every holder of the
// other side has closed it, any error but EAGAIN and EINTR). The descriptor stays the owner's: it is not closed here, and it
// may be written to by the owner while the thread reads.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

namespace kalvor::net {

class PtyReader {
public:
    static constexpr std::size_t kCapacity = 256 * 1024;
    static constexpr std::size_t kHandOver = 64 * 1024;

    // Starts reading `fd` (non-blocking).
    explicit PtyReader(int fd);
    // Stops and joins the thread.
    ~PtyReader();
    PtyReader(const PtyReader&) = delete;
    PtyReader& operator=(const PtyReader&) = delete;

    // Readable while bytes or the end wait to be taken.
    int WakeFd() const { return wake_; }
    // Appends the bytes read so far, at most `max` of them, to `out` and
    // re-arms WakeFd (readable again at once while bytes are left).
    void Take(std::string& out, std::size_t max = static_cast<std::size_t>(-1));
    // Bytes read and not taken yet.
    std::size_t Waiting() const;
    // The descriptor has ended and every byte read has been taken.
    bool Ended() const;

private:
    void Run();
    void Signal(); // with mutex_ held
    std::size_t WaitingLocked() const { return buffer_.size() - taken_; }

    int fd_;
    int wake_ = -1; // eventfd: bytes or the end wait
    int stop_ = -1; // eventfd: the thread is to end
    mutable std::mutex mutex_;
    std::condition_variable space_;
    std::string buffer_;    // bytes read; those before taken_ are taken already
    std::size_t taken_ = 0;
    bool signalled_ = false;
    bool ended_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace kalvor::net
