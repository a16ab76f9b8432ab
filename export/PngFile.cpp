#include "export/PngFile.h"

namespace corvelle {

bool IsOpaque(const IconImage& image) {
    for (const Rgba& pixel : image.pixels)
        if (pixel.a != 255) return false;
    return true;
}

}  // namespace corvelle
