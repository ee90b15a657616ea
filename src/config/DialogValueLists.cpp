#include "config/DialogValueLists.h"

#include <algorithm>
#include <cctype>

namespace kalvor::config {

int GetBaudIndex(std::string_view baud)
{
    const auto* it = std::find(kBaudRates.begin(), kBaudRates.end(), baud);
    return it == kBaudRates.end() ? -1 : static_cast<int>(it - kBaudRates.begin());
}

std::string StoredLanguage(std::string_view listText)
{
    const std::size_t first = listText.find_first_not_of(' ');
    std::string out(first == std::string_view::npos ? std::string_view{} : listText.substr(first));
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

int LanguageIndex(std::string_view language)
{
    const std::string wanted = StoredLanguage(language);
    for (std::size_t i = 0; i < kLanguageTexts.size(); ++i)
        if (StoredLanguage(kLanguageTexts[i]) == wanted)
            return static_cast<int>(i);
    return -1;
}

} // namespace kalvor::config
