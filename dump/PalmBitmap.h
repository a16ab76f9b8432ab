// Palm OS bitmaps: a family of renditions of one picture (depths 1 to 16,
// low and high density), chained by their next-depth offsets, and the
// decoding of one rendition into RGBA pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvelle {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;  // a: 0 transparent, 255 opaque
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

struct IconImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<Rgba> pixels;  // row by row from the top
};

// One rendition as its header describes it; nothing of its data is read.
struct BitmapRendition {
    uint64_t offset = 0;      // of the header, from the start of the family
    uint64_t headerSize = 0;  // 16 up to version 2; version 3 states its own
    uint8_t version = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t rowBytes = 0;
    uint16_t flags = 0;
    uint8_t depth = 0;         // bits per pixel
    uint8_t pixelFormat = 0;   // version 3 only
    uint8_t compression = 0;   // the stated type; used only when flagged compressed
    uint16_t density = 72;     // 72 low, 144 double; before version 3 always low
    uint32_t transparent = 0;  // index, or the colour of a 16-bit rendition
};

// Every rendition of the family, in file order: what `palmtopnm -rendition N`
// counts from 1. The placeholder entry that introduces high-density renditions
// is not one. A link that leaves the bytes, or a header cut by their end,
// ends the list; at most 64 renditions are listed.
std::vector<BitmapRendition> ListRenditions(const uint8_t* data, uint64_t size);

// The renditions in the order to try them for a picture of at most
// maxWidth x maxHeight pixels: those that fit, highest density first, then
// highest depth; after them those that do not fit, the smallest first.
std::vector<size_t> RenditionPreference(const std::vector<BitmapRendition>& renditions, uint32_t maxWidth,
                                        uint32_t maxHeight);

// Decodes one rendition of the family. False, with the image left empty, for
// a depth, format or compression it does not know, a colour index outside its
// table, or data that would lie outside the family's bytes.
bool DecodeRendition(const uint8_t* data, uint64_t size, const BitmapRendition& rendition, IconImage& image);

// The colour Palm OS gives an index when the bitmap brings no colour table:
// greys from white to black for depths 1, 2 and 4, the system palette for 8.
Rgba SystemColor(uint8_t depth, uint32_t index);

}  // namespace corvelle
