// A byte string that grows at the end and is consumed from the front without
// moving the rest on every read (the receive buffer). Consumed space is
// reclaimed when it outweighs what is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvor {

class ByteQueue {
public:
    std::size_t Size() const { return data_.size() - head_; }
    bool Empty() const { return head_ == data_.size(); }
    std::string_view View() const { return std::string_view(data_).substr(head_); }
    char operator[](std::size_t i) const { return data_[head_ + i]; }
    char* Data() { return data_.data() + head_; }

    void Append(std::string_view bytes)
    {
        Compact();
        data_.append(bytes);
        appended_ += bytes.size();
    }
    // Puts bytes back in front of the queue (read again before the rest).
    void Prepend(std::string_view bytes)
    {
        ++rewrites_;
        if (bytes.size() <= head_) {
            head_ -= bytes.size();
            data_.replace(head_, bytes.size(), bytes);
        } else {
            data_.replace(0, head_, bytes);
            head_ = 0;
        }
    }
    void Consume(std::size_t n)
    {
        head_ += n < Size() ? n : Size();
        if (head_ == data_.size()) {
            data_.clear();
            head_ = 0;
        }
    }
    // Removes one byte at position i (counted from the front).
    void EraseAt(std::size_t i)
    {
        ++rewrites_;
        data_.erase(head_ + i, 1);
    }
    void Clear()
    {
        ++rewrites_;
        data_.clear();
        head_ = 0;
    }

    // Bytes appended so far, and changes other than appending at the end or
    // consuming from the front: a reader that searched the queue before
    // need only search what was appended since, while the rewrites stay the
    // same.
    std::uint64_t Appended() const { return appended_; }
    std::uint64_t Rewrites() const { return rewrites_; }

private:
    void Compact()
    {
        if (head_ > 0 && head_ >= data_.size() - head_) {
            data_.erase(0, head_);
            head_ = 0;
        }
    }

    std::string data_;
    std::size_t head_ = 0;
    std::uint64_t appended_ = 0;
    std::uint64_t rewrites_ = 0;
};

} // namespace kalvor
