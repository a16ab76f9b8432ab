// The fields of a date-book event in words: its date and time, alarm, repeat,
// exceptions, description and note, as far as the record was read.
#pragma once

#include <string>

#include "dump/records/DateBookRecord.h"

namespace corvelle {

void AppendDateBookFields(const DateBookRecord& event, std::string& out);

}  // namespace corvelle
