#include "dump/PalmDate.h"

#include <cstdio>

namespace corvelle {
namespace {

const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

struct CivilDate {
    int64_t year;
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
};

// Days since 1970-01-01 to a proleptic Gregorian date (the well-known
// era-based algorithm: exact for every day count we can be given).
CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
    CivilDate date;
    date.day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    date.month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    date.year = static_cast<int64_t>(yearOfEra) + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

}  // namespace

std::string PalmDateText(uint32_t secondsSince1904) {
    // 1904-01-01 lies 24107 days before 1970-01-01 and was a Friday.
    constexpr int64_t kDays1904To1970 = 24107;
    constexpr unsigned kWeekday1904 = 5;

    const uint32_t days = secondsSince1904 / 86400;
    const uint32_t secondOfDay = secondsSince1904 % 86400;
    const CivilDate date = CivilFromDays(static_cast<int64_t>(days) - kDays1904To1970);

    char text[64];
    std::snprintf(text, sizeof text, "%s %02u %s %04lld - %02u %02u %02u", kWeekdays[(days + kWeekday1904) % 7],
                  date.day, kMonths[date.month - 1], static_cast<long long>(date.year), secondOfDay / 3600,
                  secondOfDay / 60 % 60, secondOfDay % 60);
    return text;
}

}  // namespace corvelle
