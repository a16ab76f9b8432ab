#include "about/LinkFit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvelle {
namespace {

constexpr uint32_t kLeft = 0x0000;    // SS_LEFT
constexpr uint32_t kCenter = 0x0001;  // SS_CENTER
constexpr uint32_t kRight = 0x0002;   // SS_RIGHT
constexpr uint32_t kBitmap = 0x000E;  // SS_BITMAP
constexpr uint32_t kCenterImage = 0x0200;

struct FitRow {
    const char* name;
    PixelRect window;
    PixelSize client;
    PixelSize text;
    uint32_t style;
    WindowPlacement expected;
};

const std::vector<FitRow> kFits = {
    // A left-aligned static keeps its top-left corner and its 2-pixel border.
    {"LeftAlignedWithBorder", {10, 20, 110, 50}, {96, 26}, {40, 13}, kLeft, {10, 20, 44, 17}},
    {"LeftAlignedGrowsToLongText", {10, 20, 30, 30}, {20, 10}, {75, 16}, kLeft, {10, 20, 75, 16}},
    // Centred: the horizontal centre (60) stays; an odd difference leaves one extra pixel.
    {"CentredEvenDifference", {10, 20, 110, 50}, {100, 30}, {40, 13}, kCenter, {40, 20, 40, 13}},
    {"CentredOddDifference", {10, 20, 110, 50}, {100, 30}, {41, 13}, kCenter, {39, 20, 42, 13}},
    // (40 - 61) / 2 truncates toward zero to -10, not down to -11.
    {"CentredTextWiderThanWindow", {10, 0, 50, 20}, {40, 20}, {61, 13}, kCenter, {0, 0, 60, 13}},
    {"RightAlignedKeepsRightEdge", {10, 20, 110, 50}, {96, 26}, {40, 13}, kRight, {70, 20, 44, 17}},
    // SS_BITMAP has the SS_RIGHT bit, so an image static keeps its right edge.
    {"BitmapTakesRightBranch", {150, 76, 206, 103}, {50, 21}, {180, 13}, kBitmap, {26, 76, 186, 19}},
    {"CentreImageEvenDifference", {0, 0, 100, 31}, {100, 31}, {40, 13}, kCenterImage, {0, 9, 40, 13}},
    {"CentreImageOddDifference", {0, 0, 100, 30}, {100, 30}, {40, 13}, kCenterImage, {0, 8, 40, 14}},
    {"CentreImageTextTallerThanWindow", {0, 10, 40, 20}, {40, 10}, {40, 15}, kCenterImage, {0, 8, 40, 14}},
    {"CentredBothWays", {0, 0, 100, 30}, {100, 30}, {40, 13}, kCenter | kCenterImage, {30, 8, 40, 14}},
    {"EmptyText", {5, 5, 45, 25}, {36, 16}, {0, 0}, kLeft, {5, 5, 4, 4}},
};

class LinkFitTest : public testing::TestWithParam<FitRow> {};

TEST_P(LinkFitTest, PlacesWindowAroundText) {
    const FitRow& row = GetParam();
    LinkFitInput input;
    input.window = row.window;
    input.client = row.client;
    input.text = row.text;
    input.staticStyle = row.style;
    const WindowPlacement placement = FitWindowToText(input);
    EXPECT_EQ(placement.x, row.expected.x);
    EXPECT_EQ(placement.y, row.expected.y);
    EXPECT_EQ(placement.width, row.expected.width);
    EXPECT_EQ(placement.height, row.expected.height);
}

INSTANTIATE_TEST_SUITE_P(Rows, LinkFitTest, testing::ValuesIn(kFits),
                         [](const testing::TestParamInfo<FitRow>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle
