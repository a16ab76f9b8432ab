#include "dump/records/TasksRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the field flags", "the flags",  "the priority",    "the due date",
                                  "the completion date", "the alarm", "the repeat", "the description", "the note"};

}  // namespace

TasksRecord DecodeTasks(const ByteSpan& record) {
    RecordReader<TasksPart> in(record, kPartNames);
    TasksRecord task;
    if (in.Need(2, TasksPart::kFields)) task.fields = in.U16();
    if (in.Need(2, TasksPart::kFlags)) task.flags = in.U16();
    if (in.Need(2, TasksPart::kPriority)) task.priority = in.U16();
    if (task.Has(tasks_fields::kDueDate) && in.Need(2, TasksPart::kDueDate)) task.due.raw = in.U16();
    if (task.Has(tasks_fields::kCompletionDate) && in.Need(2, TasksPart::kCompletionDate))
        task.completedOn.raw = in.U16();
    if (task.Has(tasks_fields::kAlarm) && in.Need(4, TasksPart::kAlarm)) {
        task.alarmHour = in.U8();
        task.alarmMinute = in.U8();
        task.alarmDaysBefore = in.U16();
    }
    if (task.Has(tasks_fields::kRepeat) && in.Need(2 + kRepeatBlockSize, TasksPart::kRepeat)) {
        task.repeatStart.raw = in.U16();
        task.repeat = DecodeRepeatBlock(in.Bytes(kRepeatBlockSize, TasksPart::kRepeat));
    }
    task.description = in.Text(TasksPart::kDescription);
    task.note = in.Text(TasksPart::kNote);
    task.cut = in.Cut();
    return task;
}

}  // namespace corvelle
