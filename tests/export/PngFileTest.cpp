// The PNG files of the images export, read back by libpng's own reader: every
// kind of picture the writer packs differently (a bit a pixel for black and
// white, a byte of grey, RGB, RGBA) gives back its pixels, whatever its width
// does to the last byte of a row.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "export/PngFile.h"

namespace corvelle {
namespace {

struct PngRow {
    const char* name;
    uint32_t width, height;
    Rgba (*pixel)(uint32_t x, uint32_t y);
    PngColours colours;
};

const Rgba kBlack{0, 0, 0, 255}, kWhite{255, 255, 255, 255};

class PngFiles : public testing::TestWithParam<PngRow> {};

TEST_P(PngFiles, GiveBackTheirPixels) {
    const PngRow& row = GetParam();
    IconImage image;
    image.width = row.width;
    image.height = row.height;
    for (uint32_t y = 0; y < row.height; ++y)
        for (uint32_t x = 0; x < row.width; ++x) image.pixels.push_back(row.pixel(x, y));
    EXPECT_EQ(ColoursOf(image), row.colours);
    std::string png;
    ASSERT_TRUE(EncodePng(image, png));

    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size())) << read.message;
    read.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(read));
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr)) << read.message;
    ASSERT_EQ(read.width, row.width);
    ASSERT_EQ(read.height, row.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const Rgba& want = image.pixels[i];
        const uint8_t* got = &pixels[i * 4];
        ASSERT_TRUE(got[0] == want.r && got[1] == want.g && got[2] == want.b && got[3] == want.a)
            << "pixel " << i % row.width << "," << i / row.width;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PngFiles,
    testing::Values(
        PngRow{"BlackAndWhiteRowsEndingInsideAByte", 13, 5,
               [](uint32_t x, uint32_t y) { return (x * 3 + y) % 5 < 2 ? kBlack : kWhite; },
               PngColours::kBlackAndWhite},
        PngRow{"AllWhite", 8, 2, [](uint32_t, uint32_t) { return kWhite; }, PngColours::kBlackAndWhite},
        PngRow{"Grey", 7, 3,
               [](uint32_t x, uint32_t y) {
                   const auto v = static_cast<uint8_t>(x * 40 + y);
                   return Rgba{v, v, v, 255};
               },
               PngColours::kGrey},
        PngRow{"Colours", 5, 4,
               [](uint32_t x, uint32_t y) {
                   return Rgba{static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 60), 7, 255};
               },
               PngColours::kRgb},
        PngRow{"Transparent", 3, 3,
               [](uint32_t x, uint32_t y) { return x == y ? Rgba{0, 0, 0, 0} : Rgba{10, 200, 30, 255}; },
               PngColours::kRgba}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
