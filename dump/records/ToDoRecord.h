// A To Do record: due date, priority and completion, description and note.
#pragma once

#include <cstdint>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// The parts of the layout, in the order they are read.
enum class ToDoPart : unsigned { kDueDate, kPriority, kDescription, kNote };

struct ToDoRecord {
    PackedDate due;          // IsNone(): no due date
    uint8_t priority = 0;    // the low 7 bits of the priority byte
    bool completed = false;  // bit 80h of the priority byte
    std::string_view description;
    std::string_view note;
    RecordCut cut;
};

ToDoRecord DecodeToDo(const ByteSpan& record);

}  // namespace corvelle
