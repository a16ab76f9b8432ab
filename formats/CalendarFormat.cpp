// Calendar (DATA/PDat), the date book of every Palm from late 2003 on: the
// Date Book's appointment with a location, a time zone, a meeting with its
// attendees, and any other blob kept by its ID and size.
#include <cstdio>

#include "dump/TextAppend.h"
#include "dump/records/CalendarRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/DateBookText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

// "UTC+01:00", "UTC-03:30"
void AppendUtcOffset(std::string& out, int minutes) {
    char text[16];
    const unsigned size = static_cast<unsigned>(minutes < 0 ? -minutes : minutes);
    std::snprintf(text, sizeof text, "UTC%c%02u:%02u", minutes < 0 ? '-' : '+', size / 60, size % 60);
    out += text;
}

// "Berlin, UTC+01:00, daylight saving +60 minutes"
std::string TimeZoneText(const TimeZoneBlob& zone) {
    std::string text(zone.name);
    if (!text.empty()) text += ", ";
    AppendUtcOffset(text, zone.offsetMinutes);
    if (zone.HasDaylightSaving()) {
        text += ", daylight saving ";
        if (zone.dstAdjustMinutes > 0) text.push_back('+');
        AppendSigned(text, zone.dstAdjustMinutes);
        text += " minutes";
    }
    return text;
}

// A word of the tables, or the code where the table has none.
std::string Word(const char* word, const char* what, uint8_t code) {
    if (word != nullptr) return word;
    return std::string(what) + " " + Number(code);
}

std::string MeetingText(const MeetingBlob& meeting) {
    return Word(MeetingStatusWord(meeting.status), "status", meeting.status) + ", shown as " +
           Word(ShowAsWord(meeting.showAs), "code", meeting.showAs);
}

// "Ana Lima <ana@example.org>, required"
std::string AttendeeText(const MeetingAttendee& attendee) {
    std::string text(attendee.name);
    text += " <";
    text += attendee.email;
    text += ">, ";
    text += Word(AttendeeRoleWord(attendee.role), "role", attendee.role);
    return text;
}

// "Blob Bd07": the ID's bytes outside 20h-7Eh as dots, so the label stays one line.
std::string BlobLabel(const OtherBlob& blob) {
    std::string label = "Blob ";
    for (uint8_t byte : blob.id.bytes) label.push_back(byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.');
    return label;
}

void WriteZoneChange(const char* key, const ZoneChange& change, JsonFields& json) {
    JsonOut& out = json.Json();
    out.Key(key);
    out.OpenObject();
    json.Number("month", change.month);
    json.Number("week", change.week);
    json.Number("weekday", change.weekday);
    json.Number("hour", change.hour);
    out.CloseObject();
}

void WriteWord(JsonOut& out, const char* key, const char* word) {
    out.Key(key);
    out.String(word != nullptr ? word : "unknown");
}

void WriteCalendarJson(const CalendarRecord& record, JsonFields& json) {
    JsonOut& out = json.Json();
    WriteDateBookMembers(record.appointment, json);
    if (record.HasLocation() && record.Cut().Begun(DateBookPart::kLocation))
        json.Text("location", record.location);
    else
        json.Null("location");
    out.Key("timeZone");
    if (record.hasTimeZone) {
        const TimeZoneBlob& zone = record.timeZone;
        out.OpenObject();
        json.Text("name", zone.name);
        out.Key("offsetMinutes");
        out.Signed(zone.offsetMinutes);
        WriteZoneChange("dstStart", zone.dstStart, json);
        WriteZoneChange("dstEnd", zone.dstEnd, json);
        out.Key("dstAdjustMinutes");
        out.Signed(zone.dstAdjustMinutes);
        json.Number("country", zone.country);
        json.Bool("custom", zone.Custom());
        out.CloseObject();
    } else {
        out.Null();
    }
    out.Key("meeting");
    if (record.hasMeeting) {
        out.OpenObject();
        WriteWord(out, "status", MeetingStatusWord(record.meeting.status));
        WriteWord(out, "showAs", ShowAsWord(record.meeting.showAs));
        out.Key("attendees");
        out.OpenArray();
        for (const MeetingAttendee& attendee : record.meeting.attendees) {
            out.OpenObject();
            WriteWord(out, "role", AttendeeRoleWord(attendee.role));
            json.Text("name", attendee.name);
            json.Text("email", attendee.email);
            out.CloseObject();
        }
        out.CloseArray();
        out.CloseObject();
    } else {
        out.Null();
    }
    out.Key("blobs");
    out.OpenArray();
    for (const OtherBlob& blob : record.otherBlobs) {
        out.OpenObject();
        json.Text("id", std::string_view(reinterpret_cast<const char*>(blob.id.bytes), 4));
        json.Number("size", blob.size);
        out.CloseObject();
    }
    out.CloseArray();
    json.Cut(record.Cut());
}

class CalendarReader final : public FormatReader {
public:
    explicit CalendarReader(const DatabaseModel& model) : m_model(model) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        AppendDateBookContents(DecodeCalendar(m_model.Data(index)).appointment, cell);
    }

    void AppendFields(size_t index, std::string& out) const override {
        const CalendarRecord record = DecodeCalendar(m_model.Data(index));
        AppendDateBookFields(record.appointment, out);
        if (record.HasLocation() && record.Cut().Begun(DateBookPart::kLocation))
            AppendField(out, "Location", record.location);
        if (record.hasTimeZone) AppendField(out, "Time zone", TimeZoneText(record.timeZone));
        if (record.hasMeeting) {
            AppendField(out, "Meeting", MeetingText(record.meeting));
            for (const MeetingAttendee& attendee : record.meeting.attendees)
                AppendField(out, "Attendee", AttendeeText(attendee));
        }
        for (const OtherBlob& blob : record.otherBlobs) AppendField(out, BlobLabel(blob), Number(blob.size) + " bytes");
        AppendCutLine(m_model, record.Cut(), out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        WriteCalendarJson(DecodeCalendar(m_model.Data(index)), json);
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const CalendarRecord record = DecodeCalendar(m_model.Data(index));
        CalendarEvent event;
        event.appointment = &record.appointment;
        if (record.HasLocation()) event.location = record.location;
        if (record.hasTimeZone) event.zone = &record.timeZone;
        if (record.hasMeeting) event.meeting = &record.meeting;
        feed.Event(event);
    }

private:
    const DatabaseModel& m_model;
};

bool IsCalendar(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "PDat"); }

std::unique_ptr<FormatReader> OpenCalendar(const DatabaseModel& model) {
    return std::make_unique<CalendarReader>(model);
}

}  // namespace

extern const Format kCalendarFormat = {"calendar", "Calendar", ExportBit(ExportType::kICalendar), IsCalendar,
                                       OpenCalendar};

}  // namespace corvelle
