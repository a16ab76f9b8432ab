#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/TabStops.h"

namespace corvelle {
namespace {

struct TabCase {
    const char* name;
    int32_t height;
    TabStops expected;
};

const std::vector<TabCase> kTabCases = {
    {"NoFontSize", 0, {400, 3200, 5500, 6500}},
    {"JustBelowTenPoints", 199, {400, 3200, 5500, 6500}},
    {"NegativeHeight", -200, {400, 3200, 5500, 6500}},
    {"TenPoints", 200, {600, 5000, 8600, 9000}},
    {"TwelvePoints", 240, {720, 6000, 10320, 10800}},
    {"HugeHeightClamps", INT32_MAX / 3, {INT32_MAX / 3 * 3, INT32_MAX, INT32_MAX, INT32_MAX}},
};

class TabStopsTest : public testing::TestWithParam<TabCase> {};

TEST_P(TabStopsTest, FollowTheFontHeight) {
    EXPECT_EQ(TabStopsForFontHeight(GetParam().height), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Heights, TabStopsTest, testing::ValuesIn(kTabCases),
                         [](const testing::TestParamInfo<TabCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle
