// What the terminal sends under the DC1/DC2 handshake: the host's requests
// for data (cursor sensing, status, a block) and the transmissions the
// keyboard starts itself (a transmit-only user key, a modify-mode line, the
// four Enter cases). The escape interpreter names the request, the handshake
// keeps it while it waits, and block transmission fills it when it goes out.
#pragma once

namespace kalvor {

enum class HostRequest {
    None,                 // nothing waits
    UserKey,              // a transmit-only user key, its text already assembled
    ModifyLine,           // Return in a modify mode: the cursor row, already assembled
    Block,                // ESC d: the block Enter sends in the same mode
    AbsoluteCursor,       // ESC a: absolute cursor sensing
    RelativeCursor,       // ESC `: relative cursor sensing
    TerminalId,           // ESC * s -1 ^
    PrimaryStatus,        // ESC ^, ESC * s 0 ^
    SecondaryStatus,      // ESC ~, ESC * s 1 ^
    Status2,              // ESC * s 2 ^
    Status3,              // ESC * s 3 ^
    Status4,              // ESC * s 4 ^
    Status5,              // ESC * s 5 ^
    PrinterStatusDevice4, // ESC & p 4 ^
    PrinterStatus,        // ESC & p ^ for any other device, ESC * s 6 ^
    Identification,       // ESC * y ^, ESC * s 7 ^
    Version,              // ESC * s 8 ^
    EnterFormat,          // Enter in format mode, not block mode: the field under the cursor
    EnterBlock,           // Enter in block mode, not format mode: a line or the page
    EnterCharacter,       // Enter in character mode or a modify mode: the cursor row
    EnterFormatBlock,     // Enter in format and block mode: a field or every field of the page
    StatusOutOfRange,     // ESC * s n ^ with n outside -1..8: the reply terminator alone
};

} // namespace kalvor
