// To Do List (DATA/todo): due date, priority and completion, description, note.
#include "dump/TextAppend.h"
#include "dump/records/ToDoRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

class ToDoReader final : public FormatReader {
public:
    explicit ToDoReader(const DatabaseModel& model) : m_model(model) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        cell.Add(DecodeToDo(m_model.Data(index)).description);
    }

    void AppendFields(size_t index, std::string& out) const override {
        const ToDoRecord todo = DecodeToDo(m_model.Data(index));
        const RecordCut& read = todo.cut;
        std::string due;
        AppendDate(due, todo.due);
        if (read.Whole(ToDoPart::kDueDate)) AppendField(out, "Due", due);
        if (read.Whole(ToDoPart::kPriority)) {
            AppendField(out, "Priority", Number(todo.priority));
            AppendField(out, "Completed", todo.completed ? "yes" : "no");
        }
        if (read.Begun(ToDoPart::kDescription)) AppendField(out, "Description", todo.description);
        if (!todo.note.empty()) AppendField(out, "Note", todo.note);
        AppendCutLine(m_model, todo.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const ToDoRecord todo = DecodeToDo(m_model.Data(index));
        json.Date("due", todo.due);
        json.Number("priority", todo.priority);
        json.Bool("completed", todo.completed);
        json.Text("description", todo.description);
        json.Text("note", todo.note);
        json.Cut(todo.cut);
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const ToDoRecord todo = DecodeToDo(m_model.Data(index));
        CalendarTask task;
        task.due = todo.due;
        task.priority = todo.priority;
        task.completed = todo.completed;
        task.description = todo.description;
        task.note = todo.note;
        feed.Task(task);
    }

private:
    const DatabaseModel& m_model;
};

bool IsToDoList(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "todo"); }

std::unique_ptr<FormatReader> OpenToDos(const DatabaseModel& model) { return std::make_unique<ToDoReader>(model); }

}  // namespace

extern const Format kToDoFormat = {"todo", "To Do", ExportBit(ExportType::kICalendar), IsToDoList, OpenToDos};

}  // namespace corvelle
