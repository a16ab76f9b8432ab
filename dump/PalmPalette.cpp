// The colours of bitmaps that bring no colour table of their own.
#include "dump/PalmBitmap.h"

namespace corvelle {
namespace {

constexpr Rgba Opaque(uint8_t r, uint8_t g, uint8_t b) { return Rgba{r, g, b, 255}; }

// The 8-bit system palette of Palm OS 3.5 and later. Indexes 0 to 214 are the
// 6x6x6 colour cube without black, in two halves of blue (FF, CC, 99 first,
// then 66, 33, 00); within a half red steps down slowest and green fastest,
// all from FF down by 33. Then ten greys that the cube lacks, four named
// colours, and black for the rest, 255 being the system's black.
Rgba SystemColor8(uint32_t index) {
    constexpr uint32_t kCubeColours = 215;
    constexpr uint32_t kHalf = 108;  // 6 reds x 3 blues x 6 greens
    if (index < kCubeColours) {
        const uint32_t half = index / kHalf;
        const uint32_t within = index % kHalf;
        const uint32_t redStep = within / 18;
        const uint32_t blueStep = half * 3 + (within % 18) / 6;
        const uint32_t greenStep = within % 6;
        return Opaque(static_cast<uint8_t>(255 - 51 * redStep), static_cast<uint8_t>(255 - 51 * greenStep),
                      static_cast<uint8_t>(255 - 51 * blueStep));
    }
    static constexpr uint8_t kGreys[] = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
    static constexpr Rgba kNamed[] = {Opaque(0xC0, 0xC0, 0xC0), Opaque(0x80, 0, 0), Opaque(0x80, 0, 0x80),
                                      Opaque(0, 0x80, 0), Opaque(0, 0x80, 0x80)};
    uint32_t rest = index - kCubeColours;
    if (rest < sizeof kGreys) return Opaque(kGreys[rest], kGreys[rest], kGreys[rest]);
    rest -= sizeof kGreys;
    if (rest < sizeof kNamed / sizeof kNamed[0]) return kNamed[rest];
    return Opaque(0, 0, 0);
}

}  // namespace

Rgba SystemColor(uint8_t depth, uint32_t index) {
    if (depth == 8) return SystemColor8(index);
    // Greys: index 0 is white, the highest index black.
    if (depth != 1 && depth != 2 && depth != 4) return Opaque(0, 0, 0);
    const uint32_t darkest = (1u << depth) - 1;
    if (index > darkest) return Opaque(0, 0, 0);
    const auto level = static_cast<uint8_t>((darkest - index) * 255 / darkest);
    return Opaque(level, level, level);
}

}  // namespace corvelle
