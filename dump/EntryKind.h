// What one entry holds, by the database's format and the entry's place: the
// cells, the fields and the entry's text all decode an entry by its kind.
#pragma once

#include <cstddef>

#include "dump/DatabaseModel.h"
#include "dump/records/PalmDocRecord.h"

namespace corvelle {

enum class EntryKind { kNoData, kBytes, kMemo, kToDo, kAddress, kDateBook, kDocHeader, kDocText, kString, kBitmap };

EntryKind KindOf(const DatabaseModel& model, size_t index);

// The header of a PalmDOC database (its record 0), or an empty one when the
// file has no such record.
PalmDocHeader DocHeaderOf(const DatabaseModel& model);

}  // namespace corvelle
