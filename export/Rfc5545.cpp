#include "export/Rfc5545.h"

#include <cstdio>

namespace corvelle {

std::string ICalDate(const CivilDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", date.year % 10000, date.month % 100, date.day % 100);
    return text;
}

std::string ICalLocalDateTime(const CivilDate& date, unsigned hour, unsigned minute, unsigned second) {
    char text[16];
    std::snprintf(text, sizeof text, "T%02u%02u%02u", hour % 100, minute % 100, second % 100);
    return ICalDate(date) + text;
}

std::string ICalUtcDateTime(const CivilTime& time) {
    return ICalLocalDateTime(time.date, time.hour, time.minute, time.second) + "Z";
}

std::string ICalOffset(long amount, DurationUnit unit) {
    std::string text = amount < 0 ? "-P" : "P";
    const unsigned long size =
        amount < 0 ? 0ul - static_cast<unsigned long>(amount) : static_cast<unsigned long>(amount);
    if (unit != DurationUnit::kDays) text += 'T';
    text += std::to_string(size);
    text += unit == DurationUnit::kMinutes ? 'M' : unit == DurationUnit::kHours ? 'H' : 'D';
    return text;
}

}  // namespace corvelle
