// One rendition of a Palm OS bitmap into RGBA pixels: its colour table or
// direct-colour block, its data (uncompressed, or scan-line, RLE or PackBits
// compressed) and its transparent index or colour.
#include <vector>

#include "dump/ByteReader.h"
#include "dump/PalmBitmap.h"
#include "dump/PalmBitmapLayout.h"

namespace corvelle {
namespace {

// Launcher icons are a few dozen pixels wide; anything larger is no icon and
// is refused before memory is spent on it.
constexpr uint32_t kMaxSide = 1024;
// The most that one compressed byte can stand for (an RLE pair of 255 bytes
// is the best case); a raster claiming more is refused before it is made.
constexpr uint64_t kMaxExpansion = 128;
constexpr uint32_t kMaxColors = 256;

bool IsKnownDepth(uint8_t depth) { return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; }

// RGB 5-6-5 to 8 bits a channel: full scale stays full scale.
Rgba From565(uint32_t value) {
    const uint32_t r = (value >> 11) & 0x1F, g = (value >> 5) & 0x3F, b = value & 0x1F;
    return Rgba{static_cast<uint8_t>(r * 255 / 31), static_cast<uint8_t>(g * 255 / 63),
                static_cast<uint8_t>(b * 255 / 31), 255};
}
uint32_t To565(uint32_t r, uint32_t g, uint32_t b) { return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3); }

struct Palette {
    std::vector<Rgba> colors;        // empty: the system's
    bool hasTransparency = false;
    uint32_t transparent = 0;        // index, or the RGB 5-6-5 value for 16 bits
};

bool ReadColorTable(ByteReader& reader, std::vector<Rgba>& colors) {
    const uint16_t count = reader.U16BE();
    if (!reader.Ok() || count > kMaxColors || !reader.CanRead(uint64_t{count} * 4)) return false;
    colors.resize(count);
    for (Rgba& color : colors) {
        reader.U8();  // the entry's own index; entries are used in order
        color.r = reader.U8();
        color.g = reader.U8();
        color.b = reader.U8();
        color.a = 255;
    }
    return true;
}

// What comes between the header and the data: the colour table, and before
// version 3 the direct-colour block of a 16-bit rendition.
bool ReadPalette(ByteReader& reader, const BitmapRendition& r, Palette& palette) {
    if (r.flags & bitmap::kHasColorTable) {
        if (r.flags & bitmap::kIndirectColorTable) return false;  // a pointer, not a table
        if (!ReadColorTable(reader, palette.colors)) return false;
    }
    // Transparency came with version 2.
    palette.hasTransparency = r.version >= 2 && (r.flags & bitmap::kHasTransparency);
    palette.transparent = r.transparent;
    if (r.depth != 16) return true;
    if (r.version == 3) {
        if (r.pixelFormat != bitmap::kRgb565) return false;
        // The value is meant to be 5-6-5; netpbm writes 00RRGGBB, which a
        // 5-6-5 value can never exceed.
        if (r.transparent > 0xFFFF)
            palette.transparent =
                To565((r.transparent >> 16) & 0xFF, (r.transparent >> 8) & 0xFF, r.transparent & 0xFF);
        return true;
    }
    if (!(r.flags & bitmap::kDirectColor)) return true;
    const uint8_t redBits = reader.U8(), greenBits = reader.U8(), blueBits = reader.U8();
    reader.U8();  // reserved
    reader.U8();  // the transparent colour's index, unused for direct colour
    const uint8_t red = reader.U8(), green = reader.U8(), blue = reader.U8();
    palette.transparent = To565(red, green, blue);
    return reader.Ok() && redBits == 5 && greenBits == 6 && blueBits == 5;
}

// Each row in groups of 8 bytes, each group led by a byte whose bits (high
// first) say which bytes follow; the others repeat the row above.
bool ExpandScanLine(ByteReader& packed, uint32_t rowBytes, std::vector<uint8_t>& raster) {
    for (size_t row = 0; row < raster.size(); row += rowBytes) {
        for (uint32_t group = 0; group < rowBytes; group += 8) {
            const uint8_t changed = packed.U8();
            for (uint32_t i = group; i < group + 8 && i < rowBytes; ++i) {
                const bool isNew = changed & (0x80 >> (i - group));
                raster[row + i] = isNew ? packed.U8() : row > 0 ? raster[row - rowBytes + i] : 0;
            }
        }
        if (!packed.Ok()) return false;
    }
    return true;
}

// Pairs of a count and the byte to repeat.
bool ExpandRle(ByteReader& packed, std::vector<uint8_t>& raster) {
    size_t filled = 0;
    while (filled < raster.size()) {
        const uint8_t count = packed.U8();
        const uint8_t value = packed.U8();
        if (!packed.Ok()) return false;
        for (uint32_t i = 0; i < count && filled < raster.size(); ++i) raster[filled++] = value;
    }
    return true;
}

// A signed count: 0 to 127 takes that many units plus one as they stand,
// -1 to -127 repeats the next unit one minus that many times, -128 does
// nothing. A unit is a byte, or a pixel of a 16-bit rendition.
bool ExpandPackBits(ByteReader& packed, uint32_t unit, std::vector<uint8_t>& raster) {
    size_t filled = 0;
    auto put = [&](const uint8_t* bytes) {
        for (uint32_t i = 0; i < unit && filled < raster.size(); ++i) raster[filled++] = bytes[i];
    };
    uint8_t bytes[2] = {};
    while (filled < raster.size()) {
        const auto count = static_cast<int8_t>(packed.U8());
        if (!packed.Ok()) return false;
        if (count == -128) continue;
        const int units = count >= 0 ? count + 1 : 1 - count;
        for (int n = 0; n < units; ++n) {
            if (count >= 0 || n == 0)
                for (uint32_t i = 0; i < unit; ++i) bytes[i] = packed.U8();
            if (!packed.Ok()) return false;
            put(bytes);
        }
    }
    return true;
}

// The compressed data starts with its own size, that size's field included:
// 4 bytes in version 3, 2 before.
bool Decompress(ByteReader& reader, const BitmapRendition& r, std::vector<uint8_t>& raster) {
    const uint64_t sizeField = r.version == 3 ? 4 : 2;
    const uint64_t stated = r.version == 3 ? reader.U32BE() : reader.U16BE();
    if (!reader.Ok() || stated < sizeField) return false;
    const uint64_t packedSize = stated - sizeField;
    const uint8_t* packedBytes = reader.Bytes(packedSize);
    const uint64_t rasterSize = uint64_t{r.rowBytes} * r.height;
    if (packedBytes == nullptr || rasterSize > packedSize * kMaxExpansion) return false;
    raster.assign(rasterSize, 0);
    ByteReader packed(packedBytes, packedSize);
    const uint8_t type = r.version >= 2 ? r.compression : bitmap::kScanLine;
    switch (type) {
    case bitmap::kScanLine:
        return ExpandScanLine(packed, r.rowBytes, raster);
    case bitmap::kRle:
        return ExpandRle(packed, raster);
    case bitmap::kPackBits:
        return ExpandPackBits(packed, r.depth == 16 ? 2 : 1, raster);
    default:
        return false;
    }
}

bool Convert(ByteReader& rows, const BitmapRendition& r, const Palette& palette, IconImage& image) {
    image.width = r.width;
    image.height = r.height;
    image.pixels.resize(size_t{r.width} * r.height);
    Rgba* out = image.pixels.data();
    const uint32_t mask = r.depth == 16 ? 0xFFFF : (1u << r.depth) - 1;
    for (uint32_t y = 0; y < r.height; ++y) {
        const uint8_t* row = rows.Bytes(r.rowBytes);
        if (row == nullptr) return false;
        for (uint32_t x = 0; x < r.width; ++x, ++out) {
            uint32_t value;
            if (r.depth == 16) {
                value = uint32_t{row[2 * x]} << 8 | row[2 * x + 1];
                *out = From565(value);
            } else {
                // Pixels fill a byte from its high bits down.
                const uint32_t bit = x * r.depth;
                value = (row[bit / 8] >> (8 - r.depth - bit % 8)) & mask;
                if (palette.colors.empty())
                    *out = SystemColor(r.depth, value);
                else if (value < palette.colors.size())
                    *out = palette.colors[value];
                else
                    return false;
            }
            if (palette.hasTransparency && value == palette.transparent) out->a = 0;
        }
    }
    return true;
}

bool Decode(const uint8_t* data, uint64_t size, const BitmapRendition& r, IconImage& image) {
    if (!IsKnownDepth(r.depth) || r.width == 0 || r.height == 0 || r.width > kMaxSide || r.height > kMaxSide)
        return false;
    if (r.flags & bitmap::kIndirect) return false;
    if (r.version == 3 &&
        (r.headerSize < bitmap::kMinHeaderSizeV3 || (r.depth < 16 && r.pixelFormat != bitmap::kIndexed)))
        return false;
    if (r.rowBytes < (uint32_t{r.width} * r.depth + 7) / 8) return false;

    ByteReader reader(data, size);
    reader.Seek(r.offset + r.headerSize);
    Palette palette;
    if (!reader.Ok() || !ReadPalette(reader, r, palette)) return false;

    const bool compressed =
        (r.flags & bitmap::kCompressed) && !(r.version >= 2 && r.compression == bitmap::kNoCompression);
    if (compressed) {
        std::vector<uint8_t> raster;
        if (!Decompress(reader, r, raster)) return false;
        ByteReader rows(raster.data(), raster.size());
        return Convert(rows, r, palette, image);
    }
    // Uncompressed rows are read where they lie.
    if (!reader.CanRead(uint64_t{r.rowBytes} * r.height)) return false;
    return Convert(reader, r, palette, image);
}

}  // namespace

bool DecodeRendition(const uint8_t* data, uint64_t size, const BitmapRendition& rendition, IconImage& image) {
    image = IconImage{};
    if (Decode(data, size, rendition, image)) return true;
    image = IconImage{};
    return false;
}

}  // namespace corvelle
