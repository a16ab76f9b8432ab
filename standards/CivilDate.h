// Calendar arithmetic on proleptic Gregorian dates, our own so that nothing
// depends on the process's time zone or on the range of time_t.
#pragma once

#include <cstdint>

namespace corvelle {

struct CivilDate {
    unsigned year = 1904, month = 1, day = 1;
};

struct CivilTime {
    CivilDate date;
    unsigned hour = 0, minute = 0, second = 0;
};

bool IsLeapYear(unsigned year);
unsigned DaysInMonth(unsigned year, unsigned month);
// False for a month outside 1-12 or a day the month has not (a packed date
// can hold 2003-02-31 or month 0).
bool IsValidDate(const CivilDate& date);
// The day after a valid date.
CivilDate NextDay(const CivilDate& date);
// A Palm date: seconds since 1904-01-01 00:00:00, in no time zone.
CivilTime FromPalmSeconds(uint32_t seconds);

// Days since 1970-01-01 (negative before it), and back: what moving a time by
// a time zone's offset across midnight, a month or a year needs.
int64_t DayNumber(const CivilDate& date);
CivilDate FromDayNumber(int64_t days);
// 0 = Sunday .. 6 = Saturday.
unsigned Weekday(const CivilDate& date);

}  // namespace corvelle
