// A Date Book appointment in words, for the formats whose records hold one
// (the Date Book's and the later Calendar's): its contents cell, its field
// lines and its JSON members; and a repeat in words, which tasks share.
#pragma once

#include <string>

#include "dump/records/DateBookRecord.h"

namespace corvelle {

class ContentsCell;
class JsonFields;

// "2002-04-05 14:30 Meeting": the date, the start time if any, the description.
void AppendDateBookContents(const DateBookRecord& event, ContentsCell& cell);
// Date, Time, Alarm, Repeat, Exceptions, Description, Note, as far as read.
void AppendDateBookFields(const DateBookRecord& event, std::string& out);
// "daily, every 1, until 2002-05-01".
std::string RepeatText(const DateBookRepeat& repeat);

// date, start, end, flags, alarm, repeat, exceptions, description, note and the cut.
void WriteDateBookJson(const DateBookRecord& event, JsonFields& json);
// The same without the cut, for a record that goes on after the note.
void WriteDateBookMembers(const DateBookRecord& event, JsonFields& json);
// The members of a repeat object: type, typeCode, end, frequency, repeatOn,
// startOfWeek, and days or week and day; the caller opens and closes it.
void WriteRepeatMembers(const DateBookRepeat& repeat, JsonFields& json);

}  // namespace corvelle
