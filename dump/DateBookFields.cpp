#include "dump/DateBookFields.h"

#include "dump/FieldLines.h"
#include "dump/TextAppend.h"

namespace corvelle {
namespace {

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string AlarmText(const DateBookRecord& event) {
    const int advance = event.alarmAdvance;
    std::string text;
    AppendSigned(text, advance);
    const bool one = advance == 1;
    switch (event.alarmUnit) {
        case 0: text += one ? " minute" : " minutes"; break;
        case 1: text += one ? " hour" : " hours"; break;
        case 2: text += one ? " day" : " days"; break;
        default:
            text += " (unit ";
            AppendDecimal(text, event.alarmUnit);
            text += ")";
    }
    text += " before";
    return text;
}

std::string RepeatText(const DateBookRepeat& repeat) {
    static const char* const kTypes[] = {nullptr, "daily", "weekly", "monthly by day", "monthly by date", "yearly"};
    std::string text;
    if (repeat.type >= 1 && repeat.type <= 5) {
        text = kTypes[repeat.type];
    } else {
        text = "type ";
        AppendDecimal(text, repeat.type);
    }
    text += ", every ";
    AppendDecimal(text, repeat.frequency);
    if (repeat.end.IsNone()) {
        text += ", no end";
    } else {
        text += ", until ";
        AppendDate(text, repeat.end);
    }
    if (repeat.type == static_cast<uint8_t>(RepeatType::kWeekly)) {
        text += ", on";
        for (unsigned day = 0; day < 7; ++day)
            if (repeat.repeatOn & (1u << day)) {
                text.push_back(' ');
                text += kWeekdays[day];
            }
    } else if (repeat.type == static_cast<uint8_t>(RepeatType::kMonthlyByDay)) {
        const unsigned week = repeat.repeatOn / 7;
        text += ", week ";
        if (week == 4)
            text += "last";
        else
            AppendDecimal(text, week + 1);
        text.push_back(' ');
        text += kWeekdays[repeat.repeatOn % 7];
    }
    return text;
}

}  // namespace

void AppendDateBookFields(const DateBookRecord& event, std::string& out) {
    namespace flags = date_book_flags;
    const CutOrder read(event.cut, {"the time", "the date", "the flags", "the alarm", "the repeat", "the exceptions",
                                    "the description", "the note"});
    std::string value;
    if (read.Whole(1)) {
        AppendDate(value, event.date);
        AppendField(out, "Date", value);
    }
    if (read.Whole(0)) {
        value.clear();
        if (event.Timed()) {
            AppendTime(value, event.startHour, event.startMinute);
            value.push_back('-');
            AppendTime(value, event.endHour, event.endMinute);
        } else {
            value = "none";
        }
        AppendField(out, "Time", value);
    }
    if (event.Has(flags::kAlarm) && read.Whole(3)) AppendField(out, "Alarm", AlarmText(event));
    if (event.Has(flags::kRepeat) && read.Whole(4)) AppendField(out, "Repeat", RepeatText(event.repeat));
    if (event.Has(flags::kExceptions) && read.Begun(5)) {
        value.clear();
        for (size_t i = 0; i < event.exceptions.size(); ++i) {
            if (i != 0) value += ", ";
            AppendDate(value, event.exceptions[i]);
        }
        AppendField(out, "Exceptions", value);
    }
    if (event.Has(flags::kDescription) && read.Begun(6)) AppendField(out, "Description", event.description);
    if (event.Has(flags::kNote) && read.Begun(7)) AppendField(out, "Note", event.note);
}

}  // namespace corvelle
