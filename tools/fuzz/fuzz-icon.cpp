// libFuzzer entry point for the launcher icon: the input is taken both as a
// bitmap family (every rendition decoded) and as a whole database file (the
// icon looked up and decoded). The sanitizers flag any read past the input;
// the checks below flag images that break their own shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dump/LauncherIcon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvelle;
    if (size > 0xFFFFFFFFu) return 0;
    // An exact-size copy, so that reading one byte too far is caught.
    const std::vector<uint8_t> input(data, data + size);
    const uint8_t* bytes = input.empty() ? nullptr : input.data();
    const auto check = [](const IconImage& image) {
        const IconImage thumbnail = ScaleToFit(image, 64, 48);
        if (image.width == 0 || image.pixels.size() != size_t{image.width} * image.height || thumbnail.width == 0 ||
            thumbnail.width > 64 || thumbnail.height == 0 || thumbnail.height > 48)
            std::abort();
    };
    IconImage image;
    for (const BitmapRendition& rendition : ListRenditions(bytes, input.size()))
        if (DecodeRendition(bytes, input.size(), rendition, image)) check(image);
    if (DecodeLauncherIcon(bytes, static_cast<uint32_t>(input.size()), 64, 48, image)) check(image);
    return 0;
}
