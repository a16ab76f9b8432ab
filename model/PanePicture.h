// The picture beside the Records page's entry pane, for either front end: a
// Palm bitmap family's best rendition, an image file (a contact's JPEG, a
// photo) decoded by the front end's own imaging, or the pixels a format
// decoded (a Note Pad drawing), fitted to the pane's box (small
// ones enlarged by whole factors so that pixel art stays sharp).
#pragma once

#include <cstdint>
#include <functional>

#include "dump/PalmBitmap.h"
#include "formats/Format.h"

namespace corvelle {

// Large enough for a Palm screen's bitmap at double density; a launcher icon
// of 22 or 32 pixels grows by whole factors up to the shown box.
constexpr uint32_t kPictureDecodeBox = 320;
constexpr uint32_t kPictureShowBox = 96;
// An image file within a 64 KB record may claim any size; a larger one is
// not decoded, so that its pixels are bounded before they are allocated.
constexpr uint32_t kMostImageFileSide = 2048;

// Decodes a whole image file's first frame into `image`; false for what the
// front end cannot decode, or an image wider or taller than kMostImageFileSide.
using ImageFileDecoder = std::function<bool(const ByteSpan& file, IconImage& image)>;

// The entry's picture as the pane shows it; false when there is none or it
// does not decode.
bool PanePicture(const EntryPicture& picture, const ImageFileDecoder& decodeImageFile, IconImage& shown);

}  // namespace corvelle
