// The reading that the Date Book's and the Calendar's decoders share: the
// Calendar's record is the Date Book's up to the note, and goes on after it.
// Internal to dump/records/.
#pragma once

#include "dump/records/DateBookRecord.h"
#include "dump/records/RecordReading.h"

namespace corvelle {

// Every part of DateBookPart in words, for the cut line.
extern const char* const kDateBookPartNames[];

// Reads the parts from the time to the note into `event` (not its cut); the
// reader then stands after the note, or is cut.
void ReadDateBookParts(RecordReader<DateBookPart>& in, DateBookRecord& event);

}  // namespace corvelle
