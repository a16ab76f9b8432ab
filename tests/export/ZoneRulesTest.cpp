// The arithmetic under a calendar record's time zone: the day a yearly change falls on, the offset
// at a wall time on either side of each change (north, south, a negative adjustment), a wall time
// in UTC across midnight and the year, and the day numbers they stand on. The zones' VTIMEZONEs are
// read back by python3-icalendar in the export-calendar test.
#include <gtest/gtest.h>

#include "export/ICalendarZones.h"
#include "standards/Rfc5545.h"

namespace corvelle {
namespace {

TimeZoneBlob Zone(int offset, ZoneChange start, ZoneChange end, int adjust) {
    TimeZoneBlob zone;
    zone.offsetMinutes = static_cast<int16_t>(offset);
    zone.dstStart = start;
    zone.dstEnd = end;
    zone.dstAdjustMinutes = static_cast<int16_t>(adjust);
    return zone;
}
// hour, weekday (0 = Sunday), week (4 = the last), month
const TimeZoneBlob kBerlin = Zone(60, {2, 0, 4, 3}, {3, 0, 4, 10}, 60);
const TimeZoneBlob kSydney = Zone(600, {2, 0, 0, 10}, {3, 0, 0, 4}, 60);
const TimeZoneBlob kBackwards = Zone(-210, {1, 6, 1, 3}, {2, 0, 0, 11}, -30);
const TimeZoneBlob kKolkata = Zone(330, {}, {}, 0);

struct ChangeDayRow {
    const char* name;
    unsigned year;
    ZoneChange change;
    unsigned day;
};

class ChangeDays : public testing::TestWithParam<ChangeDayRow> {};

TEST_P(ChangeDays, FollowTheWeekAndWeekday) {
    ASSERT_TRUE(IsValidChange(GetParam().change));
    EXPECT_EQ(ChangeDay(GetParam().year, GetParam().change), GetParam().day);
}

INSTANTIATE_TEST_SUITE_P(Rows, ChangeDays,
                         testing::Values(ChangeDayRow{"LastSundayOfMarch", 2005, {2, 0, 4, 3}, 27},
                                         ChangeDayRow{"LastSundayOfOctober", 2005, {3, 0, 4, 10}, 30},
                                         ChangeDayRow{"LastIsTheMonthsLastDay", 2004, {0, 0, 4, 2}, 29},
                                         ChangeDayRow{"FirstIsTheFirstOfTheMonth", 2005, {0, 2, 0, 3}, 1},
                                         ChangeDayRow{"FirstSundayOfOctober", 2004, {2, 0, 0, 10}, 3},
                                         ChangeDayRow{"FourthSaturday", 2005, {0, 6, 3, 1}, 22},
                                         ChangeDayRow{"FirstYearAPalmHolds", 1904, {2, 0, 4, 3}, 27}),
                         [](const auto& info) { return info.param.name; });

TEST(ZoneChanges, InvalidOnesAreRefused) {
    for (const ZoneChange& change : {ZoneChange{24, 0, 0, 1}, ZoneChange{0, 7, 0, 1}, ZoneChange{0, 0, 5, 1},
                                     ZoneChange{0, 0, 0, 0}, ZoneChange{0, 0, 0, 13}})
        EXPECT_FALSE(IsValidChange(change)) << unsigned{change.hour} << " " << unsigned{change.month};
}

struct ZoneOffsetRow {
    const char* name;
    TimeZoneBlob zone;
    CivilDate date;
    unsigned hour, minute;
    int offset;
};

class ZoneOffsets : public testing::TestWithParam<ZoneOffsetRow> {};

TEST_P(ZoneOffsets, AtAWallTime) {
    const ZoneOffsetRow& row = GetParam();
    EXPECT_EQ(OffsetAt(row.zone, row.date, row.hour, row.minute), row.offset);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ZoneOffsets,
    testing::Values(ZoneOffsetRow{"NorthWinter", kBerlin, {2005, 1, 1}, 12, 0, 60},
                    ZoneOffsetRow{"NorthBeforeTheChange", kBerlin, {2005, 3, 27}, 1, 59, 60},
                    ZoneOffsetRow{"NorthSkippedHourIsStandard", kBerlin, {2005, 3, 27}, 2, 30, 60},
                    ZoneOffsetRow{"NorthAfterTheSkippedHour", kBerlin, {2005, 3, 27}, 3, 0, 120},
                    ZoneOffsetRow{"NorthSummer", kBerlin, {2005, 7, 1}, 12, 0, 120},
                    ZoneOffsetRow{"NorthRepeatedHourIsItsFirst", kBerlin, {2005, 10, 30}, 2, 30, 120},
                    ZoneOffsetRow{"NorthAfterTheChangeBack", kBerlin, {2005, 10, 30}, 3, 0, 60},
                    ZoneOffsetRow{"SouthSummerAtNewYear", kSydney, {2005, 1, 15}, 12, 0, 660},
                    ZoneOffsetRow{"SouthBeforeTheChangeBack", kSydney, {2005, 4, 3}, 2, 59, 660},
                    ZoneOffsetRow{"SouthWinter", kSydney, {2005, 4, 3}, 3, 0, 600},
                    ZoneOffsetRow{"SouthSkippedHourIsStandard", kSydney, {2005, 10, 2}, 2, 30, 600},
                    ZoneOffsetRow{"SouthSpring", kSydney, {2005, 10, 2}, 3, 0, 660},
                    ZoneOffsetRow{"NegativeRepeatedHalfHourIsStandard", kBackwards, {2005, 3, 12}, 0, 45, -210},
                    ZoneOffsetRow{"NegativeAfterTheChange", kBackwards, {2005, 3, 12}, 1, 0, -240},
                    ZoneOffsetRow{"NegativeSkippedHalfHourIsTheAdjusted", kBackwards, {2005, 11, 6}, 2, 15, -240},
                    ZoneOffsetRow{"NegativeAfterTheSkip", kBackwards, {2005, 11, 6}, 2, 30, -210},
                    ZoneOffsetRow{"WithoutDaylightSaving", kKolkata, {2005, 7, 1}, 12, 0, 330}),
    [](const auto& info) { return info.param.name; });

struct UtcRow {
    const char* name;
    TimeZoneBlob zone;
    CivilTime wall;
    const char* utc;
};

class WallTimes : public testing::TestWithParam<UtcRow> {};

TEST_P(WallTimes, InUtc) { EXPECT_EQ(ICalUtcDateTime(ToUtc(GetParam().zone, GetParam().wall)), GetParam().utc); }

INSTANTIATE_TEST_SUITE_P(
    Rows, WallTimes,
    testing::Values(UtcRow{"EndOfADaylightDay", kBerlin, {{2005, 4, 2}, 23, 59, 59}, "20050402T215959Z"},
                    UtcRow{"BackAcrossTheYear", kSydney, {{2006, 1, 1}, 0, 30, 0}, "20051231T133000Z"},
                    UtcRow{"OnAcrossTheYear", kBackwards, {{2005, 12, 31}, 22, 0, 0}, "20060101T013000Z"},
                    UtcRow{"OnAcrossTheLeapDay", kBackwards, {{2004, 2, 28}, 23, 0, 0}, "20040229T023000Z"},
                    UtcRow{"HalfHours", kKolkata, {{2005, 3, 1}, 3, 0, 0}, "20050228T213000Z"}),
    [](const auto& info) { return info.param.name; });

TEST(DayNumbers, CountFrom1970AndBack) {
    EXPECT_EQ(DayNumber(CivilDate{1970, 1, 1}), 0);
    EXPECT_EQ(DayNumber(CivilDate{1904, 1, 1}), -24107);
    EXPECT_EQ(Weekday(CivilDate{1904, 1, 1}), 5u);  // a Friday
    EXPECT_EQ(Weekday(CivilDate{2000, 2, 29}), 2u);
    EXPECT_EQ(Weekday(CivilDate{2005, 3, 27}), 0u);
    for (const CivilDate& date : {CivilDate{1900, 3, 1}, CivilDate{1904, 2, 29}, CivilDate{1969, 12, 31},
                                  CivilDate{2000, 3, 1}, CivilDate{2100, 2, 28}, CivilDate{2031, 12, 31}}) {
        const CivilDate back = FromDayNumber(DayNumber(date));
        EXPECT_EQ(ICalDate(back), ICalDate(date));
        EXPECT_EQ(DayNumber(NextDay(date)), DayNumber(date) + 1) << ICalDate(date);
    }
}

}  // namespace
}  // namespace corvelle
