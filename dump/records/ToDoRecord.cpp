#include "dump/records/ToDoRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {

ToDoRecord DecodeToDo(const ByteSpan& record) {
    RecordReader in(record);
    ToDoRecord todo;
    if (in.Need(2, "the due date")) todo.due.raw = in.U16();
    if (in.Need(1, "the priority")) {
        const uint8_t priority = in.U8();
        todo.priority = priority & 0x7F;
        todo.completed = (priority & 0x80) != 0;
    }
    todo.description = in.Text("the description");
    todo.note = in.Text("the note");
    todo.cut = in.Cut();
    return todo;
}

}  // namespace corvelle
