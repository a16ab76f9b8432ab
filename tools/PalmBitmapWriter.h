// Writes Palm OS bitmap families, for the sample application's launcher icon
// and for tests that need bitmaps netpbm does not make.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvelle::samples {

// One rendition to write. Pixels are row by row: palette indexes for depths
// 1 to 8 (the system palette's), RGB 5-6-5 values for depth 16.
struct BitmapPicture {
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 1;
    uint16_t density = 72;          // above 72 makes a version 3 rendition
    bool scanLineCompressed = false;
    bool hasTransparency = false;
    uint32_t transparent = 0;       // index, or RGB 5-6-5
    std::vector<uint32_t> pixels;
};

// The family in the given order: low-density renditions chained by their
// next-depth offsets, then, when there are high-density ones, the 16-byte
// marker that introduces them and the high-density renditions.
std::string BitmapFamily(const std::vector<BitmapPicture>& renditions);

// The launcher icon of the sample application: a smiling face in 1 and 8 bits
// at 22 x 22 and in 16 bits at 44 x 44, double density.
std::string HelloIconFamily();

}  // namespace corvelle::samples
