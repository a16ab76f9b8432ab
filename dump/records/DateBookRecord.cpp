#include "dump/records/DateBookRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {

DateBookRecord DecodeDateBook(const ByteSpan& record) {
    RecordReader in(record);
    DateBookRecord event;
    if (in.Need(4, "the time")) {
        event.startHour = in.U8();
        event.startMinute = in.U8();
        event.endHour = in.U8();
        event.endMinute = in.U8();
    }
    if (in.Need(2, "the date")) event.date.raw = in.U16();
    if (in.Need(2, "the flags")) event.flags = in.U16();
    if (event.Has(date_book_flags::kAlarm) && in.Need(2, "the alarm")) {
        event.alarmAdvance = static_cast<int8_t>(in.U8());
        event.alarmUnit = in.U8();
    }
    if (event.Has(date_book_flags::kRepeat) && in.Need(8, "the repeat")) {
        event.repeat.type = in.U8();
        in.U8();  // pad
        event.repeat.end.raw = in.U16();
        event.repeat.frequency = in.U8();
        event.repeat.repeatOn = in.U8();
        event.repeat.startOfWeek = in.U8();
        in.U8();  // pad
    }
    if (event.Has(date_book_flags::kExceptions) && in.Need(2, "the exceptions")) {
        const uint16_t count = in.U16();
        const uint64_t room = record.size / 2;
        event.exceptions.reserve(count < room ? count : static_cast<size_t>(room));
        for (uint16_t i = 0; i < count && in.Need(2, "the exceptions"); ++i) event.exceptions.push_back({in.U16()});
    }
    if (event.Has(date_book_flags::kDescription)) event.description = in.Text("the description");
    if (event.Has(date_book_flags::kNote)) event.note = in.Text("the note");
    event.cut = in.Cut();
    return event;
}

}  // namespace corvelle
