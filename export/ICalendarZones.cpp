#include "export/ICalendarZones.h"

#include <cstdio>

#include "standards/ContentLine.h"
#include "standards/Rfc5545.h"

namespace corvelle {
namespace {

constexpr int kMinutesPerDay = 24 * 60;
// The first onset of every zone's rules: the first year a Palm date can hold,
// so that no appointment lies before its zone's rules begin.
constexpr unsigned kRulesSince = 1904;

// "SU" for Sunday.
const char* const kIcalWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// Minutes since the start of the year, for comparing a wall time with a change.
long MinuteOfYear(const CivilDate& date, unsigned hour, unsigned minute) {
    const long day = static_cast<long>(DayNumber(date) - DayNumber(CivilDate{date.year, 1, 1}));
    return day * kMinutesPerDay + static_cast<long>(hour * 60 + minute);
}

long ChangeMinute(unsigned year, const ZoneChange& change) {
    return MinuteOfYear(CivilDate{year, change.month, ChangeDay(year, change)}, change.hour, 0);
}

bool SameZone(const TimeZoneBlob& a, const TimeZoneBlob& b) {
    if (a.name != b.name || a.offsetMinutes != b.offsetMinutes || a.dstAdjustMinutes != b.dstAdjustMinutes)
        return false;
    return !a.HasDaylightSaving() || (a.dstStart == b.dstStart && a.dstEnd == b.dstEnd);
}

// The bytes that tell zones apart: the name, the offsets and, with daylight
// saving, the changes.
std::string ZoneKey(const TimeZoneBlob& zone) {
    std::string key(zone.name);
    key.push_back('\0');
    for (int value : {int{zone.offsetMinutes}, int{zone.dstAdjustMinutes}}) key += std::to_string(value) + ',';
    if (zone.HasDaylightSaving())
        for (const ZoneChange* change : {&zone.dstStart, &zone.dstEnd})
            key += {static_cast<char>(change->hour), static_cast<char>(change->weekday),
                    static_cast<char>(change->week), static_cast<char>(change->month)};
    return key;
}

// "UTC+01:00", the TZID of a zone without a name.
std::string OffsetName(int minutes) {
    char text[16];
    const unsigned size = static_cast<unsigned>(minutes < 0 ? -minutes : minutes);
    std::snprintf(text, sizeof text, "UTC%c%02u:%02u", minutes < 0 ? '-' : '+', size / 60 % 100, size % 60);
    return text;
}

// STANDARD or DAYLIGHT: from its first onset, yearly by the change's rule
// where there is one.
void AppendObservance(const char* kind, const ZoneChange* change, int from, int to, std::string& out) {
    out += "BEGIN:";
    out += kind;
    out += "\r\n";
    if (change == nullptr) {
        AppendProperty("DTSTART", "", ICalLocalDateTime(CivilDate{kRulesSince, 1, 1}, 0, 0), out);
    } else {
        const CivilDate onset{kRulesSince, change->month, ChangeDay(kRulesSince, *change)};
        AppendProperty("DTSTART", "", ICalLocalDateTime(onset, change->hour, 0), out);
        const std::string week = change->week == 4 ? "-1" : std::to_string(change->week + 1);
        AppendProperty("RRULE", "",
                       "FREQ=YEARLY;BYMONTH=" + std::to_string(change->month) + ";BYDAY=" + week +
                           kIcalWeekdays[change->weekday],
                       out);
    }
    AppendProperty("TZOFFSETFROM", "", ICalUtcOffset(from), out);
    AppendProperty("TZOFFSETTO", "", ICalUtcOffset(to), out);
    out += "END:";
    out += kind;
    out += "\r\n";
}

}  // namespace

bool IsValidChange(const ZoneChange& change) {
    return change.hour < 24 && change.weekday < 7 && change.week <= 4 && change.month >= 1 && change.month <= 12;
}

unsigned ChangeDay(unsigned year, const ZoneChange& change) {
    const unsigned first = (change.weekday + 7 - Weekday(CivilDate{year, change.month, 1})) % 7 + 1;
    if (change.week < 4) return first + 7 * change.week;
    const unsigned days = DaysInMonth(year, change.month);
    return first + 7 * ((days - first) / 7);
}

bool HasWritableOffsets(const TimeZoneBlob& zone) {
    const int standard = zone.offsetMinutes, daylight = zone.offsetMinutes + zone.dstAdjustMinutes;
    return standard > -kMinutesPerDay && standard < kMinutesPerDay && daylight > -kMinutesPerDay &&
           daylight < kMinutesPerDay;
}

int OffsetAt(const TimeZoneBlob& zone, const CivilDate& date, unsigned hour, unsigned minute) {
    if (!zone.HasDaylightSaving()) return zone.offsetMinutes;
    const int adjust = zone.dstAdjustMinutes;
    const long wall = MinuteOfYear(date, hour, minute);
    // Daylight saving begins where the wall time after the change starts, and
    // ends where the wall time before the change back ends (for the usual
    // positive adjustment: a skipped hour is standard, a repeated one daylight).
    const long begins = ChangeMinute(date.year, zone.dstStart) + (adjust > 0 ? adjust : 0);
    const long ends = ChangeMinute(date.year, zone.dstEnd) + (adjust < 0 ? -adjust : 0);
    const bool daylight = begins < ends ? wall >= begins && wall < ends : wall >= begins || wall < ends;
    return zone.offsetMinutes + (daylight ? adjust : 0);
}

CivilTime ToUtc(const TimeZoneBlob& zone, const CivilTime& wall) {
    const int64_t minutes = DayNumber(wall.date) * kMinutesPerDay + wall.hour * 60 + wall.minute -
                            OffsetAt(zone, wall.date, wall.hour, wall.minute);
    const int64_t day = minutes >= 0 ? minutes / kMinutesPerDay : (minutes - (kMinutesPerDay - 1)) / kMinutesPerDay;
    const int64_t inDay = minutes - day * kMinutesPerDay;
    CivilTime utc;
    utc.date = FromDayNumber(day);
    utc.hour = static_cast<unsigned>(inDay / 60);
    utc.minute = static_cast<unsigned>(inDay % 60);
    utc.second = wall.second;
    return utc;
}

const std::string& ZoneTable::Use(const TimeZoneBlob& zone, const ToUtf8& toUtf8) {
    if (m_last < m_zones.size() && SameZone(m_zones[m_last].stored, zone)) return m_zones[m_last].parameter;
    const std::string key = ZoneKey(zone);
    const auto known = m_byBytes.find(key);
    if (known != m_byBytes.end()) {
        m_last = known->second;
        return m_zones[m_last].parameter;
    }
    // The TZID stands both as a TEXT value and as a parameter, which can hold
    // no double quote nor control character: those are replaced, so that the
    // two read the same.
    std::string base = zone.name.empty() ? OffsetName(zone.offsetMinutes) : toUtf8(zone.name);
    for (char& c : base) {
        if (c == '"') c = '\'';
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    std::string tzid = base;
    for (unsigned second = 2; m_tzids.count(tzid) != 0; ++second) tzid = base + " (" + std::to_string(second) + ")";
    m_tzids.insert(tzid);
    const std::string parameter = "TZID=" + ICalParamValue(tzid);
    m_zones.push_back({zone, std::move(tzid), parameter});
    m_last = m_zones.size() - 1;
    m_byBytes.emplace(key, m_last);
    return m_zones.back().parameter;
}

void ZoneTable::AppendTimeZones(std::string& out) const {
    for (const Zone& zone : m_zones) {
        const TimeZoneBlob& rules = zone.stored;
        out += "BEGIN:VTIMEZONE\r\n";
        AppendProperty("TZID", "", EscapedText(zone.tzid), out);
        const int standard = rules.offsetMinutes, daylight = rules.offsetMinutes + rules.dstAdjustMinutes;
        if (rules.HasDaylightSaving()) {
            AppendObservance("STANDARD", &rules.dstEnd, daylight, standard, out);
            AppendObservance("DAYLIGHT", &rules.dstStart, standard, daylight, out);
        } else {
            AppendObservance("STANDARD", nullptr, standard, standard, out);
        }
        out += "END:VTIMEZONE\r\n";
    }
}

}  // namespace corvelle
