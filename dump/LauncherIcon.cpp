#include "dump/LauncherIcon.h"

#include <algorithm>

#include "dump/DatabaseModel.h"

namespace corvelle {
namespace {

// Resource IDs of the large launcher icon and of the small one that list
// views show.
constexpr uint16_t kLargeIconId = 1000;
constexpr uint16_t kSmallIconId = 1001;

}  // namespace

ByteSpan FindLauncherIcon(const uint8_t* file, uint32_t size) {
    // Any resource database may carry an icon, whatever its type: a plug-in
    // or a panel shows one in the launcher as an application does.
    const DatabaseModel model(file, size);
    const ByteSpan large = model.FindResource("tAIB", kLargeIconId);
    return large.size != 0 ? large : model.FindResource("tAIB", kSmallIconId);
}

bool DecodePreferredRendition(const ByteSpan& family, uint32_t maxWidth, uint32_t maxHeight, IconImage& icon) {
    const std::vector<BitmapRendition> renditions = ListRenditions(family.data, family.size);
    for (size_t index : RenditionPreference(renditions, maxWidth, maxHeight))
        if (DecodeRendition(family.data, family.size, renditions[index], icon)) return true;
    return false;
}

bool DecodeLauncherIcon(const uint8_t* file, uint32_t size, uint32_t maxWidth, uint32_t maxHeight,
                        IconImage& icon) {
    return DecodePreferredRendition(FindLauncherIcon(file, size), maxWidth, maxHeight, icon);
}

IconImage ScaleToFit(const IconImage& icon, uint32_t maxWidth, uint32_t maxHeight) {
    IconImage scaled;
    if (icon.width == 0 || icon.height == 0 || maxWidth == 0 || maxHeight == 0) return scaled;
    const uint32_t factor = std::min(maxWidth / icon.width, maxHeight / icon.height);
    if (factor >= 1) {
        scaled.width = icon.width * factor;
        scaled.height = icon.height * factor;
    } else if (uint64_t{maxWidth} * icon.height <= uint64_t{maxHeight} * icon.width) {
        scaled.width = maxWidth;
        scaled.height = std::max<uint32_t>(1, static_cast<uint32_t>(uint64_t{icon.height} * maxWidth / icon.width));
    } else {
        scaled.height = maxHeight;
        scaled.width = std::max<uint32_t>(1, static_cast<uint32_t>(uint64_t{icon.width} * maxHeight / icon.height));
    }
    scaled.pixels.resize(size_t{scaled.width} * scaled.height);
    Rgba* out = scaled.pixels.data();
    for (uint32_t y = 0; y < scaled.height; ++y) {
        const auto sourceRow = static_cast<size_t>(uint64_t{y} * icon.height / scaled.height) * icon.width;
        for (uint32_t x = 0; x < scaled.width; ++x)
            *out++ = icon.pixels[sourceRow + static_cast<size_t>(uint64_t{x} * icon.width / scaled.width)];
    }
    return scaled;
}

}  // namespace corvelle
