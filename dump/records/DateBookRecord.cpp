#include "dump/records/DateBookRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the time",       "the date",        "the flags", "the alarm",
                                   "the repeat",     "the exceptions",  "the description", "the note"};

}  // namespace

DateBookRecord DecodeDateBook(const ByteSpan& record) {
    RecordReader<DateBookPart> in(record, kPartNames);
    DateBookRecord event;
    if (in.Need(4, DateBookPart::kTime)) {
        event.startHour = in.U8();
        event.startMinute = in.U8();
        event.endHour = in.U8();
        event.endMinute = in.U8();
    }
    if (in.Need(2, DateBookPart::kDate)) event.date.raw = in.U16();
    if (in.Need(2, DateBookPart::kFlags)) event.flags = in.U16();
    if (event.Has(date_book_flags::kAlarm) && in.Need(2, DateBookPart::kAlarm)) {
        event.alarmAdvance = static_cast<int8_t>(in.U8());
        event.alarmUnit = in.U8();
    }
    if (event.Has(date_book_flags::kRepeat) && in.Need(8, DateBookPart::kRepeat)) {
        event.repeat.type = in.U8();
        in.U8();  // pad
        event.repeat.end.raw = in.U16();
        event.repeat.frequency = in.U8();
        event.repeat.repeatOn = in.U8();
        event.repeat.startOfWeek = in.U8();
        in.U8();  // pad
    }
    if (event.Has(date_book_flags::kExceptions) && in.Need(2, DateBookPart::kExceptions)) {
        const uint16_t count = in.U16();
        const uint64_t room = record.size / 2;
        event.exceptions.reserve(count < room ? count : static_cast<size_t>(room));
        for (uint16_t i = 0; i < count && in.Need(2, DateBookPart::kExceptions); ++i) event.exceptions.push_back({in.U16()});
    }
    if (event.Has(date_book_flags::kDescription)) event.description = in.Text(DateBookPart::kDescription);
    if (event.Has(date_book_flags::kNote)) event.note = in.Text(DateBookPart::kNote);
    event.cut = in.Cut();
    return event;
}

const char* WeekdayName(unsigned day) {
    static const char* const kNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return day < 7 ? kNames[day] : "?";
}

const RepeatTypeWords* WordsOfRepeatType(uint8_t type) {
    static const RepeatTypeWords kWords[] = {
        {"daily", "daily", "DAILY"},
        {"weekly", "weekly", "WEEKLY"},
        {"monthly by day", "monthlyByDay", "MONTHLY"},
        {"monthly by date", "monthlyByDate", "MONTHLY"},
        {"yearly", "yearly", "YEARLY"},
    };
    return type >= 1 && type <= 5 ? &kWords[type - 1] : nullptr;
}

}  // namespace corvelle
