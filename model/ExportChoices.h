// What a Records page's export menu offers and what its save dialog
// suggests, for either front end: the items in UTF-8, and the name the
// dialog starts from in the system's own path form.
#pragma once

#include <string>
#include <vector>

#include "export/Export.h"
#include "io/NativePath.h"

namespace corvelle {

struct ExportMenuItem {
    unsigned command;  // nonzero
    std::string text;  // UTF-8
    ExportType type;
    bool selectedOnly;
};

// "Export all as TYPE…" for each export that fits, then "Export selected
// as TYPE…" for each. Raw, the command line's folder of every entry's bytes,
// is left out; images ("image files") is offered, into a new folder the save
// dialog names.
std::vector<ExportMenuItem> ExportMenuItems(const DecodedDatabase& database);

// The save dialog's start: the viewed file's name with the export's
// extension ("Memos.txt"; for a folder "NotePadDB images"), and the folder it
// lies in (either separator).
NativePath SuggestedExportName(const NativePath& viewedPath, ExportType type);
NativePath FolderOf(const NativePath& path);

}  // namespace corvelle
