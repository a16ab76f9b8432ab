// Tasks (DATA/PTod), the to-do list of every Palm from late 2003 on: due and
// completion dates, priority, an alarm some days before the due date, the
// Date Book's repeats, description and note.
#include "dump/TextAppend.h"
#include "dump/records/TasksRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/DateBookText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

// "08:30, 2 days before"
std::string AlarmText(const TasksRecord& task) {
    std::string text;
    AppendTime(text, task.alarmHour, task.alarmMinute);
    text += ", ";
    AppendDecimal(text, task.alarmDaysBefore);
    text += task.alarmDaysBefore == 1 ? " day before" : " days before";
    return text;
}

// The Date Book's words, then where the repeat starts and what it counts from.
std::string TaskRepeatText(const TasksRecord& task) {
    std::string text = RepeatText(task.repeat);
    text += ", from ";
    AppendDate(text, task.repeatStart);
    if (task.RepeatsAfterCompletion()) text += ", after completion";
    return text;
}

class TasksReader final : public FormatReader {
public:
    explicit TasksReader(const DatabaseModel& model) : m_model(model) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        cell.Add(DecodeTasks(m_model.Data(index)).description);
    }

    void AppendFields(size_t index, std::string& out) const override {
        const TasksRecord task = DecodeTasks(m_model.Data(index));
        const RecordCut& read = task.cut;
        std::string value;
        if (read.Whole(TasksPart::kDueDate)) {
            AppendDate(value, task.Has(tasks_fields::kDueDate) ? task.due : PackedDate{});
            AppendField(out, "Due", value);
        }
        if (read.Whole(TasksPart::kPriority)) AppendField(out, "Priority", Number(task.priority));
        if (read.Whole(TasksPart::kFlags)) AppendField(out, "Completed", task.Completed() ? "yes" : "no");
        if (task.Has(tasks_fields::kCompletionDate) && read.Whole(TasksPart::kCompletionDate)) {
            value.clear();
            AppendDate(value, task.completedOn);
            AppendField(out, "Completed on", value);
        }
        if (task.Has(tasks_fields::kAlarm) && read.Whole(TasksPart::kAlarm)) AppendField(out, "Alarm", AlarmText(task));
        if (task.Has(tasks_fields::kRepeat) && read.Whole(TasksPart::kRepeat))
            AppendField(out, "Repeat", TaskRepeatText(task));
        if (read.Begun(TasksPart::kDescription)) AppendField(out, "Description", task.description);
        if (!task.note.empty()) AppendField(out, "Note", task.note);
        AppendCutLine(m_model, task.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const TasksRecord task = DecodeTasks(m_model.Data(index));
        JsonOut& out = json.Json();
        json.Date("due", task.Has(tasks_fields::kDueDate) ? task.due : PackedDate{});
        json.Number("priority", task.priority);
        json.Bool("completed", task.Completed());
        json.Date("completedOn", task.Has(tasks_fields::kCompletionDate) ? task.completedOn : PackedDate{});
        out.Key("alarm");
        if (task.Has(tasks_fields::kAlarm) && task.cut.Whole(TasksPart::kAlarm)) {
            out.OpenObject();
            json.Time("time", task.alarmHour, task.alarmMinute);
            json.Number("daysBefore", task.alarmDaysBefore);
            out.CloseObject();
        } else {
            out.Null();
        }
        out.Key("repeat");
        if (task.Has(tasks_fields::kRepeat) && task.cut.Whole(TasksPart::kRepeat)) {
            out.OpenObject();
            WriteRepeatMembers(task.repeat, json);
            json.Date("start", task.repeatStart);
            json.Bool("afterCompletion", task.RepeatsAfterCompletion());
            out.CloseObject();
        } else {
            out.Null();
        }
        json.Text("description", task.description);
        json.Text("note", task.note);
        json.Cut(task.cut);
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const TasksRecord record = DecodeTasks(m_model.Data(index));
        CalendarTask task;
        if (record.Has(tasks_fields::kDueDate)) task.due = record.due;
        task.priority = record.priority > 0xFF ? 0xFF : static_cast<uint8_t>(record.priority);
        task.completed = record.Completed();
        if (record.Has(tasks_fields::kCompletionDate)) task.completedOn = record.completedOn;
        task.description = record.description;
        task.note = record.note;
        if (record.Has(tasks_fields::kRepeat) && record.cut.Whole(TasksPart::kRepeat)) {
            task.repeat = &record.repeat;
            task.repeatStart = record.repeatStart;
            task.repeatAfterCompletion = record.RepeatsAfterCompletion();
        }
        if (record.Has(tasks_fields::kAlarm) && record.cut.Whole(TasksPart::kAlarm)) {
            task.hasAlarm = true;
            task.alarmHour = record.alarmHour;
            task.alarmMinute = record.alarmMinute;
            task.alarmDaysBefore = record.alarmDaysBefore;
        }
        feed.Task(task);
    }

private:
    const DatabaseModel& m_model;
};

bool IsTasks(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "PTod"); }

std::unique_ptr<FormatReader> OpenTasks(const DatabaseModel& model) { return std::make_unique<TasksReader>(model); }

}  // namespace

extern const Format kTasksFormat = {"tasks", "Tasks", ExportBit(ExportType::kICalendar), IsTasks, OpenTasks};

}  // namespace corvelle
