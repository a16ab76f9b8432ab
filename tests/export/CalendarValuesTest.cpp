// The calendar arithmetic and iCalendar values the writers build on. Alarms in
// each unit are read back as durations by the export-ics test.
#include <gtest/gtest.h>

#include "standards/CivilDate.h"
#include "standards/Rfc5545.h"

namespace corvelle {
namespace {

struct PalmSecondsRow {
    const char* name;
    uint32_t seconds;
    const char* utc;
};

class PalmSeconds : public testing::TestWithParam<PalmSecondsRow> {};

TEST_P(PalmSeconds, GiveTheUtcStamp) {
    EXPECT_EQ(ICalUtcDateTime(FromPalmSeconds(GetParam().seconds)), GetParam().utc);
}

INSTANTIATE_TEST_SUITE_P(Rows, PalmSeconds,
                         testing::Values(PalmSecondsRow{"Epoch", 0, "19040101T000000Z"},
                                         PalmSecondsRow{"FirstLeapDay", 59 * 86400, "19040229T000000Z"},
                                         PalmSecondsRow{"SampleCreation", 3100860032u, "20020405T140032Z"},
                                         PalmSecondsRow{"Year2000", 3029529600u, "20000101T000000Z"},
                                         PalmSecondsRow{"Last", 0xFFFFFFFFu, "20400206T062815Z"}),
                         [](const auto& info) { return info.param.name; });

struct DateRow {
    const char* name;
    CivilDate date;
    bool valid;
    const char* next;  // with valid
};

class Dates : public testing::TestWithParam<DateRow> {};

TEST_P(Dates, AreCheckedAndFollowed) {
    EXPECT_EQ(IsValidDate(GetParam().date), GetParam().valid);
    if (GetParam().valid) {
        EXPECT_EQ(ICalDate(NextDay(GetParam().date)), GetParam().next);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Dates,
                         testing::Values(DateRow{"MidMonth", {2002, 4, 5}, true, "20020406"},
                                         DateRow{"EndOfApril", {2002, 4, 30}, true, "20020501"},
                                         DateRow{"EndOfYear", {2002, 12, 31}, true, "20030101"},
                                         DateRow{"LeapDay", {2000, 2, 29}, true, "20000301"},
                                         DateRow{"FebruaryOfLeapYear", {2004, 2, 28}, true, "20040229"},
                                         DateRow{"NoLeapDay", {2003, 2, 29}, false, ""},
                                         DateRow{"NoLeapDayIn2100", {2100, 2, 29}, false, ""},
                                         DateRow{"April31", {2002, 4, 31}, false, ""},
                                         DateRow{"MonthZero", {2002, 0, 5}, false, ""},
                                         DateRow{"Month13", {2002, 13, 5}, false, ""},
                                         DateRow{"DayZero", {2002, 5, 0}, false, ""}),
                         [](const auto& info) { return info.param.name; });

struct OffsetRow {
    const char* name;
    long amount;
    DurationUnit unit;
    const char* text;
};

class Offsets : public testing::TestWithParam<OffsetRow> {};

TEST_P(Offsets, AreDurations) { EXPECT_EQ(ICalOffset(GetParam().amount, GetParam().unit), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Rows, Offsets,
                         testing::Values(OffsetRow{"AtTheStart", 0, DurationUnit::kMinutes, "PT0M"},
                                         OffsetRow{"After", 128, DurationUnit::kMinutes, "PT128M"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
