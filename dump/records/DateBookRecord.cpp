#include "dump/records/DateBookRecord.h"

#include "dump/records/DateBookReading.h"

namespace corvelle {

const char* const kDateBookPartNames[] = {"the time",        "the date",     "the flags",    "the alarm",
                                          "the repeat",      "the exceptions", "the description", "the note",
                                          "the location",    "a blob",       "the time zone", "the meeting"};

DateBookRepeat DecodeRepeatBlock(const uint8_t* block) {
    ByteReader in(block, kRepeatBlockSize);
    DateBookRepeat repeat;
    repeat.type = in.U8();
    in.U8();  // pad
    repeat.end.raw = in.U16BE();
    repeat.frequency = in.U8();
    repeat.repeatOn = in.U8();
    repeat.startOfWeek = in.U8();
    return repeat;
}

void ReadDateBookParts(RecordReader<DateBookPart>& in, DateBookRecord& event) {
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
    if (event.Has(date_book_flags::kRepeat)) {
        if (const uint8_t* block = in.Bytes(kRepeatBlockSize, DateBookPart::kRepeat))
            event.repeat = DecodeRepeatBlock(block);
    }
    if (event.Has(date_book_flags::kExceptions) && in.Need(2, DateBookPart::kExceptions)) {
        const uint16_t count = in.U16();
        const uint64_t room = in.Left() / 2;
        event.exceptions.reserve(count < room ? count : static_cast<size_t>(room));
        for (uint16_t i = 0; i < count && in.Need(2, DateBookPart::kExceptions); ++i) event.exceptions.push_back({in.U16()});
    }
    if (event.Has(date_book_flags::kDescription)) event.description = in.Text(DateBookPart::kDescription);
    if (event.Has(date_book_flags::kNote)) event.note = in.Text(DateBookPart::kNote);
}

DateBookRecord DecodeDateBook(const ByteSpan& record) {
    RecordReader<DateBookPart> in(record, kDateBookPartNames);
    DateBookRecord event;
    ReadDateBookParts(in, event);
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
