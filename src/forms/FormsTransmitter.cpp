#include "forms/FormsTransmitter.h"

namespace kalvor::forms {

void FormsTransmitter::xmitchar(std::string_view text)
{
    DebugScope scope(log_, "xmitchar");
    tx_.XmitString(text, true);
}

} // namespace kalvor::forms
