#include "script/ScriptText.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace kalvor::script {

double LeadingNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::size_t n = 0;
    if (n < text.size() && (text[n] == '+' || text[n] == '-'))
        ++n;
    const std::size_t digitsFrom = n;
    while (n < text.size() && std::isdigit(static_cast<unsigned char>(text[n])))
        ++n;
    if (n < text.size() && text[n] == '.') {
        ++n;
        while (n < text.size() && std::isdigit(static_cast<unsigned char>(text[n])))
            ++n;
    }
    if (n == digitsFrom || (n == digitsFrom + 1 && text[digitsFrom] == '.'))
        return 0;
    // from_chars takes no leading "+".
    std::string_view number = text.substr(0, n);
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

std::string FormatNumber(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
}

} // namespace kalvor::script
