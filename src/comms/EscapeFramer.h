// Framing of escape sequences in the receive buffer. The pending sequence
// always begins with ESC and survives between receive passes:
//   ESC & / ESC * / ESC %   parameterised; ends at the first character from the
//                           third on whose code is 64..94 ("@".."^") or 33 ("!")
//   ESC ) x                 exactly three characters
//   ESC x                   two characters
// A dispatcher may ask for announced data after the terminator (the label and
// string of a user-key definition); those characters are taken whatever they
// are, ESC and CR included.
#pragma once

#include "comms/ByteQueue.h"

#include <string>
#include <string_view>

namespace kalvor {

class EscapeFramer {
public:
    // A parameterised sequence that runs this long without its terminator is
    // dropped, so garbage cannot grow the pending sequence without bound.
    static constexpr std::size_t kMaxParameterised = 256;

    enum class Step {
        Incomplete, // the buffer ran out; the sequence waits for the next pass
        Complete,   // Sequence() holds a complete sequence
        Overflow,   // dropped: too long without a terminator
    };

    bool Pending() const { return !seq_.empty(); }
    // Characters still missing when that is known (after a lone ESC, ESC ),
    // or inside announced data); 0 otherwise.
    int ExpectedRemaining() const { return expected_; }
    std::string_view Sequence() const { return seq_; }

    // Moves characters from the front of `buffer` into the pending sequence.
    // With no sequence pending the buffer must begin with ESC.
    Step Collect(ByteQueue& buffer);
    // The dispatcher needs `count` more characters after the current sequence.
    void ExpectData(int count);
    void Reset();

private:
    // Moves the next character of the buffer into the sequence; false (one
    // character expected) when the buffer is empty.
    bool TakeOne(ByteQueue& buffer);

    std::string seq_;
    int expected_ = 0;
    bool inData_ = false;
};

} // namespace kalvor
