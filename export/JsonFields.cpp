// The decoded fields of one entry for the JSON export: the same fields the
// Records page shows, under the names the README documents.
#include "export/JsonFields.h"

#include <cstdio>

#include "dump/records/AddressRecord.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/MemoRecord.h"
#include "dump/records/ResourceContent.h"
#include "dump/records/ToDoRecord.h"

namespace corvelle {
namespace {

const char* const kAddressKeys[kAddressFieldCount] = {
    "lastName", "firstName", "company", "phone1", "phone2", "phone3", "phone4", "phone5", "address", "city",
    "state", "zipCode", "country", "title", "custom1", "custom2", "custom3", "custom4", "note"};
const char* const kRepeatNames[6] = {"none", "daily", "weekly", "monthlyByDay", "monthlyByDate", "yearly"};
const char* const kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kAlarmUnits[3] = {"minutes", "hours", "days"};

void DateOrNull(JsonOut& json, PackedDate date) {
    if (date.IsNone())
        json.Null();
    else
        json.String(PackedDateText(date));
}

void TimeOrNull(JsonOut& json, uint8_t hour, uint8_t minute) {
    if (hour == 0xFF && minute == 0xFF) {
        json.Null();
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u", unsigned{hour}, unsigned{minute});
    json.String(text);
}

void WriteCut(JsonOut& json, const RecordCut& cut) {
    if (!cut.cut) return;
    json.Key("cut");
    json.OpenObject();
    NumberMember(json, "at", cut.at);
    json.Key("inside");
    json.String(cut.inside);
    json.CloseObject();
}

void TextField(const ExportContext& context, JsonOut& json, const char* key, std::string_view bytes) {
    json.Key(key);
    json.String(context.Utf8(bytes));
}

void WriteToDo(const ExportContext& context, JsonOut& json, const ByteSpan& data) {
    const ToDoRecord record = DecodeToDo(data);
    json.Key("due");
    DateOrNull(json, record.due);
    NumberMember(json, "priority", record.priority);
    json.Key("completed");
    json.Bool(record.completed);
    TextField(context, json, "description", record.description);
    TextField(context, json, "note", record.note);
    WriteCut(json, record.cut);
}

void WriteAddress(const ExportContext& context, JsonOut& json, const ByteSpan& data, const AddressLabels& labels) {
    const AddressRecord record = DecodeAddress(data);
    json.Key("phoneLabels");
    json.OpenArray();
    for (uint8_t label : record.phoneLabel) json.Number(label);
    json.CloseArray();
    json.Key("phoneLabelNames");
    json.OpenArray();
    for (uint8_t label : record.phoneLabel) json.String(context.Utf8(PhoneLabel(labels, label)));
    json.CloseArray();
    NumberMember(json, "shownPhone", record.shownPhone);
    for (unsigned field = 0; field < kAddressFieldCount; ++field)
        if (record.present[field]) TextField(context, json, kAddressKeys[field], record.field[field]);
    WriteCut(json, record.cut);
}

void WriteRepeat(JsonOut& json, const DateBookRepeat& repeat) {
    json.OpenObject();
    json.Key("type");
    json.String(repeat.type < 6 ? kRepeatNames[repeat.type] : "unknown");
    NumberMember(json, "typeCode", repeat.type);
    json.Key("end");
    DateOrNull(json, repeat.end);
    NumberMember(json, "frequency", repeat.frequency);
    NumberMember(json, "repeatOn", repeat.repeatOn);
    NumberMember(json, "startOfWeek", repeat.startOfWeek);
    if (repeat.type == static_cast<uint8_t>(RepeatType::kWeekly)) {
        json.Key("days");
        json.OpenArray();
        for (unsigned day = 0; day < 7; ++day)
            if (repeat.repeatOn & (1u << day)) json.String(kDayNames[day]);
        json.CloseArray();
    } else if (repeat.type == static_cast<uint8_t>(RepeatType::kMonthlyByDay)) {
        NumberMember(json, "week", repeat.repeatOn / 7 + 1);  // 1 to 4, 5 for the last week
        json.Key("day");
        json.String(kDayNames[repeat.repeatOn % 7]);
    }
    json.CloseObject();
}

void WriteDateBook(const ExportContext& context, JsonOut& json, const ByteSpan& data) {
    const DateBookRecord record = DecodeDateBook(data);
    json.Key("date");
    json.String(PackedDateText(record.date));
    json.Key("start");
    TimeOrNull(json, record.startHour, record.startMinute);
    json.Key("end");
    TimeOrNull(json, record.endHour, record.endMinute);
    NumberMember(json, "flags", record.flags);
    json.Key("alarm");
    if (record.Has(date_book_flags::kAlarm)) {
        json.OpenObject();
        json.Key("advance");
        json.Signed(record.alarmAdvance);
        json.Key("unit");
        json.String(record.alarmUnit < 3 ? kAlarmUnits[record.alarmUnit] : "unknown");
        json.CloseObject();
    } else {
        json.Null();
    }
    json.Key("repeat");
    if (record.Has(date_book_flags::kRepeat))
        WriteRepeat(json, record.repeat);
    else
        json.Null();
    json.Key("exceptions");
    json.OpenArray();
    for (PackedDate exception : record.exceptions) json.String(PackedDateText(exception));
    json.CloseArray();
    TextField(context, json, "description", record.description);
    TextField(context, json, "note", record.note);
    WriteCut(json, record.cut);
}

void WritePalmDocHeader(JsonOut& json, const PalmDocHeader& header) {
    NumberMember(json, "compression", header.compression);
    NumberMember(json, "textLength", header.textLength);
    NumberMember(json, "textRecords", header.textRecords);
    NumberMember(json, "recordSize", header.recordSize);
    NumberMember(json, "position", header.position);
    WriteCut(json, header.cut);
}

void WritePalmDocText(const ExportContext& context, JsonOut& json, const ByteSpan& data, uint16_t compression) {
    const PalmDocText text = DecodePalmDocText(data, compression);
    TextField(context, json, "text", text.text);
    if (text.badReference) {
        NumberMember(json, "badReferenceAt", text.stoppedAt);
    }
    WriteCut(json, text.cut);
}

}  // namespace

JsonFieldWriter::JsonFieldWriter(const ExportContext& context) : m_context(context) {
    const DatabaseModel& model = context.model;
    if (model.HoldsResources()) return;
    if (model.Format() == DatabaseFormat::kAddress) m_labels.reset(new AddressLabels(ReadAddressLabels(model)));
    if (model.Format() == DatabaseFormat::kPalmDoc && model.Count() > 0)
        m_docHeader = DecodePalmDocHeader(model.Data(0));
}

JsonFieldWriter::~JsonFieldWriter() = default;

void JsonFieldWriter::Write(JsonOut& json, size_t index) {
    const DatabaseModel& model = m_context.model;
    const ByteSpan data = model.Data(index);
    json.Key("fields");
    if (!model.Entry(index).hasData) {
        json.Null();
        return;
    }
    if (model.HoldsResources()) {
        if (KindOfResource(model.Entry(index).type) != ResourceKind::kString) {
            json.Null();
            return;
        }
        const StringResource resource = DecodeStringResource(data);
        json.OpenObject();
        TextField(m_context, json, "string", resource.text);
        WriteCut(json, resource.cut);
        json.CloseObject();
        return;
    }
    const DatabaseFormat format = model.Format();
    if (format == DatabaseFormat::kOther || (format == DatabaseFormat::kPalmDoc && index > m_docHeader.textRecords)) {
        json.Null();
        return;
    }
    json.OpenObject();
    switch (format) {
        case DatabaseFormat::kMemo: {
            const MemoRecord memo = DecodeMemo(data);
            TextField(m_context, json, "text", memo.text);
            WriteCut(json, memo.cut);
            break;
        }
        case DatabaseFormat::kToDo: WriteToDo(m_context, json, data); break;
        case DatabaseFormat::kAddress: WriteAddress(m_context, json, data, *m_labels); break;
        case DatabaseFormat::kDateBook: WriteDateBook(m_context, json, data); break;
        case DatabaseFormat::kPalmDoc:
            if (index == 0)
                WritePalmDocHeader(json, m_docHeader);
            else
                WritePalmDocText(m_context, json, data, m_docHeader.compression);
            break;
        case DatabaseFormat::kOther: break;
    }
    json.CloseObject();
}

}  // namespace corvelle
