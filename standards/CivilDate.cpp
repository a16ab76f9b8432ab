#include "standards/CivilDate.h"

namespace corvelle {

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const CivilDate& date) { return date.day >= 1 && date.day <= DaysInMonth(date.year, date.month); }

CivilDate NextDay(const CivilDate& date) {
    CivilDate next = date;
    if (++next.day > DaysInMonth(next.year, next.month)) {
        next.day = 1;
        if (++next.month > 12) {
            next.month = 1;
            ++next.year;
        }
    }
    return next;
}

CivilTime FromPalmSeconds(uint32_t seconds) {
    CivilTime time;
    uint32_t days = seconds / 86400;
    uint32_t rest = seconds % 86400;
    time.hour = rest / 3600;
    time.minute = rest % 3600 / 60;
    time.second = rest % 60;
    // At most 49711 days: walking whole years and months is cheap.
    while (days >= (IsLeapYear(time.date.year) ? 366u : 365u)) days -= IsLeapYear(time.date.year++) ? 366 : 365;
    while (days >= DaysInMonth(time.date.year, time.date.month)) days -= DaysInMonth(time.date.year, time.date.month++);
    time.date.day = days + 1;
    return time;
}

// The proleptic Gregorian calendar counted in 400-year eras of 146097 days,
// each starting on a March 1st, so that the leap day ends a year.
int64_t DayNumber(const CivilDate& date) {
    const int64_t year = static_cast<int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t month = date.month;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + date.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate FromDayNumber(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = static_cast<unsigned>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

unsigned Weekday(const CivilDate& date) {
    const int64_t weekday = (DayNumber(date) + 4) % 7;  // 1970-01-01 was a Thursday
    return static_cast<unsigned>(weekday < 0 ? weekday + 7 : weekday);
}

}  // namespace corvelle
