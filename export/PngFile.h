// A picture as a PNG file, made by a well-kept library of the platform:
// Debian's libpng natively (opaque pictures as RGB, others as RGBA), Windows'
// imaging component (WIC) in the Windows modules (as RGBA).
#pragma once

#include <string>

#include "dump/PalmBitmap.h"

namespace corvelle {

// False, with `png` empty, when the picture is empty or the library fails.
bool EncodePng(const IconImage& image, std::string& png);

// Whether every pixel is opaque: then the file needs no alpha channel.
bool IsOpaque(const IconImage& image);

}  // namespace corvelle
