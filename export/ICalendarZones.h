// The time zones of calendar records in iCalendar (RFC 5545): each zone a
// fixed offset from UTC and, where it has daylight saving, two yearly changes
// on a weekday of a week of a month at an hour of the wall time before the
// change. The arithmetic on those rules, and one VTIMEZONE per zone used.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dump/records/CalendarRecord.h"
#include "standards/CivilDate.h"

namespace corvelle {

// A change that names a day every year has and an hour of the day: hour
// 0-23, weekday 0-6, week 0-4, month 1-12.
bool IsValidChange(const ZoneChange& change);
// The day of the month on which a valid change falls in `year`: the first to
// fourth such weekday of the month, or its last for week 4.
unsigned ChangeDay(unsigned year, const ZoneChange& change);
// Whether iCalendar can state the zone's offsets: within a day of UTC, with
// and without daylight saving.
bool HasWritableOffsets(const TimeZoneBlob& zone);

// The zone's offset from UTC, in minutes, at a wall time of a valid date; a
// zone with daylight saving has valid changes. As RFC 5545 reads wall times,
// one that the change to daylight saving skips takes the offset before the
// change, and one that the change back repeats is its first occurrence.
int OffsetAt(const TimeZoneBlob& zone, const CivilDate& date, unsigned hour, unsigned minute);
// A wall time of the zone in UTC.
CivilTime ToUtc(const TimeZoneBlob& zone, const CivilTime& wall);

// The zones a calendar's events are in, each with its TZID: the zone's name
// (or its offset, "UTC+01:00", for a zone without one), and "Name (2)" for a
// second zone of that name with other rules. A zone is known again by its
// stored bytes, so that its name is converted once, not once per event.
class ZoneTable {
public:
    using ToUtf8 = std::function<std::string(std::string_view)>;

    // The TZID parameter of the zone's times ("TZID=Berlin"), the zone kept
    // for a VTIMEZONE. `zone` (whose name must outlive the table) has valid
    // changes where it has daylight saving; `toUtf8` converts its name.
    const std::string& Use(const TimeZoneBlob& zone, const ToUtf8& toUtf8);
    bool Empty() const { return m_zones.empty(); }
    // One VTIMEZONE per zone, in the order they were first used.
    void AppendTimeZones(std::string& out) const;

private:
    struct Zone {
        TimeZoneBlob stored;  // its name the record's bytes
        std::string tzid;
        std::string parameter;
    };
    std::vector<Zone> m_zones;
    std::map<std::string, size_t> m_byBytes;  // the zone's name and rules as stored
    std::set<std::string> m_tzids;
    size_t m_last = 0;  // events of one zone often follow each other: asked first
};

}  // namespace corvelle
