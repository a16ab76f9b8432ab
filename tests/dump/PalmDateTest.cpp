#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <ctime>

#include "dump/PalmDate.h"

namespace corvelle {
namespace {

struct DateCase {
    const char* name;
    uint32_t seconds;
    const char* text;
};

class PalmDateRendering : public ::testing::TestWithParam<DateCase> {};

TEST_P(PalmDateRendering, KnownDates) {
    EXPECT_EQ(PalmDateText(GetParam().seconds), GetParam().text);
}

const DateCase kDateCases[] = {
    {"OneSecond", 1, "Friday 01 January 1904 - 00 00 01"},
    {"OneDay", 86400, "Saturday 02 January 1904 - 00 00 00"},
    {"Largest", 4294967295u, "Monday 06 February 2040 - 06 28 15"},
    {"April2002", 0xB8D35E80u, "Friday 05 April 2002 - 14 00 32"},
    {"LeapDay1904", 59u * 86400 + 3599, "Monday 29 February 1904 - 00 59 59"},
    {"Epoch", 0, "Friday 01 January 1904 - 00 00 00"},
    {"LeapDay2000", 0xB4E0BC80u, "Tuesday 29 February 2000 - 00 00 00"},
    {"LastSecondOf1999", 0xB492F3FFu, "Friday 31 December 1999 - 23 59 59"},
};

INSTANTIATE_TEST_SUITE_P(Dates, PalmDateRendering, ::testing::ValuesIn(kDateCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The C library in the C locale is the reference for every other value: walk
// the whole range in uneven steps and compare with gmtime + strftime.
TEST(PalmDateRendering, MatchesStrftimeInTheCLocaleAcrossTheRange) {
    std::setlocale(LC_TIME, "C");
    const int64_t kPalmEpochInUnixTime = -2082844800;  // 1904-01-01 00:00:00 UTC
    for (uint64_t seconds = 0; seconds <= 0xFFFFFFFFu; seconds += 7777777 + seconds % 86399) {
        const time_t unixTime = static_cast<time_t>(kPalmEpochInUnixTime + static_cast<int64_t>(seconds));
        std::tm parts{};
        ASSERT_NE(gmtime_r(&unixTime, &parts), nullptr);
        char expected[80];
        std::strftime(expected, sizeof expected, "%A %d %B %Y - %H %M %S", &parts);
        SCOPED_TRACE(seconds);
        ASSERT_EQ(PalmDateText(static_cast<uint32_t>(seconds)), expected);
    }
}

}  // namespace
}  // namespace corvelle
