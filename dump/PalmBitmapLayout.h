// Where things are in a Palm OS bitmap header, and what its codes mean. Every
// multi-byte number is stored most significant byte first.
#pragma once

#include <cstdint>

namespace corvelle {
namespace bitmap {

// Common to all versions: width, height, rowBytes, flags (2 bytes each), then
// the pixel size and the version (1 byte each), read in that order.
// Versions 0 to 2: a 16-byte header. The next-depth offset that follows
// counts 4-byte words; version 2 adds the transparent index and the
// compression type.
constexpr uint64_t kHeaderSizeV2 = 16;
constexpr uint64_t kNextDepthUnit = 4;
// Version 3: the header states its size (24 bytes so far); the next-bitmap
// offset counts bytes.
constexpr uint64_t kMinHeaderSizeV3 = 24;

// A version 1 header with this pixel size is no picture: it ends the
// renditions that older systems read, and the high-density ones follow it.
constexpr uint8_t kHighDensityMarker = 255;
constexpr uint64_t kHighDensityMarkerSize = 16;

constexpr uint16_t kLowDensity = 72;

// Flags.
constexpr uint16_t kCompressed = 0x8000;
constexpr uint16_t kHasColorTable = 0x4000;
constexpr uint16_t kHasTransparency = 0x2000;
constexpr uint16_t kIndirect = 0x1000;  // the data is a pointer in memory, not in the file
constexpr uint16_t kDirectColor = 0x0400;
constexpr uint16_t kIndirectColorTable = 0x0200;

// Compression types.
constexpr uint8_t kScanLine = 0;
constexpr uint8_t kRle = 1;
constexpr uint8_t kPackBits = 2;
constexpr uint8_t kNoCompression = 0xFF;

// Version 3 pixel formats. The little-endian ones belong to ARM code in
// memory and do not occur in database files.
constexpr uint8_t kIndexed = 0;
constexpr uint8_t kRgb565 = 1;

}  // namespace bitmap
}  // namespace corvelle
