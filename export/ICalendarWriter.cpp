// Appointments as VEVENTs and tasks as VTODOs of one iCalendar 2.0 object
// (RFC 5545), with a VTIMEZONE for each time zone the appointments are in.
// The format hands each appointment or task over; this writer knows only
// iCalendar and the Date Book's repeat rules that later calendars kept.
#include <cstdio>
#include <string>

#include "dump/records/CalendarRecord.h"
#include "dump/records/DateBookRecord.h"
#include "standards/ContentLine.h"
#include "formats/ExportFeed.h"
#include "export/ExportWriters.h"
#include "export/ICalendarZones.h"
#include "standards/Rfc5545.h"

namespace corvelle {
namespace {

// "SU" for Sunday: the Date Book's word in iCalendar's two capitals.
std::string IcalWeekday(unsigned day) {
    const char* name = WeekdayName(day);
    return {static_cast<char>(name[0] & ~0x20), static_cast<char>(name[1] & ~0x20)};
}
// What the Date Book stores for "no alarm" when the alarm flag is set anyway.
constexpr int8_t kNoAlarmAdvance = -1;

CivilDate ToCivil(PackedDate date) { return CivilDate{date.Year(), date.Month(), date.Day()}; }

// The same record gets the same UID in every export, so that a calendar
// importing a second export updates its entries instead of doubling them.
std::string Uid(const DatabaseModel& model, size_t index) {
    std::string uid;
    for (uint8_t byte : model.Header().creator.bytes) {
        if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')) {
            uid += static_cast<char>(byte);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            uid += hex;
        }
    }
    char id[32];
    std::snprintf(id, sizeof id, "-%06X@corvelle", static_cast<unsigned>(model.Entry(index).UniqueId()));
    return uid + id;
}

// RFC 5545 requires a DTSTAMP; the database's modification date keeps the
// export the same for the same file (the device's clock had no time zone, so
// it is taken as UTC).
std::string Stamp(const DatabaseModel& model) {
    const DatabaseHeader& header = model.Header();
    return ICalUtcDateTime(FromPalmSeconds(header.modified != 0 ? header.modified : header.created));
}

class CalendarFeed final : public ExportFeed {
public:
    CalendarFeed(const ExportContext& context, std::string& out)
        : m_context(context), m_out(out), m_stamp(Stamp(context.model)) {}

    void Begin(size_t index) { m_index = index; }

    void Event(const CalendarEvent& event) override {
        const size_t index = m_index;
        const DateBookRecord& record = *event.appointment;
        const CivilDate date = ToCivil(record.date);
        if (!IsValidDate(date)) {
            m_context.Warn(RecordName(index) + ": left out, its date " + PackedDateText(record.date) +
                           " is no day of the calendar");
            return;
        }
        const bool timed = record.Timed();
        if (timed && (record.startHour > 23 || record.startMinute > 59)) {
            char time[16];
            std::snprintf(time, sizeof time, "%02u:%02u", unsigned{record.startHour}, unsigned{record.startMinute});
            m_context.Warn(RecordName(index) + ": left out, its start time " + time + " is no time of day");
            return;
        }
        // A date has no time zone (RFC 5545 puts no TZID on a DATE): only
        // timed appointments are in theirs.
        TimeZoneBlob zone;
        const bool zoned = timed && event.zone != nullptr && WritableZone(index, *event.zone, zone);
        const std::string& zoneParam = zoned ? m_zones.Use(zone, m_toUtf8) : m_noParameter;
        m_out += "BEGIN:VEVENT\r\n";
        BeginComponent(index);
        if (timed) {
            AppendProperty("DTSTART", zoneParam, ICalLocalDateTime(date, record.startHour, record.startMinute), m_out);
            // An appointment that ends when it starts is an instant: no DTEND.
            const unsigned start = record.startHour * 60u + record.startMinute;
            const unsigned end = record.endHour * 60u + record.endMinute;
            if (record.endHour < 24 && record.endMinute < 60 && end > start)
                AppendProperty("DTEND", zoneParam, ICalLocalDateTime(date, record.endHour, record.endMinute), m_out);
        } else {
            AppendProperty("DTSTART", "VALUE=DATE", ICalDate(date), m_out);
            AppendProperty("DTEND", "VALUE=DATE", ICalDate(NextDay(date)), m_out);
        }
        if (record.Has(date_book_flags::kRepeat)) {
            // UNTIL takes DTSTART's value type; a floating end of the last day
            // keeps that day's appointment, and beside a TZID it is in UTC.
            const Until until = !timed ? Until::kDate : zoned ? Until::kUtcEndOfDay : Until::kLocalEndOfDay;
            const std::string rule = RepeatRule(index, record.repeat, until, zoned ? &zone : nullptr);
            if (!rule.empty()) AppendProperty("RRULE", "", rule, m_out);
        }
        if (record.Has(date_book_flags::kExceptions)) WriteExceptions(index, record, timed, zoneParam);
        WriteTexts(record.description, record.note);
        if (!event.location.empty()) AppendProperty("LOCATION", "", EscapedText(m_context.Utf8(event.location)), m_out);
        if (event.meeting != nullptr) WriteMeeting(*event.meeting);
        if (record.Has(date_book_flags::kAlarm)) WriteAlarm(record);
        m_out += "END:VEVENT\r\n";
    }

    void Task(const CalendarTask& record) override {
        const size_t index = m_index;
        m_out += "BEGIN:VTODO\r\n";
        BeginComponent(index);
        // A repeat counts from its start, which only DTSTART can say.
        std::string rule;
        if (record.repeat != nullptr) {
            if (IsValidDate(ToCivil(record.repeatStart))) {
                rule = RepeatRule(index, *record.repeat, Until::kDate, nullptr);
                if (!rule.empty())
                    AppendProperty("DTSTART", "VALUE=DATE", ICalDate(ToCivil(record.repeatStart)), m_out);
            } else {
                m_context.Warn(RecordName(index) + ": its repeat's start " + PackedDateText(record.repeatStart) +
                               " is no day of the calendar, written without the repeat");
            }
        }
        const bool due = !record.due.IsNone() && IsValidDate(ToCivil(record.due));
        if (!record.due.IsNone()) {
            if (due)
                AppendProperty("DUE", "VALUE=DATE", ICalDate(ToCivil(record.due)), m_out);
            else
                m_context.Warn(RecordName(index) + ": due date " + PackedDateText(record.due) +
                               " is no day of the calendar, left out");
        }
        if (!rule.empty()) AppendProperty("RRULE", "", rule, m_out);
        // Palm's 1 is the highest priority, as iCalendar's is; 0 means none.
        if (record.priority >= 1)
            AppendProperty("PRIORITY", "", std::to_string(record.priority > 9 ? 9 : record.priority), m_out);
        AppendProperty("STATUS", "", record.completed ? "COMPLETED" : "NEEDS-ACTION", m_out);
        if (!record.completedOn.IsNone()) {
            if (IsValidDate(ToCivil(record.completedOn)))
                AppendProperty("COMPLETED", "", ICalUtcDateTime(CivilTime{ToCivil(record.completedOn), 0, 0, 0}),
                               m_out);
            else
                m_context.Warn(RecordName(index) + ": completion date " + PackedDateText(record.completedOn) +
                               " is no day of the calendar, left out");
        }
        WriteTexts(record.description, record.note);
        const std::string_view category = m_context.model.CategoryLabel(m_context.model.Entry(index).Category());
        if (!category.empty()) AppendProperty("CATEGORIES", "", EscapedText(m_context.Utf8(category)), m_out);
        if (record.hasAlarm) WriteTaskAlarm(index, record, due);
        m_out += "END:VTODO\r\n";
    }

private:
    void BeginComponent(size_t index) {
        AppendProperty("UID", "", Uid(m_context.model, index), m_out);
        AppendProperty("DTSTAMP", "", m_stamp, m_out);
        if (m_context.model.Entry(index).attributes & record_flags::kPrivate)
            AppendProperty("CLASS", "", "PRIVATE", m_out);
    }

    void WriteTexts(std::string_view description, std::string_view note) {
        if (!description.empty()) AppendProperty("SUMMARY", "", EscapedText(m_context.Utf8(description)), m_out);
        if (!note.empty()) AppendProperty("DESCRIPTION", "", EscapedText(m_context.Utf8(note)), m_out);
    }

    enum class Until { kDate, kLocalEndOfDay, kUtcEndOfDay };

    // The RRULE value of a repeat, or "" (and a warning) for one that
    // iCalendar cannot state. `zone` with kUtcEndOfDay.
    std::string RepeatRule(size_t index, const DateBookRepeat& repeat, Until until, const TimeZoneBlob* zone) {
        std::string rule;
        if (const RepeatTypeWords* words = WordsOfRepeatType(repeat.type)) rule = std::string("FREQ=") + words->frequency;
        if (rule.empty()) {
            m_context.Warn(RecordName(index) + ": repeat type " + std::to_string(repeat.type) +
                           " is unknown, written as a single event");
            return rule;
        }
        if (repeat.frequency > 1) rule += ";INTERVAL=" + std::to_string(repeat.frequency);
        if (!repeat.end.IsNone() && !IsValidDate(ToCivil(repeat.end)))
            m_context.Warn(RecordName(index) + ": its repeat's end " + PackedDateText(repeat.end) +
                           " is no day of the calendar, written without an end");
        if (!repeat.end.IsNone() && IsValidDate(ToCivil(repeat.end))) {
            const CivilDate end = ToCivil(repeat.end);
            rule += ";UNTIL=";
            if (until == Until::kDate)
                rule += ICalDate(end);
            else if (until == Until::kLocalEndOfDay)
                rule += ICalLocalDateTime(end, 23, 59, 59);
            else
                rule += ICalUtcDateTime(ToUtc(*zone, CivilTime{end, 23, 59, 59}));
        }
        if (static_cast<RepeatType>(repeat.type) == RepeatType::kWeekly) {
            std::string days;
            for (unsigned day = 0; day < 7; ++day) {
                if (!(repeat.repeatOn & (1u << day))) continue;
                if (!days.empty()) days += ',';
                days += IcalWeekday(day);
            }
            if (!days.empty()) rule += ";BYDAY=" + days;
            // Which weeks "every N weeks" counts depends on where a week starts.
            rule += repeat.startOfWeek == 1 ? ";WKST=MO" : ";WKST=SU";
        } else if (static_cast<RepeatType>(repeat.type) == RepeatType::kMonthlyByDay) {
            const unsigned week = repeat.repeatOn / 7, day = repeat.repeatOn % 7;
            if (week > 4) {
                m_context.Warn(RecordName(index) + ": monthly repeat on week " + std::to_string(week + 1) +
                               " is unknown, written as a single event");
                return {};
            }
            // The Date Book's fifth week is "the last".
            rule += ";BYDAY=" + (week == 4 ? std::string("-1") : std::to_string(week + 1)) + IcalWeekday(day);
        }
        return rule;
    }

    // The zone as iCalendar can state it in `zone`; false (and a warning)
    // for one whose offsets it cannot, which leaves the times floating.
    bool WritableZone(size_t index, const TimeZoneBlob& stored, TimeZoneBlob& zone) {
        zone = stored;
        if (!HasWritableOffsets(zone)) {
            m_context.Warn(RecordName(index) + ": its time zone's offset is a day or more from UTC, written "
                                               "without its time zone");
            return false;
        }
        if (zone.HasDaylightSaving() && !(IsValidChange(zone.dstStart) && IsValidChange(zone.dstEnd))) {
            m_context.Warn(RecordName(index) + ": its time zone's daylight saving names no day, written "
                                               "without daylight saving");
            zone.dstAdjustMinutes = 0;
        }
        return true;
    }

    void WriteExceptions(size_t index, const DateBookRecord& record, bool timed, const std::string& zoneParam) {
        std::string dates;
        for (PackedDate exception : record.exceptions) {
            if (!IsValidDate(ToCivil(exception))) {
                m_context.Warn(RecordName(index) + ": exception " + PackedDateText(exception) +
                               " is no day of the calendar, left out");
                continue;
            }
            if (!dates.empty()) dates += ',';
            dates += timed ? ICalLocalDateTime(ToCivil(exception), record.startHour, record.startMinute)
                           : ICalDate(ToCivil(exception));
        }
        if (!dates.empty()) AppendProperty("EXDATE", timed ? zoneParam : "VALUE=DATE", dates, m_out);
    }

    void WriteAlarm(const DateBookRecord& record) {
        if (record.alarmAdvance == kNoAlarmAdvance || record.alarmUnit > 2) return;
        const DurationUnit unit = record.alarmUnit == 0   ? DurationUnit::kMinutes
                                  : record.alarmUnit == 1 ? DurationUnit::kHours
                                                          : DurationUnit::kDays;
        m_out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\n";
        AppendProperty("TRIGGER", "", ICalOffset(-long{record.alarmAdvance}, unit), m_out);
        const std::string text = record.description.empty() ? "Reminder" : m_context.Utf8(record.description);
        AppendProperty("DESCRIPTION", "", EscapedText(text), m_out);
        m_out += "END:VALARM\r\n";
    }

    // A task's alarm rings at a time of day some days before the due date,
    // which is a DATE: its start, midnight, is what RELATED=END counts from.
    void WriteTaskAlarm(size_t index, const CalendarTask& task, bool due) {
        if (!due) {
            m_context.Warn(RecordName(index) + ": its alarm counts from a due date it has not, left out");
            return;
        }
        if (task.alarmHour > 23 || task.alarmMinute > 59) {
            m_context.Warn(RecordName(index) + ": its alarm time is no time of day, left out");
            return;
        }
        const long minutes = task.alarmHour * 60l + task.alarmMinute - task.alarmDaysBefore * 1440l;
        m_out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\n";
        AppendProperty("TRIGGER", "RELATED=END", ICalDuration(minutes), m_out);
        const std::string text = task.description.empty() ? "Reminder" : m_context.Utf8(task.description);
        AppendProperty("DESCRIPTION", "", EscapedText(text), m_out);
        m_out += "END:VALARM\r\n";
    }

    // The first organizer is the ORGANIZER; the others chair, the rest
    // attend as required or optional participants.
    void WriteMeeting(const MeetingBlob& meeting) {
        bool organizer = false;
        for (const MeetingAttendee& attendee : meeting.attendees) {
            const std::string name = m_context.Utf8(attendee.name);
            std::string params = name.empty() ? "" : "CN=" + ICalParamValue(name);
            // A CAL-ADDRESS is a URI: without an e-mail address, none that can be reached.
            const std::string address =
                attendee.email.empty() ? "invalid:nomail" : ICalMailto(m_context.Utf8(attendee.email));
            const bool first = attendee.role == static_cast<uint8_t>(AttendeeRole::kOrganizer) && !organizer;
            if (first) {
                organizer = true;
                AppendProperty("ORGANIZER", params, address, m_out);
                continue;
            }
            const char* role = attendee.role == static_cast<uint8_t>(AttendeeRole::kOrganizer) ? "CHAIR"
                               : attendee.role == static_cast<uint8_t>(AttendeeRole::kOptional) ? "OPT-PARTICIPANT"
                                                                                                  : "REQ-PARTICIPANT";
            params += params.empty() ? "ROLE=" : ";ROLE=";
            params += role;
            AppendProperty("ATTENDEE", params, address, m_out);
        }
        if (meeting.status == static_cast<uint8_t>(MeetingStatus::kCancelled))
            AppendProperty("STATUS", "", "CANCELLED", m_out);
        if (meeting.showAs == static_cast<uint8_t>(MeetingShowAs::kFree))
            AppendProperty("TRANSP", "", "TRANSPARENT", m_out);
    }

public:
    const ZoneTable& Zones() const { return m_zones; }

private:
    const ExportContext& m_context;
    std::string& m_out;
    const std::string m_stamp;
    size_t m_index = 0;
    ZoneTable m_zones;
    const ZoneTable::ToUtf8 m_toUtf8 = [this](std::string_view bytes) { return m_context.Utf8(bytes); };
    const std::string m_noParameter;
};

}  // namespace

void WriteICalendar(const ExportContext& context, std::string& out) {
    out += "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Corvelle//corvelle-dump//EN\r\nCALSCALE:GREGORIAN\r\n";
    // The zones are known once every event is written; readers that resolve a
    // TZID as they meet it want its VTIMEZONE first.
    const size_t zonesAt = out.size();
    CalendarFeed feed(context, out);
    FeedLiveEntries(context, ExportType::kICalendar, feed);
    if (!feed.Zones().Empty()) {
        std::string zones;
        feed.Zones().AppendTimeZones(zones);
        out.insert(zonesAt, zones);
    }
    out += "END:VCALENDAR\r\n";
}

}  // namespace corvelle
