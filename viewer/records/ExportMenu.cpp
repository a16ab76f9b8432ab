#include "viewer/records/ExportMenu.h"

#include <commdlg.h>

#include <new>

#include "base/UniqueHandle.h"
#include "export/ExportToFile.h"
#include "viewer/WideText.h"

namespace corvelle {
namespace {

void DestroyMenuHandle(HMENU menu) { ::DestroyMenu(menu); }
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &DestroyMenuHandle>>;

// The dialog's filter: the export's files (none for a folder, which is
// named new), then all files, each as a title and a pattern, every string
// ended by a NUL and the list by another.
std::wstring SaveDialogFilter(ExportType type) {
    std::wstring filter;
    if (!ExportWritesFolder(type)) {
        const std::wstring extension = WidenUtf8(ExportFileExtension(type));
        filter = WidenUtf8(ExportTypeTitle(type)) + L" (*." + extension + L")";
        filter += L'\0';
        filter += L"*." + extension;
        filter += L'\0';
    }
    filter += L"All files (*.*)";
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    filter += L'\0';
    return filter;
}

bool AskForFile(HWND owner, ExportType type, const std::wstring& viewedPath, std::wstring& chosen) {
    const std::wstring extension = WidenUtf8(ExportFileExtension(type));
    const std::wstring filter = SaveDialogFilter(type);
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring suggested = SuggestedExportName(viewedPath, type);
    if (suggested.size() < name.size()) suggested.copy(name.data(), suggested.size());
    const std::wstring folder = FolderOf(viewedPath);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // A folder export names the new folder the files go into: no extension,
    // and nothing to overwrite.
    const bool folderExport = ExportWritesFolder(type);
    dialog.lpstrDefExt = folderExport ? nullptr : extension.c_str();
    dialog.lpstrTitle = folderExport ? L"Name the folder for the pictures" : nullptr;
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (folderExport ? 0 : OFN_OVERWRITEPROMPT);
    if (!::GetSaveFileNameW(&dialog)) return false;  // cancelled, or the dialog failed
    chosen = name.data();
    return !chosen.empty();
}

void Tell(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), L"Corvelle", MB_OK | MB_ICONWARNING);
}

// Each picture a file in the folder, written whole, the folder made once there
// is one; should one fail, what this export did is undone (a file that was
// there before is put back).
void RunFolderExport(HWND owner, const ViewedDatabase& viewed, ExportType type, const ExportOptions& options,
                     const std::wstring& folder) {
    const ExportFolderResult result = ExportToFolder(viewed.Database(), type, options, folder, viewed.Path());
    switch (result.status) {
        case ExportFileStatus::kWritten:
            if (result.files == 0) Tell(owner, L"There is no picture to export.");
            break;
        case ExportFileStatus::kSameFile:
        case ExportFileStatus::kNotWritten:
            Tell(owner, L"The pictures could not be written: " + WidenUtf8(result.reason));
            break;
        case ExportFileStatus::kNotMade: Tell(owner, L"The export could not be made: " + WidenUtf8(result.reason)); break;
    }
}

void RunExport(HWND owner, const ViewedDatabase& viewed, const ExportMenuItem& item,
               const std::vector<size_t>& selection) {
    std::wstring target;
    if (!AskForFile(owner, item.type, viewed.Path(), target)) return;
    ExportOptions options;
    options.encoding = viewed.Encoding().name;
    if (item.selectedOnly) options.selection = &selection;
    if (ExportWritesFolder(item.type)) {
        RunFolderExport(owner, viewed, item.type, options, target);
        return;
    }
    const ExportFileResult result = ExportToFile(viewed.Database(), item.type, options, target, viewed.Path());
    switch (result.status) {
        case ExportFileStatus::kWritten: break;
        case ExportFileStatus::kSameFile:
            Tell(owner, L"The export cannot replace the file being viewed. Choose another name.");
            break;
        case ExportFileStatus::kNotWritten: Tell(owner, L"The file could not be written: " + target); break;
        case ExportFileStatus::kNotMade: Tell(owner, L"The export could not be made: " + WidenUtf8(result.reason)); break;
    }
}

}  // namespace

void RunExportMenu(HWND owner, POINT screen, const ViewedDatabase& viewed, const std::vector<size_t>& selection) {
    const std::vector<ExportMenuItem> items = ExportMenuItems(viewed.Database());
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu || items.empty()) return;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && items[i].selectedOnly && !items[i - 1].selectedOnly) {
            ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        }
        const UINT state = items[i].selectedOnly && selection.empty() ? MF_GRAYED : MF_ENABLED;
        ::AppendMenuW(menu.Get(), MF_STRING | state, items[i].command, WidenUtf8(items[i].text).c_str());
    }
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
    for (const ExportMenuItem& item : items) {
        if (item.command == chosen) RunExport(owner, viewed, item, selection);
    }
}

}  // namespace corvelle
