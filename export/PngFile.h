// A picture as a PNG file, made by a well-kept library of the platform:
// Debian's libpng natively (in the fewest channels and bits that hold the
// picture: a Note Pad drawing is black and white), Windows' imaging component
// (WIC) in the Windows modules (as RGBA).
#pragma once

#include <string>

#include "dump/PalmBitmap.h"

namespace corvelle {

// False, with `png` empty, when the picture is empty or the library fails.
bool EncodePng(const IconImage& image, std::string& png);

// What the picture's pixels need: opaque black and white only, opaque greys,
// opaque colours, or an alpha channel too.
enum class PngColours { kBlackAndWhite, kGrey, kRgb, kRgba };
PngColours ColoursOf(const IconImage& image);

}  // namespace corvelle
