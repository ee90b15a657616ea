// The host-output interpreter for text runs: filters control characters,
// translates Roman 8, replaces controls by mnemonics in record mode, and
// writes the text into display memory at the cursor (WriteHostText), carrying
// out BS, HT, LF, CR, SO, SI and DC1.
#pragma once

#include "engine/Scroller.h"
#include "engine/TerminalHooks.h"
#include "engine/TerminalState.h"

#include <string>
#include <string_view>

namespace kalvor {

class HostTextWriter {
public:
    HostTextWriter(TerminalState& state, Scroller& scroller, TerminalHooks& hooks)
        : st_(state), scroll_(scroller), hooks_(hooks)
    {}

    // The pending text run: the receive pass appends to it, WriteHostText
    // consumes it.
    std::string& PendingText() { return pending_; }

    // Filters, translates (when the host character set is Roman 8) and writes
    // the pending text run; afterwards it is empty.
    void WriteHostText();

    // Convenience for callers that hold a complete run.
    void Write(std::string_view run)
    {
        pending_.append(run);
        WriteHostText();
    }

    // The control characters of a run, carried out at the cursor.
    void CarriageReturn();
    void LineFeed();
    void Backspace();
    void HorizontalTab();
    void ShiftOut();
    void ShiftIn();
    void HostDc1();

    // Writes printable codes at the cursor with margins, insert mode and wrap.
    void WriteSegment(const char* text, std::size_t length);

private:
    void WriteNormal(std::string& run);
    void WriteDisplayFunctions(std::string& run);
    void ExpandMnemonics(std::string& run);
    void PutAtCursor(const char* text, int length);
    void KeepCharacterSet(int col, int length);
    void EscapeLogChar(unsigned char code);

    TerminalState& st_;
    Scroller& scroll_;
    TerminalHooks& hooks_;
    std::string pending_;
    std::string work_;    // the run being written
    std::string scratch_; // spare buffer for insert mode
    bool busy_ = false;
};

} // namespace kalvor
