#include "viewer/records/ExportMenu.h"

#include <commdlg.h>

#include <new>

#include "io/SameFile.h"
#include "io/WholeFileWriter.h"
#include "viewer/UniqueHandle.h"

namespace corvelle {
namespace {

void DestroyMenuHandle(HMENU menu) { ::DestroyMenu(menu); }
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &DestroyMenuHandle>>;

constexpr UINT kFirstCommand = 100;

const wchar_t* FormatTitle(ExportFormat format) {
    switch (format) {
    case ExportFormat::kVCard:
        return L"vCard";
    case ExportFormat::kICalendar:
        return L"iCalendar";
    case ExportFormat::kText:
        return L"text";
    case ExportFormat::kJson:
        return L"JSON";
    default:
        return L"raw";
    }
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; text != nullptr && *text != '\0'; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

// The viewed file's name without its folder and extension, for the
// suggested name; its folder, for where the dialog opens.
std::wstring StemOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool AskForFile(HWND owner, ExportFormat format, const std::wstring& viewedPath, std::wstring& chosen) {
    const std::wstring extension = Widen(ExportFileExtension(format));
    std::wstring filter = std::wstring(FormatTitle(format)) + L" (*." + extension + L")" + L'\0' + L"*." +
                          extension + L'\0' + L"All files (*.*)" + L'\0' + L"*.*" + L'\0' + L'\0';
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring suggested = StemOf(viewedPath) + L"." + extension;
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
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!::GetSaveFileNameW(&dialog)) return false;  // cancelled, or the dialog failed
    chosen = name.data();
    return !chosen.empty();
}

void Tell(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), L"Corvelle", MB_OK | MB_ICONWARNING);
}

void RunExport(HWND owner, const DatabaseModel& model, const ExportMenuItem& item,
               const std::vector<size_t>& selection, const std::wstring& viewedPath) {
    std::wstring target;
    if (!AskForFile(owner, item.format, viewedPath, target)) return;
    if (IsSameFile(target, viewedPath)) {
        Tell(owner, L"The export cannot replace the file being viewed. Choose another name.");
        return;
    }
    ExportOptions options;
    if (item.selectedOnly) options.selection = &selection;
    std::string text, error;
    bool made = false;
    try {
        made = ExportToText(model, item.format, options, text, error);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory for it";
    }
    if (!made) {
        Tell(owner, L"The export could not be made: " + Widen(error.c_str()));
        return;
    }
    if (!WriteWholeFile(target, text, error)) Tell(owner, L"The file could not be written: " + target);
}

}  // namespace

std::vector<ExportMenuItem> ExportMenuItems(const DatabaseModel& model) {
    std::vector<ExportMenuItem> items;
    std::vector<ExportFormat> formats;
    for (ExportFormat format : ExportFormatsFor(model)) {
        if (*ExportFileExtension(format) != '\0') formats.push_back(format);
    }
    UINT command = kFirstCommand;
    for (bool selectedOnly : {false, true}) {
        for (ExportFormat format : formats) {
            items.push_back({command++,
                             std::wstring(selectedOnly ? L"Export selected as " : L"Export all as ") +
                                 FormatTitle(format) + L"\u2026",
                             format, selectedOnly});
        }
    }
    return items;
}

void RunExportMenu(HWND owner, POINT screen, const DatabaseModel& model, const std::vector<size_t>& selection,
                   const std::wstring& viewedPath) {
    const std::vector<ExportMenuItem> items = ExportMenuItems(model);
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
        if (item.command == chosen) RunExport(owner, model, item, selection, viewedPath);
    }
}

}  // namespace corvelle
