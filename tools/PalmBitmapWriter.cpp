#include "tools/PalmBitmapWriter.h"

#include "dump/PalmBitmapLayout.h"
#include "tools/BigEndianWriter.h"

namespace corvelle::samples {
namespace {

using namespace corvelle::bitmap;

bool IsHighDensity(const BitmapPicture& picture) { return picture.density > kLowDensity; }

// Rows are a whole number of 16-bit words, pixels packed from the high bits.
uint16_t RowBytes(const BitmapPicture& picture) {
    return static_cast<uint16_t>((picture.width * picture.depth + 15) / 16 * 2);
}

std::string Raster(const BitmapPicture& picture) {
    const uint16_t rowBytes = RowBytes(picture);
    std::string raster(size_t{rowBytes} * picture.height, '\0');
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint32_t value = picture.pixels[y * picture.width + x];
            const size_t bit = size_t{y} * rowBytes * 8 + size_t{x} * picture.depth;
            if (picture.depth == 16) {
                raster[bit / 8] = static_cast<char>(value >> 8);
                raster[bit / 8 + 1] = static_cast<char>(value);
            } else {
                const unsigned shift = 8 - picture.depth - bit % 8;
                raster[bit / 8] = static_cast<char>(raster[bit / 8] | (value << shift));
            }
        }
    }
    return raster;
}

// Groups of 8 bytes, each led by a byte whose bits say which bytes differ
// from the row above (all of them in the first row); only those follow.
std::string ScanLine(const std::string& raster, uint16_t rowBytes) {
    std::string packed;
    for (size_t row = 0; row < raster.size(); row += rowBytes) {
        for (size_t group = 0; group < rowBytes; group += 8) {
            const size_t flagAt = packed.size();
            packed.push_back('\0');
            for (size_t i = group; i < group + 8 && i < rowBytes; ++i) {
                if (row > 0 && raster[row + i] == raster[row - rowBytes + i]) continue;
                packed[flagAt] = static_cast<char>(packed[flagAt] | (0x80 >> (i - group)));
                packed.push_back(raster[row + i]);
            }
        }
    }
    return packed;
}

// The bytes after the header: the data, compressed or not, and before
// version 3 a 16-bit rendition's direct-colour block.
std::string Body(const BitmapPicture& picture) {
    std::string body;
    if (picture.depth == 16 && !IsHighDensity(picture)) {
        Put8(body, 5);  // red, green and blue bits
        Put8(body, 6);
        Put8(body, 5);
        Put8(body, 0);
        const uint32_t c = picture.transparent;  // its 8-bit channels, as the block stores them
        Put8(body, 0);
        Put8(body, (c >> 11) << 3);
        Put8(body, ((c >> 5) & 0x3F) << 2);
        Put8(body, (c & 0x1F) << 3);
    }
    const std::string raster = Raster(picture);
    if (!picture.scanLineCompressed) return body + raster;
    const std::string packed = ScanLine(raster, RowBytes(picture));
    // The size of the compressed data counts its own field.
    if (IsHighDensity(picture))
        Put32(body, static_cast<uint32_t>(packed.size() + 4));
    else
        Put16(body, static_cast<uint32_t>(packed.size() + 2));
    return body + packed;
}

// One rendition; hasNext says whether another header follows it. Returned
// padded to whole 4-byte words, the unit of the low-density chain.
std::string Rendition(const BitmapPicture& picture, bool hasNext) {
    const std::string body = Body(picture);
    uint16_t flags = 0;
    if (picture.scanLineCompressed) flags |= kCompressed;
    if (picture.hasTransparency) flags |= kHasTransparency;
    if (picture.depth == 16) flags |= kDirectColor;
    std::string out;
    Put16(out, picture.width);
    Put16(out, picture.height);
    Put16(out, RowBytes(picture));
    Put16(out, flags);
    Put8(out, picture.depth);
    const size_t headerSize = IsHighDensity(picture) ? kMinHeaderSizeV3 : kHeaderSizeV2;
    const size_t paddedSize = (headerSize + body.size() + 3) / 4 * 4;
    if (IsHighDensity(picture)) {
        Put8(out, 3);
        Put8(out, headerSize);
        Put8(out, picture.depth == 16 ? kRgb565 : kIndexed);
        Put8(out, 0);
        Put8(out, picture.scanLineCompressed ? kScanLine : kNoCompression);
        Put16(out, picture.density);
        Put32(out, picture.transparent);
        Put32(out, hasNext ? static_cast<uint32_t>(paddedSize) : 0);
    } else {
        // Version 1 suffices for a plain rendition; transparency, compression
        // and direct colour need version 2.
        const bool needsV2 = picture.hasTransparency || picture.scanLineCompressed || picture.depth == 16;
        Put8(out, needsV2 ? 2 : 1);
        Put16(out, hasNext ? static_cast<uint32_t>(paddedSize / kNextDepthUnit) : 0);
        Put8(out, picture.depth == 16 ? 0 : picture.transparent);
        Put8(out, picture.scanLineCompressed ? kScanLine : kNoCompression);
        Put16(out, 0);
    }
    out += body;
    out.resize(paddedSize, '\0');
    return out;
}

}  // namespace

std::string BitmapFamily(const std::vector<BitmapPicture>& renditions) {
    std::string low, high;
    bool anyHigh = false;
    for (const BitmapPicture& picture : renditions) anyHigh = anyHigh || IsHighDensity(picture);
    for (size_t i = 0; i < renditions.size(); ++i) {
        bool hasNext = false;
        for (size_t j = i + 1; j < renditions.size(); ++j)
            hasNext = hasNext || IsHighDensity(renditions[j]) == IsHighDensity(renditions[i]);
        if (IsHighDensity(renditions[i]))
            high += Rendition(renditions[i], hasNext);
        else
            low += Rendition(renditions[i], hasNext || anyHigh);
    }
    if (!anyHigh) return low;
    // Older systems stop at this header: the marker as its pixel size (byte 8),
    // version 1 (byte 9).
    std::string marker(kHighDensityMarkerSize, '\0');
    marker[8] = static_cast<char>(kHighDensityMarker);
    marker[9] = '\x01';
    return low + marker + high;
}

}  // namespace corvelle::samples
