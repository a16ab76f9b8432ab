// Whether two names are one file, so that an export never replaces the
// database it reads.
#pragma once

#include <string>

namespace corvelle {

// True when both names exist and are one file, by the file's identity
// (device and inode; volume and file index), so that another spelling, a
// short name or a link does not pass for another file.
bool IsSameFile(const std::string& a, const std::string& b);
#ifdef _WIN32
bool IsSameFile(const std::wstring& a, const std::wstring& b);
#endif

}  // namespace corvelle
