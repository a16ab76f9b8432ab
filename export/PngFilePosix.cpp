// The POSIX half of EncodePng: libpng, writing into memory.
#include <png.h>

#include <csetjmp>
#include <vector>

#include "export/PngFile.h"

namespace corvelle {
namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// The write structures, freed however the encoding ends.
struct PngWriter {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
    PngWriter() = default;
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;
};

// The rows are made before libpng is called: its errors return by longjmp,
// which must not cross an object with a destructor made after setjmp.
bool Write(PngWriter& writer, const IconImage& image, const std::vector<png_bytep>& rows, PngColours colours,
           std::string& png) {
    if (setjmp(png_jmpbuf(writer.png))) return false;
    png_set_write_fn(writer.png, &png, AppendToString, NoFlush);
    static const int kTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGB,
                                 PNG_COLOR_TYPE_RGB_ALPHA};
    png_set_IHDR(writer.png, writer.info, image.width, image.height, colours == PngColours::kBlackAndWhite ? 1 : 8,
                 kTypes[static_cast<int>(colours)], PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer.png, writer.info);
    png_write_image(writer.png, const_cast<png_bytepp>(rows.data()));
    png_write_end(writer.png, writer.info);
    return true;
}

}  // namespace

bool EncodePng(const IconImage& image, std::string& png) {
    png.clear();
    if (image.width == 0 || image.height == 0 || image.pixels.size() != size_t{image.width} * image.height)
        return false;
    const PngColours colours = ColoursOf(image);
    // The rows as the file holds them: a bit a pixel (1 white, most
    // significant first, each row whole bytes), a byte of grey, or bytes of
    // RGB or RGBA.
    static const size_t kChannels[] = {0, 1, 3, 4};
    const size_t channels = kChannels[static_cast<int>(colours)];
    const size_t stride = channels == 0 ? (size_t{image.width} + 7) / 8 : size_t{image.width} * channels;
    std::vector<png_byte> bytes(stride * image.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const Rgba& pixel = image.pixels[i];
        if (channels == 0) {
            const size_t y = i / image.width, x = i % image.width;
            if (pixel.r != 0) bytes[y * stride + x / 8] |= static_cast<png_byte>(0x80 >> (x % 8));
            continue;
        }
        png_byte* out = &bytes[i * channels];
        const png_byte values[] = {pixel.r, pixel.g, pixel.b, pixel.a};
        for (size_t c = 0; c < channels; ++c) out[c] = values[c];
    }
    std::vector<png_bytep> rows(image.height);
    for (uint32_t y = 0; y < image.height; ++y) rows[y] = &bytes[size_t{y} * stride];
    PngWriter writer;
    if (writer.png == nullptr || writer.info == nullptr || !Write(writer, image, rows, colours, png)) {
        png.clear();
        return false;
    }
    return true;
}

}  // namespace corvelle
