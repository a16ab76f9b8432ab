// The table of code pages, shared by both platforms' decoders.
#include "standards/CodePage.h"

#include <cctype>

namespace corvelle {
namespace {

struct CodePageName {
    const char* spelling;
    CodePageInfo page;
};

// Shift_JIS and Big5 are converted as Windows' code pages 932 and 950, which
// is what Japanese and Chinese Palm devices wrote: their byte 5Ch is a
// backslash, not the yen sign of strict Shift_JIS, and the vendor rows map.
constexpr CodePageInfo kCp1252{"cp1252", "CP1252", 1252};
constexpr CodePageInfo kCp1250{"cp1250", "CP1250", 1250};
constexpr CodePageInfo kCp1251{"cp1251", "CP1251", 1251};
constexpr CodePageInfo kCp1253{"cp1253", "CP1253", 1253};
constexpr CodePageInfo kShiftJis{"shift_jis", "CP932", 932};
constexpr CodePageInfo kBig5{"big5", "CP950", 950};
// Mobipocket books name UTF-8 as 65001, Windows' number for it.
constexpr CodePageInfo kUtf8{"utf-8", "UTF-8", 65001};

// The canonical name first: CodePageNames lists only those.
const CodePageName kNames[] = {
    {"cp1252", kCp1252},       {"windows-1252", kCp1252}, {"cp1250", kCp1250},     {"windows-1250", kCp1250},
    {"cp1251", kCp1251},       {"windows-1251", kCp1251}, {"cp1253", kCp1253},     {"windows-1253", kCp1253},
    {"shift_jis", kShiftJis},  {"sjis", kShiftJis},       {"cp932", kShiftJis},    {"big5", kBig5},
    {"cp950", kBig5},          {"utf-8", kUtf8},          {"utf8", kUtf8},
};

bool SameIgnoringCase(std::string_view a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

}  // namespace

const CodePageInfo* FindCodePage(std::string_view name) {
    for (const CodePageName& entry : kNames)
        if (SameIgnoringCase(name, entry.spelling)) return &entry.page;
    return nullptr;
}

const CodePageInfo* FindCodePageNumber(unsigned windowsCodePage) {
    for (const CodePageName& entry : kNames)
        if (entry.page.windowsCodePage == windowsCodePage) return &entry.page;
    return nullptr;
}

std::string CodePageNames() {
    std::string names;
    for (const CodePageName& entry : kNames) {
        if (std::string_view(entry.spelling) != entry.page.name) continue;
        if (!names.empty()) names += ", ";
        names += entry.spelling;
    }
    return names;
}

}  // namespace corvelle
