#include "forms/FormNumbers.h"

#include <algorithm>
#include <cmath>

namespace kalvor::forms {
namespace {

constexpr double kLimit = 1e9; // beyond any coordinate, size or count a form uses

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

double LeadingNumber(std::string_view token)
{
    std::size_t i = 0;
    while (i < token.size() && (token[i] == ' ' || token[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    double value = 0;
    double fraction = 0;
    bool point = false;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c == '.' && !point) {
            point = true;
            fraction = 0.1;
        } else if (IsDigit(c)) {
            if (point) {
                value += (c - '0') * fraction;
                fraction /= 10;
            } else if (value < kLimit * 10) {
                value = value * 10 + (c - '0');
            }
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

bool StartsWithNumber(std::string_view token)
{
    std::size_t i = 0;
    while (i < token.size() && (token[i] == ' ' || token[i] == '\t'))
        ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        ++i;
    if (i < token.size() && token[i] == '.')
        ++i;
    return i < token.size() && IsDigit(token[i]);
}

int RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    value = std::clamp(value, -kLimit, kLimit);
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode: halves to even
}

Colour ColourFromPercent(double red, double green, double blue)
{
    auto component = [](double percent) -> std::int64_t { return RoundHalfEven(std::min(percent, 100.0) * 255 / 100); };
    const std::int64_t value = component(red) + 256 * component(green) + 65536 * component(blue);
    return static_cast<Colour>(value) & 0xFFFFFF;
}

} // namespace kalvor::forms
