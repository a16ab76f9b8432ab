// A Tasks record (the to-do list of every Palm from late 2003 on): a word
// saying which fields follow, flags, priority, then the due date, completion
// date, alarm and repeat where that word says so, then the description and
// the note, both always there.
#pragma once

#include <cstdint>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// The first word: which fields follow.
namespace tasks_fields {
constexpr uint16_t kDueDate = 0x8000;
constexpr uint16_t kCompletionDate = 0x4000;
constexpr uint16_t kAlarm = 0x2000;
constexpr uint16_t kRepeat = 0x1000;
constexpr uint16_t kDescription = 0x0800;  // not empty; the text is there either way
constexpr uint16_t kNote = 0x0400;         // likewise
}  // namespace tasks_fields

namespace tasks_flags {
constexpr uint16_t kCompleted = 0x0001;
constexpr uint16_t kRepeatAfterCompletion = 0x0002;  // the next repeat counts from the completion date
}  // namespace tasks_flags

// The parts of the layout, in the order they are read.
enum class TasksPart : unsigned {
    kFields,
    kFlags,
    kPriority,
    kDueDate,
    kCompletionDate,
    kAlarm,
    kRepeat,
    kDescription,
    kNote,
};

struct TasksRecord {
    uint16_t fields = 0;  // tasks_fields
    uint16_t flags = 0;   // tasks_flags
    uint16_t priority = 0;
    PackedDate due;          // with kDueDate
    PackedDate completedOn;  // with kCompletionDate
    uint8_t alarmHour = 0xFF, alarmMinute = 0xFF;  // with kAlarm
    uint16_t alarmDaysBefore = 0;
    PackedDate repeatStart;  // with kRepeat
    DateBookRepeat repeat;
    std::string_view description;
    std::string_view note;
    RecordCut cut;

    bool Has(uint16_t field) const { return (fields & field) != 0; }
    bool Completed() const { return (flags & tasks_flags::kCompleted) != 0; }
    bool RepeatsAfterCompletion() const { return (flags & tasks_flags::kRepeatAfterCompletion) != 0; }
};

TasksRecord DecodeTasks(const ByteSpan& record);

}  // namespace corvelle
