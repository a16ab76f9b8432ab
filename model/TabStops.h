// The four tab positions that line up the report's columns in the dump page.
#pragma once

#include <array>
#include <cstdint>

namespace corvelle {

using TabStops = std::array<int32_t, 4>;

// Positions in twips from the Lister font's height in twips. Below 200 twips
// (10 points, and 0 when the host gave no size) fixed positions are used;
// from 200 on they scale with the font. The two rows do not meet at 200.
TabStops TabStopsForFontHeight(int32_t heightTwips);

}  // namespace corvelle
