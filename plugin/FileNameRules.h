// Decides from a file name alone whether Corvelle shows the file. Runs before
// anything is created or read, so a name the host offers us by mistake costs
// nothing. Narrow (ANSI) and wide (UTF-16 on Windows) names follow one rule.
#pragma once

namespace corvelle {

// The extensions of Palm databases, resource databases and query apps.
inline constexpr char kHandledExtensions[] = "prc,pdb,pqa";

// True when `extension` equals one comma-separated item of `list`, letters
// compared without case. An empty item between two commas is an item, so an
// empty extension only matches a list that has one.
bool IsHandledExtension(const char* extension, const char* list);
bool IsHandledExtension(const wchar_t* extension, const char* list);

// The name tests of ListLoad: a non-empty path with a backslash, whose last
// component does not begin with ".." and has an extension from
// kHandledExtensions after its last dot.
bool IsHandledPath(const char* path);
bool IsHandledPath(const wchar_t* path);
// The same for a POSIX path (Double Commander's, UTF-8): the last component
// follows the last slash.
bool IsHandledPosixPath(const char* path);

}  // namespace corvelle
