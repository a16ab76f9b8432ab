// The sample application's launcher icon, drawn in integer steps so that the
// sample comes out the same byte for byte wherever it is built.
#include "tools/PalmBitmapWriter.h"

namespace corvelle::samples {
namespace {

enum class Part { Outside, Outline, Feature, Highlight, Face };

// The face on a grid of 88 x 88 steps: a 44-pixel rendition samples it every
// 2 steps, a 22-pixel one every 4, each at the pixel's centre.
Part PartAt(int x, int y) {
    auto within = [](int dx, int dy, int rx, int ry) {
        return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    };
    const int dx = x - 44, dy = y - 44;
    const int squared = dx * dx + dy * dy;
    if (squared > 42 * 42) return Part::Outside;
    if (squared > 37 * 37) return Part::Outline;
    if (within(x - 30, y - 34, 5, 7) || within(x - 58, y - 34, 5, 7)) return Part::Feature;  // eyes
    const int smileDx = x - 44, smileDy = y - 40;
    const int smile = smileDx * smileDx + smileDy * smileDy;
    if (y > 50 && smile >= 21 * 21 && smile <= 26 * 26) return Part::Feature;
    if (within(x - 28, y - 22, 6, 5)) return Part::Highlight;
    return Part::Face;
}

uint32_t Rgb565(uint32_t r, uint32_t g, uint32_t b) { return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3); }

// System palette indexes: white, the yellow FF CC 00, magenta as the
// transparent colour, black.
constexpr uint32_t kWhite = 0, kYellow = 121, kMagenta = 5, kBlack = 255;

BitmapPicture Draw(uint16_t side, uint8_t depth, uint16_t density) {
    BitmapPicture picture;
    picture.width = picture.height = side;
    picture.depth = depth;
    picture.density = density;
    const int step = 88 / side;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int gx = x * step + step / 2, gy = y * step + step / 2;
            const Part part = PartAt(gx, gy);
            uint32_t value;
            if (depth == 1) {
                value = part == Part::Outline || part == Part::Feature ? 1 : 0;
            } else if (depth == 8) {
                const uint32_t byPart[] = {kMagenta, kBlack, kBlack, kWhite, kYellow};
                value = byPart[static_cast<int>(part)];
            } else {
                // Yellow at the top, orange at the chin.
                const uint32_t shade = static_cast<uint32_t>(gy) * 68 / 88;
                const uint32_t byPart[] = {Rgb565(255, 0, 255), 0, 0, Rgb565(255, 255, 255),
                                           Rgb565(255, 221 - shade, 68 - shade)};
                value = byPart[static_cast<int>(part)];
            }
            picture.pixels.push_back(value);
        }
    }
    if (depth == 8) {
        picture.hasTransparency = true;
        picture.transparent = kMagenta;
        picture.scanLineCompressed = true;
    } else if (depth == 16) {
        picture.hasTransparency = true;
        picture.transparent = Rgb565(255, 0, 255);
    }
    return picture;
}

}  // namespace

std::string HelloIconFamily() { return BitmapFamily({Draw(22, 1, 72), Draw(22, 8, 72), Draw(44, 16, 144)}); }

}  // namespace corvelle::samples
