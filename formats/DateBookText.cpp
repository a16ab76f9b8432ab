#include "formats/DateBookText.h"

#include "dump/TextAppend.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"

namespace corvelle {
namespace {

const char* const kAlarmUnits[3] = {"minutes", "hours", "days"};

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

}  // namespace

std::string RepeatText(const DateBookRepeat& repeat) {
    std::string text;
    if (const RepeatTypeWords* words = WordsOfRepeatType(repeat.type)) {
        text = words->words;
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
                text += WeekdayName(day);
            }
    } else if (repeat.type == static_cast<uint8_t>(RepeatType::kMonthlyByDay)) {
        const unsigned week = repeat.repeatOn / 7;
        text += ", week ";
        if (week == 4)
            text += "last";
        else
            AppendDecimal(text, week + 1);
        text.push_back(' ');
        text += WeekdayName(repeat.repeatOn % 7u);
    }
    return text;
}

void AppendDateBookFields(const DateBookRecord& event, std::string& out) {
    namespace flags = date_book_flags;
    const RecordCut& read = event.cut;
    std::string value;
    if (read.Whole(DateBookPart::kDate)) {
        AppendDate(value, event.date);
        AppendField(out, "Date", value);
    }
    if (read.Whole(DateBookPart::kTime)) {
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
    if (event.Has(flags::kAlarm) && read.Whole(DateBookPart::kAlarm)) AppendField(out, "Alarm", AlarmText(event));
    if (event.Has(flags::kRepeat) && read.Whole(DateBookPart::kRepeat)) AppendField(out, "Repeat", RepeatText(event.repeat));
    if (event.Has(flags::kExceptions) && read.Begun(DateBookPart::kExceptions)) {
        value.clear();
        for (size_t i = 0; i < event.exceptions.size(); ++i) {
            if (i != 0) value += ", ";
            AppendDate(value, event.exceptions[i]);
        }
        AppendField(out, "Exceptions", value);
    }
    if (event.Has(flags::kDescription) && read.Begun(DateBookPart::kDescription)) AppendField(out, "Description", event.description);
    if (event.Has(flags::kNote) && read.Begun(DateBookPart::kNote)) AppendField(out, "Note", event.note);
}

void AppendDateBookContents(const DateBookRecord& event, ContentsCell& cell) {
    // The date and time are ours and short: written straight into the cell.
    std::string& out = cell.Out();
    const size_t start = out.size();
    AppendDate(out, event.date);
    if (event.Timed()) {
        out.push_back(' ');
        AppendTime(out, event.startHour, event.startMinute);
    }
    out.push_back(' ');
    cell.Took(out.size() - start);
    cell.Add(event.description);
}

void WriteRepeatMembers(const DateBookRepeat& repeat, JsonFields& json) {
    JsonOut& out = json.Json();
    const RepeatTypeWords* words = WordsOfRepeatType(repeat.type);
    out.Key("type");
    out.String(words != nullptr ? words->json : repeat.type == 0 ? "none" : "unknown");
    json.Number("typeCode", repeat.type);
    json.Date("end", repeat.end);
    json.Number("frequency", repeat.frequency);
    json.Number("repeatOn", repeat.repeatOn);
    json.Number("startOfWeek", repeat.startOfWeek);
    if (repeat.type == static_cast<uint8_t>(RepeatType::kWeekly)) {
        out.Key("days");
        out.OpenArray();
        for (unsigned day = 0; day < 7; ++day)
            if (repeat.repeatOn & (1u << day)) out.String(WeekdayName(day));
        out.CloseArray();
    } else if (repeat.type == static_cast<uint8_t>(RepeatType::kMonthlyByDay)) {
        json.Number("week", repeat.repeatOn / 7 + 1);  // 1 to 4, 5 for the last week
        out.Key("day");
        out.String(WeekdayName(repeat.repeatOn % 7u));
    }
}

void WriteDateBookJson(const DateBookRecord& event, JsonFields& json) {
    WriteDateBookMembers(event, json);
    json.Cut(event.cut);
}

void WriteDateBookMembers(const DateBookRecord& event, JsonFields& json) {
    JsonOut& out = json.Json();
    out.Key("date");
    out.String(PackedDateText(event.date));
    json.Time("start", event.startHour, event.startMinute);
    json.Time("end", event.endHour, event.endMinute);
    json.Number("flags", event.flags);
    out.Key("alarm");
    if (event.Has(date_book_flags::kAlarm)) {
        out.OpenObject();
        out.Key("advance");
        out.Signed(event.alarmAdvance);
        out.Key("unit");
        out.String(event.alarmUnit < 3 ? kAlarmUnits[event.alarmUnit] : "unknown");
        out.CloseObject();
    } else {
        out.Null();
    }
    out.Key("repeat");
    if (event.Has(date_book_flags::kRepeat)) {
        out.OpenObject();
        WriteRepeatMembers(event.repeat, json);
        out.CloseObject();
    } else {
        out.Null();
    }
    out.Key("exceptions");
    out.OpenArray();
    for (PackedDate exception : event.exceptions) out.String(PackedDateText(exception));
    out.CloseArray();
    json.Text("description", event.description);
    json.Text("note", event.note);
}

}  // namespace corvelle
