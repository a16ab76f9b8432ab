#include "model/TabStops.h"

namespace corvelle {

TabStops TabStopsForFontHeight(int32_t heightTwips) {
    if (heightTwips < 200) return {400, 3200, 5500, 6500};
    // 45 x INT32_MAX would overflow; the multiplication is done in 64 bits and
    // clamped, so an absurd height gives far-right stops, never garbage.
    const auto scaled = [heightTwips](int64_t factor) {
        const int64_t value = factor * heightTwips;
        return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value);
    };
    return {scaled(3), scaled(25), scaled(43), scaled(45)};
}

}  // namespace corvelle
