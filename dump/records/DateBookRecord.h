// A Date Book record: an appointment, timed or not, with its alarm, repeat,
// exceptions, description and note.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

namespace date_book_flags {
constexpr uint16_t kAlarm = 0x4000;
constexpr uint16_t kRepeat = 0x2000;
constexpr uint16_t kNote = 0x1000;
constexpr uint16_t kExceptions = 0x0800;
constexpr uint16_t kDescription = 0x0400;
}  // namespace date_book_flags

enum class AlarmUnit : uint8_t { kMinutes = 0, kHours = 1, kDays = 2 };

enum class RepeatType : uint8_t {
    kNone = 0,
    kDaily = 1,
    kWeekly = 2,
    kMonthlyByDay = 3,
    kMonthlyByDate = 4,
    kYearly = 5,
};

struct DateBookRepeat {
    uint8_t type = 0;       // RepeatType, as stored (other values are kept)
    PackedDate end;         // IsNone(): no end
    uint8_t frequency = 0;  // every N days, weeks, months or years
    uint8_t repeatOn = 0;   // weekly: bit 0 Sunday .. bit 6 Saturday; monthly by day: week * 7 + day
    uint8_t startOfWeek = 0;
};

// The parts of the layout, in the order they are read. The Calendar's
// records (CalendarRecord.h) are the Date Book's with more after the note:
// their parts go on in the same order, so that one cut answers for both.
enum class DateBookPart : unsigned {
    kTime,
    kDate,
    kFlags,
    kAlarm,
    kRepeat,
    kExceptions,
    kDescription,
    kNote,
    kLocation,
    kBlob,
    kTimeZone,
    kMeeting,
};

struct DateBookRecord {
    uint8_t startHour = 0xFF, startMinute = 0xFF;  // FFh FFh: no time
    uint8_t endHour = 0xFF, endMinute = 0xFF;
    PackedDate date;
    uint16_t flags = 0;
    int8_t alarmAdvance = 0;  // with kAlarm
    uint8_t alarmUnit = 0;    // AlarmUnit, as stored
    DateBookRepeat repeat;    // with kRepeat
    std::vector<PackedDate> exceptions;  // with kExceptions
    std::string_view description;
    std::string_view note;
    RecordCut cut;

    bool Timed() const { return !(startHour == 0xFF && startMinute == 0xFF); }
    bool Has(uint16_t flag) const { return (flags & flag) != 0; }
};

DateBookRecord DecodeDateBook(const ByteSpan& record);

// The Date Book's 8-byte repeat block (type, pad, end, frequency, repeat-on,
// start of week, pad), which the later task list kept for its repeats.
constexpr uint64_t kRepeatBlockSize = 8;
DateBookRepeat DecodeRepeatBlock(const uint8_t* block);

// The Date Book's words, one table for every output. A day of the week
// (0 = Sunday) as "Sun"; iCalendar takes its first two letters in capitals.
const char* WeekdayName(unsigned day);

struct RepeatTypeWords {
    const char* words;      // in the entry's fields: "monthly by day"
    const char* json;       // the JSON's "type": "monthlyByDay"
    const char* frequency;  // iCalendar's FREQ: "MONTHLY"
};
// Null for a type the Date Book does not know (0 is no repeat).
const RepeatTypeWords* WordsOfRepeatType(uint8_t type);

}  // namespace corvelle
