// The launcher icon of a Palm OS application: found in its resource list,
// decoded in the rendition that suits the picture's size, and scaled for a
// thumbnail.
#pragma once

#include <cstdint>

#include "dump/PalmBitmap.h"
#include "dump/ByteSpan.h"

namespace corvelle {

// The bitmap family of the icon: resource tAIB 1000, or the small icon 1001
// when there is no 1000. Empty when the file holds neither.
ByteSpan FindLauncherIcon(const uint8_t* file, uint32_t size);

// The family's picture as it shows best in at most maxWidth x maxHeight
// pixels: the first rendition in RenditionPreference order that decodes.
// False when none decodes.
bool DecodePreferredRendition(const ByteSpan& family, uint32_t maxWidth, uint32_t maxHeight, IconImage& icon);

// The same for the file's launcher icon; false also when it has none.
bool DecodeLauncherIcon(const uint8_t* file, uint32_t size, uint32_t maxWidth, uint32_t maxHeight,
                        IconImage& icon);

// The icon enlarged by the largest whole factor that fits, each pixel
// repeated so that pixel art stays sharp; an icon larger than the box is
// shrunk by nearest neighbour instead. The aspect ratio is kept, and the
// result is not padded to the box.
IconImage ScaleToFit(const IconImage& icon, uint32_t maxWidth, uint32_t maxHeight);

}  // namespace corvelle
