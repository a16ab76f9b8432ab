// How corvelle-dump's commands say that something failed: one line on
// standard error, "corvelle-dump: SUBJECT: WHY", and exit status 1.
#pragma once

#include <cstdint>
#include <string>

#include "io/MappedFile.h"

namespace corvelle_dump {

// Writes the line; returns 1, the exit status of a failed command.
int Fail(const char* subject, const std::string& why);

// The viewer's one-line text for a file that did not open ("Cannot open
// file.\r\n"), worded for standard error: "cannot open file".
std::string FailureReason(int status, uint32_t size);

// Opens and maps `path`; when that fails, says why and returns false.
bool OpenOrSay(corvelle::MappedFile& file, const char* path);

}  // namespace corvelle_dump
