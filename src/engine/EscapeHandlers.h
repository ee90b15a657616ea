// The handlers of escape sequences, one family per file. Each takes the
// complete sequence (beginning with ESC) and returns whether it was consumed,
// is invalid, or needs more characters.
#pragma once

#include "engine/EscapeDispatcher.h"

#include <string_view>

namespace kalvor {

class Terminal;

// Cursor addressing (CursorAddressing.cpp).
EscapeResult EscCursorAddress(Terminal& t, std::string_view seq); // ESC & a
EscapeResult EscScreenWidth(Terminal& t, std::string_view seq);   // ESC & w

// Enhancements, colours and the cursor form (Enhancements.cpp).
EscapeResult EscEnhancement(Terminal& t, std::string_view seq);    // ESC & d
EscapeResult EscColorScheme(Terminal& t, std::string_view seq);    // ESC % x
EscapeResult EscDisplayControl(Terminal& t, std::string_view seq); // ESC * d

// Terminal configuration (ConfigEscapes.cpp).
EscapeResult EscTermSwitches(Terminal& t, std::string_view seq); // ESC & k (and key remapping)
EscapeResult EscStraps(Terminal& t, std::string_view seq);       // ESC & s
EscapeResult EscTermConfig(Terminal& t, std::string_view seq);   // ESC & x

// Status requests and the smaller extensions (EscapeDispatcher.cpp).
EscapeResult EscStatusRequest(Terminal& t, std::string_view seq); // ESC * s n ^
EscapeResult EscIdentify(Terminal& t, std::string_view seq);      // ESC * y ^
EscapeResult EscPrintSettings(Terminal& t, std::string_view seq); // ESC % p
EscapeResult EscDisplayDump(Terminal& t, std::string_view seq);   // ESC % d
EscapeResult EscTelnetVariant(Terminal& t, std::string_view seq); // ESC % c

} // namespace kalvor
