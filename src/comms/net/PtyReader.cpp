#include "comms/net/PtyReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kalvor::net {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

void Post(int fd)
{
    const std::uint64_t one = 1;
    while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void Drain(int fd)
{
    std::uint64_t count = 0;
    while (::read(fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

} // namespace

PtyReader::PtyReader(int fd)
    : fd_(fd), wake_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), stop_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    thread_ = std::thread([this] { Run(); });
}

PtyReader::~PtyReader()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    space_.notify_one();
    Post(stop_);
    thread_.join();
    ::close(wake_);
    ::close(stop_);
}

void PtyReader::Take(std::string& out, std::size_t max)
{
    {
        std::lock_guard lock(mutex_);
        // Drained while the thread cannot post, so no wake-up is lost.
        if (signalled_) {
            Drain(wake_);
            signalled_ = false;
        }
        const std::size_t n = std::min(max, WaitingLocked());
        out.append(buffer_, taken_, n);
        taken_ += n;
        if (taken_ == buffer_.size()) {
            buffer_.clear();
            taken_ = 0;
        } else {
            Signal();
        }
    }
    space_.notify_one();
}

std::size_t PtyReader::Waiting() const
{
    std::lock_guard lock(mutex_);
    return WaitingLocked();
}

bool PtyReader::Ended() const
{
    std::lock_guard lock(mutex_);
    return ended_ && WaitingLocked() == 0;
}

void PtyReader::Signal()
{
    if (signalled_)
        return;
    signalled_ = true;
    Post(wake_);
}

void PtyReader::Run()
{
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        std::size_t room = 0;
        {
            std::unique_lock lock(mutex_);
            space_.wait(lock, [this] { return stopping_ || WaitingLocked() < kCapacity; });
            if (stopping_)
                return;
            room = std::min(kCapacity - WaitingLocked(), chunk.size());
        }
        const ssize_t n = ::read(fd_, chunk.data(), room);
        if (n > 0) {
            std::lock_guard lock(mutex_);
            // The bytes taken are dropped from the front once they are at
            // least half the buffer, so each byte is moved once at most.
            if (taken_ > 0 && taken_ * 2 >= buffer_.size()) {
                buffer_.erase(0, taken_);
                taken_ = 0;
            }
            buffer_.append(chunk.data(), static_cast<std::size_t>(n));
            if (WaitingLocked() >= kHandOver)
                Signal();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            {
                std::lock_guard lock(mutex_);
                if (WaitingLocked() != 0)
                    Signal();
            }
            pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 && errno != EINTR)
                break;
            if (fds[1].revents != 0)
                return;
            continue;
        }
        break;
    }
    std::lock_guard lock(mutex_);
    ended_ = true;
    Signal();
}

} // namespace kalvor::net
