// corvelle-dump --records FILE and --record N FILE: the entries of a
// database as a table, or one entry whole with its decoded fields and bytes.
#pragma once

namespace corvelle_dump {

class TextOutput;

// Exit status: 0 done, 1 the file did not open or has no entry N.
int PrintRecords(const char* path, TextOutput& out);
int PrintRecord(unsigned long index, const char* path, TextOutput& out);

}  // namespace corvelle_dump
