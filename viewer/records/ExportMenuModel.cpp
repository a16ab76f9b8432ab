#include "viewer/records/ExportMenuModel.h"

namespace corvelle {
namespace {

constexpr unsigned kFirstCommand = 100;

// The viewed file's name without its folder and extension.
std::wstring StemOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::wstring WidenAscii(const char* text) {
    std::wstring wide;
    for (; text != nullptr && *text != '\0'; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

std::vector<ExportMenuItem> ExportMenuItems(const DecodedDatabase& database) {
    std::vector<ExportMenuItem> items;
    std::vector<ExportType> types;
    for (ExportType type : ExportTypesFor(database)) {
        // Raw's folder of every entry's bytes is the command line's; a folder
        // of pictures is offered as the files a person looks at.
        if (type != ExportType::kRaw) types.push_back(type);
    }
    unsigned command = kFirstCommand;
    for (bool selectedOnly : {false, true}) {
        for (ExportType type : types) {
            items.push_back({command++,
                             std::wstring(selectedOnly ? L"Export selected as " : L"Export all as ") +
                                 WidenAscii(ExportTypeTitle(type)) + L"\u2026",
                             type, selectedOnly});
        }
    }
    return items;
}

std::wstring SuggestedExportName(const std::wstring& viewedPath, ExportType type) {
    if (ExportWritesFolder(type)) return StemOf(viewedPath) + L" " + WidenAscii(ExportTypeName(type));
    return StemOf(viewedPath) + L"." + WidenAscii(ExportFileExtension(type));
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring SaveDialogFilter(ExportType type) {
    std::wstring filter;
    if (!ExportWritesFolder(type)) {
        const std::wstring extension = WidenAscii(ExportFileExtension(type));
        filter = WidenAscii(ExportTypeTitle(type)) + L" (*." + extension + L")";
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

}  // namespace corvelle
