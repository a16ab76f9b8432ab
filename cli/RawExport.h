// corvelle-dump --export raw -o DIR FILE: every entry's bytes as a file of
// its own, and the AppInfo and SortInfo blocks.
#pragma once

#include <string>

#include "dump/DatabaseModel.h"

namespace corvelle_dump {

// The file name of entry `index`: NNNNN.rec for a record (its index),
// TYPE-ID.bin for a resource, with type bytes outside letters and digits as
// '_'. `taken` holds the names given so far, folded to lower case: a second
// resource of one type and ID, or of types that differ only in case (one
// file on Windows), gets TYPE-ID-INDEX.bin instead of overwriting the first.
std::string RawEntryName(const corvelle::DatabaseModel& model, size_t index, std::string& taken);

// Exit status: 0 written (entries without data are named on standard error),
// 1 when DIR could not be made or a file not written; whatever this run wrote
// is then removed again.
int WriteRawExport(const corvelle::DatabaseModel& model, const char* databasePath, const std::string& dir);

}  // namespace corvelle_dump
