// What the Records page's export menu offers and what its save dialog
// suggests, free of Win32: the items, and the names the dialog starts from.
#pragma once

#include <string>
#include <vector>

#include "export/Export.h"

namespace corvelle {

struct ExportMenuItem {
    unsigned command;  // nonzero
    std::wstring text;
    ExportType type;
    bool selectedOnly;
};

// "Export all as TYPE…" for each export that fits, then "Export selected
// as TYPE…" for each. Raw, the command line's folder of every entry's bytes,
// is left out; images ("image files") is offered, into a new folder the save
// dialog names.
std::vector<ExportMenuItem> ExportMenuItems(const DecodedDatabase& database);

// The save dialog's start: the viewed file's name with the export's
// extension ("Memos.txt"; for a folder "NotePadDB images"), the folder it
// lies in, and the filter: the export's files (none for a folder), then all
// files, each as a title and a pattern, every string ended by a NUL and the
// list by another.
std::wstring SuggestedExportName(const std::wstring& viewedPath, ExportType type);
std::wstring FolderOf(const std::wstring& path);
std::wstring SaveDialogFilter(ExportType type);

// Our own ASCII texts (titles, extensions, reasons) as UTF-16.
std::wstring WidenAscii(const char* text);

}  // namespace corvelle
