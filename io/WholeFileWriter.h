// Writing a file whole or not at all, for corvelle-dump's -o and the Records
// page's export. The bytes go to a new temporary beside the target, are
// flushed to the disk and closed, and only then is the temporary renamed over
// the target: its name never shows half a file, and a write that fails (a
// full disk, a size limit) removes the temporary and leaves whatever the
// target held before, where writing in place would have destroyed it.
//
// Beside the target, because a rename is one step only within one file
// system. A replaced file keeps its POSIX permissions, so that an export over
// a private file stays private.
#pragma once

#include <string>
#include <string_view>

namespace corvelle {

// False with a reason in `error` (UTF-8): the target is a folder, the
// temporary cannot be made, written, flushed or renamed over it. `path` is in
// the file system's bytes (POSIX) or the ANSI code page (Windows).
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);
#ifdef _WIN32
// The same for a UTF-16 path, for names outside the ANSI code page.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes, std::string& error);
#endif

}  // namespace corvelle
