// corvelle-dump --records FILE and --record N FILE: the entries of a
// database as a table, or one entry whole with its decoded fields and bytes.
#pragma once

#include <cstdint>
#include <string>

namespace corvelle_dump {

// The viewer's one-line text for a file that did not open ("Cannot open
// file.\r\n"), worded for standard error: "cannot open file".
std::string FailureReason(int status, uint32_t size);

// Exit status: 0 done, 1 the file did not open or has no entry N.
int PrintRecords(const char* path);
int PrintRecord(unsigned long index, const char* path);

}  // namespace corvelle_dump
