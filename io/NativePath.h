// A file's name as the system's own calls take it: UTF-16 on Windows, where
// a name outside the ANSI code page must still open; the file system's bytes
// (UTF-8 in practice) elsewhere.
#pragma once

#include <string>

namespace corvelle {

#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

}  // namespace corvelle
