#include "session/FormsLink.h"

#include <utility>

namespace kalvor {

void FormsLink::HostDc1()
{
    if (!kept_.empty())
        tx_.XmitString(std::exchange(kept_, {}), true);
}

} // namespace kalvor
