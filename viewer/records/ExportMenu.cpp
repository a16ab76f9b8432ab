#include "viewer/records/ExportMenu.h"

#include <commdlg.h>

#include <new>

#include "io/FolderWriter.h"
#include "io/SameFile.h"
#include "io/WholeFileWriter.h"
#include "viewer/UniqueHandle.h"

namespace corvelle {
namespace {

void DestroyMenuHandle(HMENU menu) { ::DestroyMenu(menu); }
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &DestroyMenuHandle>>;

bool AskForFile(HWND owner, ExportType type, const std::wstring& viewedPath, std::wstring& chosen) {
    const std::wstring extension = WidenAscii(ExportFileExtension(type));
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

std::wstring WidenUtf8(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

// Each picture a file in the folder, written whole, the folder made once there
// is one; should one fail, what this export did is undone (a file that was
// there before is put back).
void RunFolderExport(HWND owner, const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                     const std::wstring& viewedPath, const std::wstring& folderPath) {
    FolderWriter folder(viewedPath, folderPath);
    bool opened = false, written = true;
    size_t files = 0;
    const auto write = [&](const std::string& name, std::string_view bytes) {
        if (!opened) {
            opened = true;
            if (!folder.Open()) return written = false;
        }
        written = folder.Write(name, bytes);
        files += written ? 1 : 0;
        return written;
    };
    std::string error;
    bool made = false;
    try {
        made = ExportToFiles(database, type, options, write, error);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory for it";
    }
    if (!written)
        Tell(owner, L"The pictures could not be written: " + WidenUtf8(folder.Error()));
    else if (!made)
        Tell(owner, L"The export could not be made: " + WidenAscii(error.c_str()));
    else if (files == 0)
        Tell(owner, L"There is no picture to export.");
    if (written && made) folder.Commit();
}

void RunExport(HWND owner, const DecodedDatabase& database, const ExportMenuItem& item,
               const std::vector<size_t>& selection, const std::wstring& viewedPath, const char* encoding) {
    std::wstring target;
    if (!AskForFile(owner, item.type, viewedPath, target)) return;
    if (IsSameFile(target, viewedPath)) {
        Tell(owner, L"The export cannot replace the file being viewed. Choose another name.");
        return;
    }
    ExportOptions options;
    options.encoding = encoding;
    if (item.selectedOnly) options.selection = &selection;
    if (ExportWritesFolder(item.type)) {
        RunFolderExport(owner, database, item.type, options, viewedPath, target);
        return;
    }
    // Written as it is made, through the same stream as corvelle-dump -o:
    // the file is replaced only once the whole export is in.
    WholeFileStream file(target);
    const auto write = [&file](std::string_view piece) { return file.Write(piece); };
    std::string error;
    bool made = false;
    try {
        made = ExportToOutput(database, item.type, options, write, error);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory for it";
    }
    if (!file.Error().empty() || (made && !file.Commit())) {
        Tell(owner, L"The file could not be written: " + target);
    } else if (!made) {
        Tell(owner, L"The export could not be made: " + WidenAscii(error.c_str()));
    }
}

}  // namespace

void RunExportMenu(HWND owner, POINT screen, const DecodedDatabase& database, const std::vector<size_t>& selection,
                   const std::wstring& viewedPath, const char* encoding) {
    const std::vector<ExportMenuItem> items = ExportMenuItems(database);
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu || items.empty()) return;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && items[i].selectedOnly && !items[i - 1].selectedOnly) {
            ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        }
        const UINT state = items[i].selectedOnly && selection.empty() ? MF_GRAYED : MF_ENABLED;
        ::AppendMenuW(menu.Get(), MF_STRING | state, items[i].command, items[i].text.c_str());
    }
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
    for (const ExportMenuItem& item : items) {
        if (item.command == chosen) RunExport(owner, database, item, selection, viewedPath, encoding);
    }
}

}  // namespace corvelle
