#include "about/LinkStyle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvelle {
namespace {

struct StyleChangeRow {
    const char* name;
    uint32_t start;
    uint32_t remove;
    uint32_t add;
    bool accepted;
    uint32_t expected;
};

const std::vector<StyleChangeRow> kStyleChanges = {
    {"AddOpenOnPressToDefault", 0x15, 0, LS_OPENONPRESS, true, 0x1D},
    {"RemoveUnderline", 0x15, LS_UNDERLINE, 0, true, 0x14},
    {"RemoveAndAddDifferentBits", 0x15, LS_AUTOSIZE, LS_HOVERCOLOR, true, 0x13},
    {"RemoveBitNotSet", 0x15, LS_NOACTIVECOLOR, 0, true, 0x15},
    {"AddBitAlreadySet", 0x15, 0, LS_UNDERLINE, true, 0x15},
    {"NothingAtAll", 0x15, 0, 0, true, 0x15},
    {"RefuseSameBitBothWays", 0x15, LS_HOVERCOLOR, LS_HOVERCOLOR, false, 0x15},
    {"RefuseOverlapAmongOthers", 0x1D, LS_UNDERLINE | LS_AUTOSIZE, LS_AUTOSIZE | 0x40, false, 0x1D},
    {"RefuseOverlapOnSetBit", 0x7F, 0x7F, 0x01, false, 0x7F},
};

class StyleChangeTest : public testing::TestWithParam<StyleChangeRow> {};

TEST_P(StyleChangeTest, ChangesOrRefuses) {
    const StyleChangeRow& row = GetParam();
    uint32_t style = row.start;
    EXPECT_EQ(ChangeStyleBits(style, row.remove, row.add), row.accepted);
    EXPECT_EQ(style, row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StyleChangeTest, testing::ValuesIn(kStyleChanges),
                         [](const testing::TestParamInfo<StyleChangeRow>& info) {
                             return std::string(info.param.name);
                         });

// Which of the four class-wide colours a link is drawn in.
enum class Shown { Link, Active, Visited, Hover };

struct ColorRow {
    bool hover;
    bool active;
    bool visited;
    uint32_t style;
    Shown shown;
};

constexpr uint32_t H = LS_HOVERCOLOR;
constexpr uint32_t N = LS_NOACTIVECOLOR;
constexpr uint32_t U = LS_UNDERLINE;  // plays no part in the colour

// Every combination of the three state flags with the colour-related style
// bits, written out by hand.
const std::vector<ColorRow> kColors = {
    // hover active visited style
    {false, false, false, 0, Shown::Link},
    {false, false, false, H, Shown::Link},
    {false, false, false, N, Shown::Link},
    {false, false, false, H | N | U, Shown::Link},
    {false, false, true, 0, Shown::Visited},
    {false, false, true, H, Shown::Visited},
    {false, false, true, N, Shown::Visited},
    {false, false, true, H | N | U, Shown::Visited},
    {false, true, false, 0, Shown::Active},
    {false, true, false, H, Shown::Active},
    {false, true, false, N, Shown::Link},
    {false, true, false, H | N | U, Shown::Link},
    {false, true, true, 0, Shown::Active},
    {false, true, true, H, Shown::Active},
    {false, true, true, N, Shown::Visited},
    {false, true, true, H | N | U, Shown::Visited},
    {true, false, false, 0, Shown::Link},
    {true, false, false, H, Shown::Hover},
    {true, false, false, N, Shown::Link},
    {true, false, false, H | N | U, Shown::Hover},
    {true, false, true, 0, Shown::Visited},
    {true, false, true, H, Shown::Hover},
    {true, false, true, N, Shown::Visited},
    {true, false, true, H | N | U, Shown::Hover},
    {true, true, false, 0, Shown::Active},
    {true, true, false, H, Shown::Hover},
    {true, true, false, N, Shown::Link},
    {true, true, false, H | N | U, Shown::Hover},
    {true, true, true, 0, Shown::Active},
    {true, true, true, H, Shown::Hover},
    {true, true, true, N, Shown::Visited},
    {true, true, true, H | N | U, Shown::Hover},
};

std::string ColorRowName(const testing::TestParamInfo<ColorRow>& info) {
    const ColorRow& row = info.param;
    std::string name;
    name += row.hover ? "Hover" : "";
    name += row.active ? "Active" : "";
    name += row.visited ? "Visited" : "";
    if (name.empty()) name = "Plain";
    name += (row.style & H) ? "WithHoverColor" : "";
    name += (row.style & N) ? "WithNoActiveColor" : "";
    name += (row.style & U) ? "Underlined" : "";
    return name;
}

class LinkColorTest : public testing::TestWithParam<ColorRow> {};

TEST_P(LinkColorTest, PicksTheColourOfTheState) {
    const ColorRow& row = GetParam();
    LinkState state;
    state.hover = row.hover;
    state.active = row.active;
    state.visited = row.visited;
    const LinkPalette palette;
    const ColorValue expected[] = {MakeColor(0, 0, 255), MakeColor(0, 128, 128),
                                   MakeColor(128, 0, 128), MakeColor(255, 0, 0)};
    EXPECT_EQ(ChooseLinkColor(state, row.style, palette),
              expected[static_cast<int>(row.shown)]);
}

INSTANTIATE_TEST_SUITE_P(AllStates, LinkColorTest, testing::ValuesIn(kColors), ColorRowName);

}  // namespace
}  // namespace corvelle
