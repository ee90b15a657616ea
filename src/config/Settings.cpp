#include "config/Settings.h"

namespace kalvor::config {

FunctionKeyRecord DefaultFunctionKey(int key)
{
    FunctionKeyRecord r;
    if (key < 0 || key >= kUserKeys)
        return r;
    r.Type = FunctionKeyRecord::kTransmitOnly;
    r.Line1 = "   f" + std::to_string(key + 1);
    r.Text = std::string{'\x1b', static_cast<char>('p' + key)};
    return r;
}

Settings::Settings()
{
    Phones[0] = kDirectConnect;
    for (int k = 0; k < kUserKeys; ++k)
        Keys[static_cast<std::size_t>(k)] = DefaultFunctionKey(k);
}

} // namespace kalvor::config
