#include "comms/EscapeFramer.h"

#include <algorithm>

namespace kalvor {
namespace {

bool IsTerminator(unsigned char c) { return c == 33 || (c >= 64 && c <= 94); }

} // namespace

EscapeFramer::Step EscapeFramer::Collect(ByteQueue& buffer)
{
    if (seq_.empty()) {
        if (buffer.Empty())
            return Step::Incomplete;
        seq_.push_back(buffer[0]);
        buffer.Consume(1);
    }
    if (inData_) {
        const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(expected_), buffer.Size());
        seq_.append(buffer.View().substr(0, take));
        buffer.Consume(take);
        expected_ -= static_cast<int>(take);
        if (expected_ > 0)
            return Step::Incomplete;
        inData_ = false;
        return Step::Complete;
    }
    if (seq_.size() == 1 && !TakeOne(buffer))
        return Step::Incomplete;
    const char group = seq_[1];
    if (group == '&' || group == '*' || group == '%') {
        const std::string_view rest = buffer.View();
        for (std::size_t i = 0; i < rest.size(); ++i) {
            // The third character (the class letter) may already end it.
            if (IsTerminator(static_cast<unsigned char>(rest[i]))) {
                seq_.append(rest.substr(0, i + 1));
                buffer.Consume(i + 1);
                return Step::Complete;
            }
        }
        seq_.append(rest);
        buffer.Consume(rest.size());
        return seq_.size() > kMaxParameterised ? Step::Overflow : Step::Incomplete;
    }
    if (group == ')') {
        if (seq_.size() < 3 && !TakeOne(buffer))
            return Step::Incomplete;
        expected_ = 0;
        return Step::Complete;
    }
    return Step::Complete;
}

bool EscapeFramer::TakeOne(ByteQueue& buffer)
{
    if (buffer.Empty()) {
        expected_ = 1;
        return false;
    }
    seq_.push_back(buffer[0]);
    buffer.Consume(1);
    expected_ = 0;
    return true;
}

void EscapeFramer::ExpectData(int count)
{
    expected_ = std::max(count, 0);
    inData_ = expected_ > 0;
}

void EscapeFramer::Reset()
{
    seq_.clear();
    expected_ = 0;
    inData_ = false;
}

} // namespace kalvor
