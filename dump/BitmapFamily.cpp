// The renditions of a bitmap family and the choice among them.
#include <algorithm>

#include "dump/ByteReader.h"
#include "dump/PalmBitmap.h"
#include "dump/PalmBitmapLayout.h"

namespace corvelle {
namespace {

constexpr size_t kMaxRenditions = 64;

// Reads the header at offset; returns the offset of the next header, or 0
// when the chain ends there. False when the header does not lie whole inside
// the bytes or is of a version this reader does not know.
bool ReadHeader(ByteReader& reader, uint64_t offset, BitmapRendition& r, uint64_t& next) {
    reader.Seek(offset);
    r.offset = offset;
    r.width = reader.U16BE();
    r.height = reader.U16BE();
    r.rowBytes = reader.U16BE();
    r.flags = reader.U16BE();
    const uint8_t pixelSize = reader.U8();
    r.version = reader.U8();
    next = 0;
    if (r.version <= 2) {
        // Version 0 has no pixel size (0 there means 1 bit) and, strictly, no
        // next-depth offset; writers that put one there are followed.
        const uint16_t words = reader.U16BE();
        r.transparent = reader.U8();
        r.compression = reader.U8();
        if (r.version < 2) {
            r.transparent = 0;
            r.compression = bitmap::kScanLine;  // the only kind before version 2
        }
        r.depth = pixelSize == 0 ? 1 : pixelSize;
        r.headerSize = bitmap::kHeaderSizeV2;
        r.density = bitmap::kLowDensity;
        if (words != 0) next = offset + uint64_t{words} * bitmap::kNextDepthUnit;
    } else if (r.version == 3) {
        r.headerSize = reader.U8();
        r.pixelFormat = reader.U8();
        reader.U8();  // unused
        r.compression = reader.U8();
        r.density = reader.U16BE();
        r.transparent = reader.U32BE();
        const uint32_t bytes = reader.U32BE();
        r.depth = pixelSize;
        if (bytes != 0) next = offset + bytes;
    } else {
        return false;
    }
    // The whole header must be there, however long it says it is.
    return reader.Ok() && r.headerSize <= reader.Size() - offset;
}

}  // namespace

std::vector<BitmapRendition> ListRenditions(const uint8_t* data, uint64_t size) {
    std::vector<BitmapRendition> renditions;
    ByteReader reader(data, size);
    uint64_t offset = 0;
    while (renditions.size() < kMaxRenditions) {
        BitmapRendition rendition;
        uint64_t next = 0;
        if (!ReadHeader(reader, offset, rendition, next)) break;
        if (rendition.version == 1 && rendition.depth == bitmap::kHighDensityMarker) {
            // The high-density renditions follow the marker directly.
            offset += bitmap::kHighDensityMarkerSize;
            continue;
        }
        renditions.push_back(rendition);
        if (next == 0) break;
        offset = next;
    }
    return renditions;
}

std::vector<size_t> RenditionPreference(const std::vector<BitmapRendition>& renditions, uint32_t maxWidth,
                                        uint32_t maxHeight) {
    std::vector<size_t> order(renditions.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    auto fits = [&](const BitmapRendition& r) { return r.width <= maxWidth && r.height <= maxHeight; };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const BitmapRendition& x = renditions[a];
        const BitmapRendition& y = renditions[b];
        if (fits(x) != fits(y)) return fits(x);
        // Among those that fit, the finest; among the rest, the one that
        // needs the least shrinking.
        if (x.density != y.density) return fits(x) ? x.density > y.density : x.density < y.density;
        return x.depth > y.depth;
    });
    return order;
}

}  // namespace corvelle
