// Appointments as VEVENTs and tasks as VTODOs of one iCalendar 2.0 object
// (RFC 5545). The format hands each appointment or task over; this writer
// knows only iCalendar and the Date Book's repeat rules that later calendars
// kept.
#include <cstdio>
#include <string>

#include "dump/records/DateBookRecord.h"
#include "export/ContentLine.h"
#include "export/ExportFeed.h"
#include "export/ExportWriters.h"
#include "export/Rfc5545.h"

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
        m_out += "BEGIN:VEVENT\r\n";
        BeginComponent(index);
        if (timed) {
            AppendProperty("DTSTART", "", ICalLocalDateTime(date, record.startHour, record.startMinute), m_out);
            // An appointment that ends when it starts is an instant: no DTEND.
            const unsigned start = record.startHour * 60u + record.startMinute;
            const unsigned end = record.endHour * 60u + record.endMinute;
            if (record.endHour < 24 && record.endMinute < 60 && end > start)
                AppendProperty("DTEND", "", ICalLocalDateTime(date, record.endHour, record.endMinute), m_out);
        } else {
            AppendProperty("DTSTART", "VALUE=DATE", ICalDate(date), m_out);
            AppendProperty("DTEND", "VALUE=DATE", ICalDate(NextDay(date)), m_out);
        }
        if (record.Has(date_book_flags::kRepeat)) WriteRepeat(index, record, timed);
        if (record.Has(date_book_flags::kExceptions)) WriteExceptions(index, record, timed);
        WriteTexts(record.description, record.note);
        if (record.Has(date_book_flags::kAlarm)) WriteAlarm(record);
        m_out += "END:VEVENT\r\n";
    }

    void Task(const CalendarTask& record) override {
        const size_t index = m_index;
        m_out += "BEGIN:VTODO\r\n";
        BeginComponent(index);
        if (!record.due.IsNone()) {
            if (IsValidDate(ToCivil(record.due)))
                AppendProperty("DUE", "VALUE=DATE", ICalDate(ToCivil(record.due)), m_out);
            else
                m_context.Warn(RecordName(index) + ": due date " + PackedDateText(record.due) +
                               " is no day of the calendar, left out");
        }
        // Palm's 1 is the highest priority, as iCalendar's is; 0 means none.
        if (record.priority >= 1)
            AppendProperty("PRIORITY", "", std::to_string(record.priority > 9 ? 9 : record.priority), m_out);
        AppendProperty("STATUS", "", record.completed ? "COMPLETED" : "NEEDS-ACTION", m_out);
        WriteTexts(record.description, record.note);
        const std::string_view category = m_context.model.CategoryLabel(m_context.model.Entry(index).Category());
        if (!category.empty()) AppendProperty("CATEGORIES", "", EscapedText(m_context.Utf8(category)), m_out);
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

    void WriteRepeat(size_t index, const DateBookRecord& record, bool timed) {
        const DateBookRepeat& repeat = record.repeat;
        std::string rule;
        if (const RepeatTypeWords* words = WordsOfRepeatType(repeat.type)) rule = std::string("FREQ=") + words->frequency;
        if (rule.empty()) {
            m_context.Warn(RecordName(index) + ": repeat type " + std::to_string(repeat.type) +
                           " is unknown, written as a single event");
            return;
        }
        if (repeat.frequency > 1) rule += ";INTERVAL=" + std::to_string(repeat.frequency);
        if (!repeat.end.IsNone() && !IsValidDate(ToCivil(repeat.end)))
            m_context.Warn(RecordName(index) + ": its repeat's end " + PackedDateText(repeat.end) +
                           " is no day of the calendar, written without an end");
        if (!repeat.end.IsNone() && IsValidDate(ToCivil(repeat.end))) {
            // UNTIL takes DTSTART's value type; a floating end of the last day
            // keeps that day's appointment.
            rule += ";UNTIL=";
            rule += timed ? ICalLocalDateTime(ToCivil(repeat.end), 23, 59, 59) : ICalDate(ToCivil(repeat.end));
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
                return;
            }
            // The Date Book's fifth week is "the last".
            rule += ";BYDAY=" + (week == 4 ? std::string("-1") : std::to_string(week + 1)) + IcalWeekday(day);
        }
        AppendProperty("RRULE", "", rule, m_out);
    }

    void WriteExceptions(size_t index, const DateBookRecord& record, bool timed) {
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
        if (!dates.empty()) AppendProperty("EXDATE", timed ? "" : "VALUE=DATE", dates, m_out);
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

    const ExportContext& m_context;
    std::string& m_out;
    const std::string m_stamp;
    size_t m_index = 0;
};

}  // namespace

void WriteICalendar(const ExportContext& context, std::string& out) {
    out += "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Corvelle//corvelle-dump//EN\r\nCALSCALE:GREGORIAN\r\n";
    CalendarFeed feed(context, out);
    FeedLiveEntries(context, ExportType::kICalendar, feed);
    out += "END:VCALENDAR\r\n";
}

}  // namespace corvelle
