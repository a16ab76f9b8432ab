#include "export/PngFile.h"

namespace corvelle {

PngColours ColoursOf(const IconImage& image) {
    bool blackAndWhite = true, grey = true;
    for (const Rgba& pixel : image.pixels) {
        if (pixel.a != 255) return PngColours::kRgba;
        if (pixel.r != pixel.g || pixel.g != pixel.b) grey = false;
        if (pixel.r != 0 && pixel.r != 255) blackAndWhite = false;
    }
    if (!grey) return PngColours::kRgb;
    return blackAndWhite ? PngColours::kBlackAndWhite : PngColours::kGrey;
}

}  // namespace corvelle
