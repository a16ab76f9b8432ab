#include "plugin/FileNameRules.h"

#include <cstring>
#include <cwchar>

namespace corvelle {
namespace {

// Only ASCII letters are folded: the list is ASCII, and folding bytes of a
// code page (or UTF-16 units) by a locale could make a foreign letter equal
// to one of ours.
template <typename Char>
unsigned FoldAscii(Char c) {
    const auto value = static_cast<unsigned>(c);
    return (value >= 'A' && value <= 'Z') ? value + ('a' - 'A') : value;
}

template <typename Char>
size_t TextLength(const Char* text) {
    size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

template <typename Char>
bool EqualsItemIgnoringCase(const Char* extension, size_t extensionLength,
                            const char* item, size_t itemLength) {
    if (extensionLength != itemLength) return false;
    for (size_t i = 0; i < itemLength; ++i) {
        if (FoldAscii(extension[i]) != FoldAscii(static_cast<unsigned char>(item[i]))) return false;
    }
    return true;
}

template <typename Char>
bool IsHandledExtensionOf(const Char* extension, const char* list) {
    if (extension == nullptr || list == nullptr) return false;
    const size_t extensionLength = TextLength(extension);
    const char* item = list;
    for (;;) {
        const char* comma = std::strchr(item, ',');
        const size_t itemLength = comma ? static_cast<size_t>(comma - item) : std::strlen(item);
        if (EqualsItemIgnoringCase(extension, extensionLength, item, itemLength)) return true;
        if (comma == nullptr) return false;
        item = comma + 1;
    }
}

template <typename Char>
bool IsHandledPathOf(const Char* path, char separator = '\\') {
    if (path == nullptr || path[0] == 0) return false;
    const Char* lastSeparator = nullptr;
    for (const Char* p = path; *p != 0; ++p) {
        if (*p == Char(separator)) lastSeparator = p;
    }
    if (lastSeparator == nullptr) return false;

    const Char* component = lastSeparator + 1;
    if (component[0] == Char('.') && component[1] == Char('.')) return false;

    const Char* lastDot = nullptr;
    for (const Char* p = component; *p != 0; ++p) {
        if (*p == Char('.')) lastDot = p;
    }
    if (lastDot == nullptr) return false;
    return IsHandledExtensionOf(lastDot + 1, kHandledExtensions);
}

}  // namespace

bool IsHandledExtension(const char* extension, const char* list) {
    return IsHandledExtensionOf(extension, list);
}

bool IsHandledExtension(const wchar_t* extension, const char* list) {
    return IsHandledExtensionOf(extension, list);
}

bool IsHandledPath(const char* path) { return IsHandledPathOf(path); }

bool IsHandledPosixPath(const char* path) { return IsHandledPathOf(path, '/'); }

bool IsHandledPath(const wchar_t* path) { return IsHandledPathOf(path); }

}  // namespace corvelle
