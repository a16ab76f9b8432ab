// The dump engine's entry points: a Palm OS database file in, its report
// text out. The engine keeps no state between calls and shows nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvelle {

class MappedFile;

// The whole report of the file at path (CR LF line ends). A file that cannot
// be opened, is empty or cannot be mapped gives one line saying so, and is
// not read.
std::string DumpPalmFile(const char* path);
#ifdef _WIN32
// The same for a UTF-16 path, for names outside the ANSI code page.
std::string DumpPalmFileW(const wchar_t* path);
#endif

// The report of an opened file, or of any bytes: never reads past size.
std::string BuildReport(const MappedFile& file);
std::string BuildReport(const uint8_t* data, uint32_t size);

// The same report, handed to writer in chunks as it is built.
void StreamReport(const MappedFile& file, void (*writer)(void* context, const char* bytes, size_t size),
                  void* context);

// The line DumpPalmFile gives for a file that did not open and map
// (status 1 to 3 of MappedFile; size is the file's size when known).
const char* OpenFailureText(int status, uint32_t size);

// Ends the text right after its last backslash, keeping the backslash; a
// text without one stays whole. With a destination, first copies at most
// count characters of source into it (strncpy rules) and works there.
char* DirectoryOfPath(char* source, char* destination, size_t count);

}  // namespace corvelle
