#include "engine/UserKeyDefinition.h"

#include "engine/EscapeDispatcher.h"

#include <algorithm>
#include <cctype>

namespace kalvor {

std::optional<UserKeyDefinition> ParseUserKeyDefinition(std::string_view seq)
{
    const std::size_t end = FindParameterTerminator(seq);
    if (end == std::string_view::npos || end < 3)
        return std::nullopt;
    UserKeyDefinition d;
    d.HeaderEnd = end;
    bool negative = false;
    bool haveNumber = false;
    long number = 0;
    for (std::size_t i = 3; i <= end; ++i) {
        const char c = seq[i];
        if (c == ' ')
            continue;
        if (c == '-' && !haveNumber) {
            negative = true;
            continue;
        }
        if (c >= '0' && c <= '9') {
            number = std::min(number * 10 + (c - '0'), 100000L);
            haveNumber = true;
            continue;
        }
        const long value = negative ? -number : number;
        switch (std::tolower(static_cast<unsigned char>(c))) {
        case 'a': d.Attribute = static_cast<int>(std::clamp(value, 0L, 2L)); break;
        case 'k': d.Key = value >= 1 && value <= 8 ? static_cast<int>(value) - 1 : 0; break;
        case 'd': d.LabelLength = static_cast<int>(std::clamp(value, 0L, long{UserKeyDefinition::kMaxLabel})); break;
        case 'l':
            d.StringLength =
                value == -1 ? 0 : static_cast<int>(std::clamp(value, 0L, long{UserKeyDefinition::kMaxText}));
            break;
        case 'e': d.Execute = value; break;
        case 'b': d.Save = value; break;
        default: return std::nullopt;
        }
        negative = false;
        haveNumber = false;
        number = 0;
    }
    const char last = seq[end];
    d.CarriesText = last == 'D' || last == 'K' || last == 'L';
    if (d.StringLength && d.LabelLength.value_or(0) + *d.StringLength > UserKeyDefinition::kMaxText)
        d.StringLength = UserKeyDefinition::kMaxText - d.LabelLength.value_or(0);
    return d;
}

} // namespace kalvor
