// A Calendar record (the date book of every Palm from late 2003 on): the Date
// Book's appointment, then its location where flagged, then blobs up to the
// record's end, each a 4-byte ID, a 2-byte size that does not count these 6
// bytes, and that many bytes. Two blobs are known: a time zone and a meeting.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/CodeNames.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

namespace calendar_flags {
constexpr uint16_t kLocation = 0x0200;
}  // namespace calendar_flags

// When a change of daylight saving happens each year: at `hour` of the wall
// time before the change, on a weekday of a week of a month.
struct ZoneChange {
    uint8_t hour = 0;
    uint8_t weekday = 0;  // 0 = Sunday
    uint8_t week = 0;     // 0-3: the first to the fourth; 4: the last
    uint8_t month = 0;    // 1-12

    bool operator==(const ZoneChange& other) const {
        return hour == other.hour && weekday == other.weekday && week == other.week && month == other.month;
    }
};

// Blob Bd00: the time zone the appointment's times are in.
struct TimeZoneBlob {
    int16_t offsetMinutes = 0;  // from UTC, outside daylight saving
    ZoneChange dstStart, dstEnd;
    int16_t dstAdjustMinutes = 0;  // 0: the zone has no daylight saving
    uint8_t country = 0;
    uint8_t flags = 0;  // 80h: made by the user
    std::string_view name;

    bool HasDaylightSaving() const { return dstAdjustMinutes != 0; }
    bool Custom() const { return (flags & 0x80) != 0; }
};

enum class MeetingStatus : uint8_t { kUnanswered, kAccepted, kDeclined, kTentative, kCancelled };
enum class MeetingShowAs : uint8_t { kBusy, kFree, kTentative, kOutOfOffice };
enum class AttendeeRole : uint8_t { kOrganizer, kRequired, kOptional };

struct MeetingAttendee {
    uint8_t role = 0;  // AttendeeRole, as stored
    std::string_view name, email;
};

// Blob Bd01: the appointment as a meeting, with who is asked.
struct MeetingBlob {
    uint8_t status = 0;  // MeetingStatus, as stored
    uint8_t showAs = 0;  // MeetingShowAs, as stored
    uint16_t announcedAttendees = 0;
    std::vector<MeetingAttendee> attendees;  // those read whole
};

// Any other blob, kept as it is.
struct OtherBlob {
    FourCharCode id;
    uint16_t size = 0;  // as stored
    ByteSpan data;      // those of its bytes that lie in the record
};

struct CalendarRecord {
    DateBookRecord appointment;  // its cut is the whole record's
    std::string_view location;   // with calendar_flags::kLocation
    bool hasTimeZone = false;
    TimeZoneBlob timeZone;
    bool hasMeeting = false;
    MeetingBlob meeting;
    std::vector<OtherBlob> otherBlobs;

    const RecordCut& Cut() const { return appointment.cut; }
    bool HasLocation() const { return appointment.Has(calendar_flags::kLocation); }
};

// A time-zone or meeting blob that is whole but too short for its own layout,
// or a second one of either, is kept as another blob. One that the record's
// end cuts is read as far as it goes, and the cut says so.
CalendarRecord DecodeCalendar(const ByteSpan& record);

// The words of the tables, one place for every output: null past the known codes.
const char* MeetingStatusWord(uint8_t status);  // "unanswered" .. "cancelled"
const char* ShowAsWord(uint8_t showAs);         // "busy", "free", "tentative", "out of office"
const char* AttendeeRoleWord(uint8_t role);     // "organizer", "required", "optional"

}  // namespace corvelle
