// The Records page's context menu: the exports that fit the database, of all
// entries or of the selected ones, each into the one file the user names in
// the save dialog (the pictures into the new folder it names). The only place
// where the plug-in writes files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/ExportChoices.h"
#include "model/ViewedDatabase.h"

namespace corvelle {

// Shows the menu at `screen` for `owner`, then carries out the choice: the
// save dialog, and the file. `selection` is the selected entries in the
// list's order; without any, the "selected" items are greyed. The viewed
// file is never the one written, whatever name is given.
void RunExportMenu(HWND owner, POINT screen, const ViewedDatabase& viewed, const std::vector<size_t>& selection);

}  // namespace corvelle
