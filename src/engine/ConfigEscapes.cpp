// ESC & k: terminal configuration switches; ESC & s: straps; ESC & x:
// terminal configuration.
#include "engine/EscapeHandlers.h"
#include "engine/Terminal.h"

namespace kalvor {

EscapeResult EscTermSwitches(Terminal&, std::string_view) { return kEscDone; }

EscapeResult EscStraps(Terminal&, std::string_view) { return kEscDone; }

EscapeResult EscTermConfig(Terminal&, std::string_view) { return kEscDone; }

} // namespace kalvor
