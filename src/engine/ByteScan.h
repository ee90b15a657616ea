// Scanning host text for the next control character, sixteen bytes at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kalvor {

// Length of the leading run of bytes that are not control characters (codes
// 32..255); `high` is set when a byte of 128..255 occurs in that run.
inline std::size_t PrintableRun(const char* p, std::size_t n, bool& high)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi8(31);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int control = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit));
        const int upper = _mm_movemask_epi8(v);
        if (control != 0) {
            const int k = __builtin_ctz(static_cast<unsigned>(control));
            if ((upper & ((1 << k) - 1)) != 0)
                high = true;
            return i + static_cast<std::size_t>(k);
        }
        if (upper != 0)
            high = true;
    }
#endif
    for (; i < n; ++i) {
        const auto c = static_cast<std::uint8_t>(p[i]);
        if (c < 32)
            return i;
        if (c >= 128)
            high = true;
    }
    return n;
}

} // namespace kalvor
