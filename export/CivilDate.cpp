#include "export/CivilDate.h"

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

}  // namespace corvelle
