#include "qt/ExportMenu.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include "export/ExportToFile.h"
#include "model/ExportChoices.h"
#include "qt/QtEdge.h"

namespace corvelle::qt {
namespace {

void Tell(QWidget* owner, const QString& text) { QMessageBox::warning(owner, "Corvelle", text); }

// Each picture a file in the folder the dialog names, made once there is one;
// should one fail, what this export did is undone.
void RunFolderExport(QWidget* owner, const ViewedDatabase& viewed, ExportType type, const ExportOptions& options,
                     const QString& chosen) {
    const std::string folder = std::string(QFile::encodeName(chosen).constData());
    const ExportFolderResult result = ExportToFolder(viewed.Database(), type, options, folder, viewed.Path());
    switch (result.status) {
        case ExportFileStatus::kWritten:
            if (result.files == 0) Tell(owner, "There is no picture to export.");
            break;
        case ExportFileStatus::kSameFile:
        case ExportFileStatus::kNotWritten:
            Tell(owner, "The pictures could not be written: " + FromUtf8(result.reason));
            break;
        case ExportFileStatus::kNotMade: Tell(owner, "The export could not be made: " + FromUtf8(result.reason)); break;
    }
}

void RunExport(QWidget* owner, const ViewedDatabase& viewed, const ExportMenuItem& item,
               const std::vector<size_t>& selection) {
    const bool folderExport = ExportWritesFolder(item.type);
    const QString extension = QString::fromUtf8(ExportFileExtension(item.type));
    // A folder export names a new folder: no extension to filter by, and
    // nothing there yet to ask about replacing. Qt's own dialog asks before
    // it replaces a file.
    const QString filter = folderExport ? QString()
                                        : QString::fromUtf8(ExportTypeTitle(item.type)) + " (*." + extension +
                                              ");;All files (*)";
    const std::string folder = FolderOf(viewed.Path());
    const std::string suggested = SuggestedExportName(viewed.Path(), item.type);
    const QString start = FromUtf8(folder.empty() ? suggested : folder + "/" + suggested);
    const QString title = folderExport ? "Name the folder for the pictures" : "Export";
    const QFileDialog::Options dialogOptions = folderExport ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options();
    const QString chosen = QFileDialog::getSaveFileName(owner, title, start, filter, nullptr, dialogOptions);
    if (chosen.isEmpty()) return;
    ExportOptions options;
    options.encoding = viewed.Encoding().name;
    if (item.selectedOnly) options.selection = &selection;
    if (folderExport) {
        RunFolderExport(owner, viewed, item.type, options, chosen);
        return;
    }
    const std::string target = std::string(QFile::encodeName(chosen).constData());
    const ExportFileResult result = ExportToFile(viewed.Database(), item.type, options, target, viewed.Path());
    switch (result.status) {
        case ExportFileStatus::kWritten: break;
        case ExportFileStatus::kSameFile:
            Tell(owner, "The export cannot replace the file being viewed. Choose another name.");
            break;
        case ExportFileStatus::kNotWritten: Tell(owner, "The file could not be written: " + chosen); break;
        case ExportFileStatus::kNotMade: Tell(owner, "The export could not be made: " + FromUtf8(result.reason)); break;
    }
}

}  // namespace

void RunExportMenu(QWidget* owner, const QPoint& global, const ViewedDatabase& viewed,
                   const std::vector<size_t>& selection) {
    if (!viewed.HasModel()) return;
    const std::vector<ExportMenuItem> items = ExportMenuItems(viewed.Database());
    if (items.empty()) return;
    QMenu menu(owner);
    std::vector<QAction*> actions;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && items[i].selectedOnly && !items[i - 1].selectedOnly) menu.addSeparator();
        QAction* action = menu.addAction(FromUtf8(items[i].text));
        action->setEnabled(!(items[i].selectedOnly && selection.empty()));
        actions.push_back(action);
    }
    QAction* chosen = menu.exec(global);
    for (size_t i = 0; i < items.size(); ++i) {
        if (actions[i] == chosen) RunExport(owner, viewed, items[i], selection);
    }
}

}  // namespace corvelle::qt
