// The one way an export reaches a file, for corvelle-dump's -o and both
// viewers' export menus: written as it is made into a stream that replaces
// the target only once the whole export is in, never over the viewed file.
// And the one way an export of files (the pictures) reaches its folder.
#pragma once

#include <string>

#include "export/Export.h"

namespace corvelle {

enum class ExportFileStatus {
    kWritten,     // the target holds the whole export
    kSameFile,    // the target is the database itself: nothing was touched
    kNotMade,     // the export does not fit or cannot convert: `reason` says why
    kNotWritten,  // the target could not be written (`reason`: the system's words); it is as it was
};

struct ExportFileResult {
    ExportFileStatus status;
    std::string reason;  // UTF-8
};

// Writes the export of `type` into `target`. The options' warnings are
// filled as the export goes; the caller shows them. Throws nothing.
ExportFileResult ExportToFile(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                              const std::string& target, const std::string& viewed);
#ifdef _WIN32
// The same for UTF-16 names, for names outside the ANSI code page.
ExportFileResult ExportToFile(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                              const std::wstring& target, const std::wstring& viewed);
#endif

struct ExportFolderResult {
    ExportFileStatus status;  // kWritten also with no file: there was nothing to write, no folder is made
    std::string reason;       // UTF-8
    size_t files = 0;
};

// Writes the export of `type` (images) into `folder` as one step: the folder
// made once there is a file for it, each file whole, and should one fail,
// what was done undone (io/FolderWriter.h). Throws nothing.
ExportFolderResult ExportToFolder(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                                  const std::string& folder, const std::string& viewed);
#ifdef _WIN32
ExportFolderResult ExportToFolder(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                                  const std::wstring& folder, const std::wstring& viewed);
#endif

}  // namespace corvelle
