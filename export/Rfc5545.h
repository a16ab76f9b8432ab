// iCalendar 2.0 values (RFC 5545): DATE, floating DATE-TIME, UTC DATE-TIME
// and DURATION in their basic forms. TEXT values and properties are content
// lines as vCard's are (ContentLine.h).
#pragma once

#include <string>
#include <string_view>

#include "export/CivilDate.h"

namespace corvelle {

// 20020405
std::string ICalDate(const CivilDate& date);
// 20020405T143000: a floating local time, for a device that kept no time zone.
std::string ICalLocalDateTime(const CivilDate& date, unsigned hour, unsigned minute, unsigned second = 0);
// 20020405T143000Z
std::string ICalUtcDateTime(const CivilTime& time);

enum class DurationUnit { kMinutes, kHours, kDays };
// A duration of `amount` units before (negative) or after the start: -PT15M,
// -PT2H, -P1D, PT5M.
std::string ICalOffset(long amount, DurationUnit unit);

}  // namespace corvelle
