// The Records page's context menu on Linux: the exports that fit the
// database, of all entries or of the selected ones, each into the one file
// the user names in Qt's save dialog (model/ExportChoices.h,
// export/ExportToFile.h). The only place where the plug-in writes a file.
#pragma once

#include <QPoint>

#include <vector>

#include "model/ViewedDatabase.h"

class QWidget;

namespace corvelle::qt {

// Shows the menu at `global` for `owner`, then carries out the choice.
// `selection` is the selected entries in the list's order; without any, the
// "selected" items are greyed. The viewed file is never the one written.
void RunExportMenu(QWidget* owner, const QPoint& global, const ViewedDatabase& viewed,
                   const std::vector<size_t>& selection);

}  // namespace corvelle::qt
