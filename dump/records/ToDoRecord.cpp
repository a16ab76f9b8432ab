#include "dump/records/ToDoRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the due date", "the priority", "the description", "the note"};

}  // namespace

ToDoRecord DecodeToDo(const ByteSpan& record) {
    RecordReader<ToDoPart> in(record, kPartNames);
    ToDoRecord todo;
    if (in.Need(2, ToDoPart::kDueDate)) todo.due.raw = in.U16();
    if (in.Need(1, ToDoPart::kPriority)) {
        const uint8_t priority = in.U8();
        todo.priority = priority & 0x7F;
        todo.completed = (priority & 0x80) != 0;
    }
    todo.description = in.Text(ToDoPart::kDescription);
    todo.note = in.Text(ToDoPart::kNote);
    todo.cut = in.Cut();
    return todo;
}

}  // namespace corvelle
