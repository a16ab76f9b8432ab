#include "dump/records/CalendarRecord.h"

#include "dump/records/DateBookReading.h"

namespace corvelle {
namespace {

// The fixed part of a time-zone blob: offset, two changes, adjustment,
// country and flags, before the name.
constexpr uint64_t kZoneFixedSize = 14;
constexpr uint64_t kBlobHeaderSize = 6;

// False when the blob is too short for the zone's fixed part. A name without
// its zero byte runs to the blob's end, as the bytes leave no doubt.
bool ReadTimeZone(const ByteSpan& blob, TimeZoneBlob& zone) {
    if (blob.size < kZoneFixedSize) return false;
    ByteReader in(blob.data, blob.size);
    zone.offsetMinutes = static_cast<int16_t>(in.U16BE());
    for (ZoneChange* change : {&zone.dstStart, &zone.dstEnd}) {
        change->hour = in.U8();
        change->weekday = in.U8();
        change->week = in.U8();
        change->month = in.U8();
    }
    zone.dstAdjustMinutes = static_cast<int16_t>(in.U16BE());
    zone.country = in.U8();
    zone.flags = in.U8();
    zone.name = in.ZeroTerminatedText();
    return true;
}

// Whether the blob held the meeting's head, and whether every announced
// attendee was read whole after it.
struct MeetingRead {
    bool head = false;
    bool whole = false;
};

MeetingRead ReadMeeting(const ByteSpan& blob, MeetingBlob& meeting) {
    ByteReader in(blob.data, blob.size);
    meeting.status = in.U8();
    meeting.showAs = in.U8();
    meeting.announcedAttendees = in.U16BE();
    if (!in.Ok()) return {};
    // Each attendee takes at least 3 bytes: never reserve more than fit.
    const uint64_t room = (blob.size - 4) / 3;
    meeting.attendees.reserve(meeting.announcedAttendees < room ? meeting.announcedAttendees : room);
    for (uint16_t i = 0; i < meeting.announcedAttendees; ++i) {
        MeetingAttendee attendee;
        attendee.role = in.U8();
        attendee.name = in.ZeroTerminatedText();
        attendee.email = in.ZeroTerminatedText();
        if (!in.Ok()) return {true, false};
        meeting.attendees.push_back(attendee);
    }
    return {true, true};
}

}  // namespace

CalendarRecord DecodeCalendar(const ByteSpan& record) {
    RecordReader<DateBookPart> in(record, kDateBookPartNames);
    CalendarRecord calendar;
    ReadDateBookParts(in, calendar.appointment);
    if (calendar.HasLocation()) calendar.location = in.Text(DateBookPart::kLocation);
    while (in.Left() > 0 && in.Need(kBlobHeaderSize, DateBookPart::kBlob)) {
        OtherBlob blob;
        for (uint8_t& byte : blob.id.bytes) byte = in.U8();
        blob.size = in.U16();
        const bool zone = CodeIs(blob.id, "Bd00") && !calendar.hasTimeZone;
        const bool meeting = CodeIs(blob.id, "Bd01") && !calendar.hasMeeting;
        const DateBookPart part = zone      ? DateBookPart::kTimeZone
                                  : meeting ? DateBookPart::kMeeting
                                            : DateBookPart::kBlob;
        // A blob whose size leaves the record is read as far as the record goes.
        const bool cut = blob.size > in.Left();
        const uint64_t inside = cut ? in.Left() : blob.size;
        blob.data = ByteSpan{in.Bytes(inside, part), inside};
        if (cut) in.Mark(part);
        bool known = false;
        if (zone) {
            known = calendar.hasTimeZone = ReadTimeZone(blob.data, calendar.timeZone);
        } else if (meeting) {
            const MeetingRead read = ReadMeeting(blob.data, calendar.meeting);
            known = calendar.hasMeeting = cut ? read.head : read.whole;
            if (!known) calendar.meeting = MeetingBlob{};
        }
        if (!known) calendar.otherBlobs.push_back(blob);
    }
    calendar.appointment.cut = in.Cut();
    return calendar;
}

const char* MeetingStatusWord(uint8_t status) {
    static const char* const kWords[] = {"unanswered", "accepted", "declined", "tentative", "cancelled"};
    return status < 5 ? kWords[status] : nullptr;
}

const char* ShowAsWord(uint8_t showAs) {
    static const char* const kWords[] = {"busy", "free", "tentative", "out of office"};
    return showAs < 4 ? kWords[showAs] : nullptr;
}

const char* AttendeeRoleWord(uint8_t role) {
    static const char* const kWords[] = {"organizer", "required", "optional"};
    return role < 3 ? kWords[role] : nullptr;
}

}  // namespace corvelle
