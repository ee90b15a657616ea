// One kind's array of object records: empty for a new form, capacity 10 with
// the first object, grown by 10 whenever the count reaches the capacity, at
// most 500 objects. Indices are 1-based as the object list stores them.
#pragma once

#include <cassert>
#include <vector>

namespace kalvor::forms {

constexpr int kMaxObjectsPerKind = 500;
constexpr int kArrayGrowth = 10;

template <typename Record>
class KindArray {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    int Capacity() const { return capacity_; }
    bool Full() const { return Count() >= kMaxObjectsPerKind; }

    // Appends a record and returns its index; 0 when the kind is full.
    int Add(Record record)
    {
        if (Full())
            return 0;
        if (Count() == capacity_) {
            capacity_ += kArrayGrowth;
            items_.reserve(static_cast<std::size_t>(capacity_));
        }
        items_.push_back(std::move(record));
        return Count();
    }

    Record& operator[](int index)
    {
        assert(index >= 1 && index <= Count());
        return items_[static_cast<std::size_t>(index - 1)];
    }
    const Record& operator[](int index) const
    {
        assert(index >= 1 && index <= Count());
        return items_[static_cast<std::size_t>(index - 1)];
    }
    bool Has(int index) const { return index >= 1 && index <= Count(); }

    void Clear()
    {
        items_.clear();
        items_.shrink_to_fit();
        capacity_ = 0;
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }

private:
    std::vector<Record> items_; // invariant: size <= capacity_ <= 500, capacity_ a multiple of 10
    int capacity_ = 0;
};

} // namespace kalvor::forms
