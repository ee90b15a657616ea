// The terminal side of a form download, while the terminal window is in
// front: ESC % k n F starts it, the received text goes to the form file
// unchanged up to ESC % k C, and then the Canvo window builds the form from
// that file. The receive pass hands its buffer here while a download runs.
//
// A download ends without a form when no data has arrived for 5 seconds,
// or when an ESC that does not begin ESC % k C arrives with three characters
// after it: the files are closed, the partial form file is deleted, and the
// terminal interprets the buffer from that ESC on (the text before it has
// gone to the deleted file).
#pragma once

#include "base/Clock.h"
#include "comms/ByteQueue.h"
#include "forms/FormFiles.h"

#include <cstdint>
#include <system_error>

namespace kalvor::forms {

class TerminalFormDownload {
public:
    static constexpr std::int64_t kTimeoutMs = 5000; // without any data arriving

    enum class Outcome {
        Waiting,   // everything written, or a closing sequence waits for its rest
        Complete,  // ESC % k C: the form file is whole
        Abandoned, // a stray ESC: the rest of the buffer is the terminal's again
    };

    TerminalFormDownload(const Clock& clock, FormFiles files) : clock_(clock), writer_(std::move(files)) {}

    const FormFiles& Files() const { return writer_.Files(); }
    bool Receiving() const { return writer_.Open(); }

    // ESC % k n F (n 0 or 1): the form file created empty, with the form log
    // beside it. The system's error when the form file cannot be created.
    [[nodiscard]] std::error_code Start(const ByteQueue& buffer);
    // ESC % k X: receiving stops and the form file stays as it is.
    void StopKeepingFile() { writer_.Close(); }
    // Step 6 of the receive pass, over the receive buffer.
    Outcome Divert(ByteQueue& buffer);
    // From the receive timer: a download silent for 5 seconds is abandoned.
    // True when it was.
    bool CheckTimeout();

private:
    const Clock& clock_;
    FormFileWriter writer_;
    std::int64_t lastDataMs_ = 0;
    std::uint64_t seenAppended_ = 0; // the buffer's append count when data last arrived
};

} // namespace kalvor::forms
