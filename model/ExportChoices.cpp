#include "model/ExportChoices.h"

namespace corvelle {
namespace {

constexpr unsigned kFirstCommand = 100;

// Separators of either system: a Windows name may come with forward slashes.
const NativePath::value_type kSeparators[] = {'\\', '/', 0};

// The viewed file's name without its folder and extension.
NativePath StemOf(const NativePath& path) {
    const size_t slash = path.find_last_of(kSeparators);
    NativePath name = slash == NativePath::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == NativePath::npos || dot == 0 ? name : name.substr(0, dot);
}

NativePath FromAscii(const char* text) {
    NativePath path;
    for (; text != nullptr && *text != '\0'; ++text) path += static_cast<NativePath::value_type>(*text);
    return path;
}

}  // namespace

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
                             std::string(selectedOnly ? "Export selected as " : "Export all as ") +
                                 ExportTypeTitle(type) + "\xE2\x80\xA6",  // U+2026, the dialog to come
                             type, selectedOnly});
        }
    }
    return items;
}

NativePath SuggestedExportName(const NativePath& viewedPath, ExportType type) {
    if (ExportWritesFolder(type)) return StemOf(viewedPath) + FromAscii(" ") + FromAscii(ExportTypeName(type));
    return StemOf(viewedPath) + FromAscii(".") + FromAscii(ExportFileExtension(type));
}

NativePath FolderOf(const NativePath& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == NativePath::npos ? NativePath() : path.substr(0, slash);
}

}  // namespace corvelle
