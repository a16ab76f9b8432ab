// iCalendar 2.0 values (RFC 5545): DATE, floating DATE-TIME, UTC DATE-TIME
// and DURATION in their basic forms. TEXT values and properties are content
// lines as vCard's are (ContentLine.h).
#pragma once

#include <string>
#include <string_view>

#include "standards/CivilDate.h"

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
// A duration of minutes in days, hours and minutes: -P1DT15H30M, PT9H, PT0M.
std::string ICalDuration(long minutes);

// A UTC-OFFSET: +0100, -0330, +0000 (RFC 5545 forbids -0000). The offset must
// lie within a day.
std::string ICalUtcOffset(int minutes);

// A parameter value (CN, TZID): quoted where it holds a colon, semicolon or
// comma. A parameter can hold neither a double quote nor a control
// character: those become an apostrophe and a space.
std::string ICalParamValue(std::string_view utf8);

// A CAL-ADDRESS for an e-mail address: mailto: and the address, with the
// bytes a URI does not allow percent-encoded.
std::string ICalMailto(std::string_view utf8Address);

}  // namespace corvelle
