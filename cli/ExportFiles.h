// Writing an export's files without ever leaving half of one behind and
// without ever writing over the database being read.
#pragma once

#include <string>

namespace corvelle_dump {

// True when both paths name one existing file (a link or another spelling of
// the same path included).
bool IsSameFile(const std::string& a, const std::string& b);

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path` once it is whole, so that `path` is either untouched or complete.
// False with a reason in `error`; the temporary is then removed.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error);

// Writes `size` bytes to `path` directly (a raw export's member, removed by
// the caller if the export fails). False with a reason in `error`.
bool WriteBytes(const std::string& path, const void* bytes, size_t size, std::string& error);

}  // namespace corvelle_dump
