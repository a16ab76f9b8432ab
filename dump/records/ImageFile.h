// Image files stored whole in a record (Mobipocket's images, later a
// contact's photo): which kind by the file's own signature, and its size in
// pixels as its header says.
#pragma once

#include <cstdint>

#include "dump/ByteSpan.h"

namespace corvelle {

enum class ImageFileKind { kNone, kJpeg, kGif, kPng, kBmp };

struct ImageFileInfo {
    ImageFileKind kind = ImageFileKind::kNone;
    // 0 x 0 when the header that holds them is cut or missing.
    uint32_t width = 0;
    uint32_t height = 0;
};

ImageFileInfo IdentifyImageFile(const ByteSpan& bytes);

// "JPEG", "GIF", "PNG", "BMP"; "" for kNone.
const char* ImageFileKindName(ImageFileKind kind);

}  // namespace corvelle
