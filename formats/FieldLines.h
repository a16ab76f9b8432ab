// The lines of an entry's decoded fields: one "Label:\tvalue" line a field,
// and the line that says where a cut record stops.
#pragma once

#include <string>
#include <string_view>

#include "dump/DatabaseModel.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// One "Label:\tvalue" line; a value's line breaks go on after a TAB.
void AppendField(std::string& out, std::string_view label, std::string_view value);

// "The record ends at byte N, inside the note." when the record is cut.
void AppendCutLine(const DatabaseModel& model, const RecordCut& cut, std::string& out);

// What an export says of a cut record it writes as far as it goes:
// "record 4: the record ends at byte 12, inside the note; the rest is left out".
std::string CutWarning(size_t index, const RecordCut& cut);

}  // namespace corvelle
