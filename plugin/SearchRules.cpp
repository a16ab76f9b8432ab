#include "plugin/SearchRules.h"

namespace corvelle {
namespace {

// A byte, or a UTF-16 code unit, as an unsigned number.
unsigned Unit(char c) { return static_cast<unsigned char>(c); }
unsigned Unit(char16_t c) { return c; }

unsigned FoldAscii(unsigned c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// Bytes (and code units) of 80h and above count as letters: in every ANSI
// code page most of them are, and splitting a word at an accented letter
// would be worse.
bool IsWordByte(unsigned c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == '_' || c >= 0x80;
}

template <class String>
bool MatchesAt(const String& text, const String& needle, size_t position, bool matchCase) {
    for (size_t i = 0; i < needle.size(); ++i) {
        unsigned a = Unit(text[position + i]);
        unsigned b = Unit(needle[i]);
        if (!matchCase) {
            a = FoldAscii(a);
            b = FoldAscii(b);
        }
        if (a != b) return false;
    }
    return true;
}

template <class String>
bool IsWholeWordAt(const String& text, size_t position, size_t length) {
    const bool startsWord = position == 0 || !IsWordByte(Unit(text[position - 1]));
    const size_t end = position + length;
    const bool endsWord = end == text.size() || !IsWordByte(Unit(text[end]));
    return startsWord && endsWord;
}

template <class String>
bool IsHit(const String& text, const String& needle, size_t position, int flags) {
    return MatchesAt(text, needle, position, (flags & kSearchMatchCase) != 0) &&
           ((flags & kSearchWholeWords) == 0 || IsWholeWordAt(text, position, needle.size()));
}

template <class String>
std::optional<TextRange> FindIn(const String& text, const String& needle, TextRange selection, int flags) {
    if (needle.empty() || needle.size() > text.size()) return std::nullopt;
    const bool first = (flags & kSearchFindFirst) != 0;
    if (!first && (selection.start > selection.end || selection.end > text.size())) {
        return std::nullopt;
    }
    const size_t lastStart = text.size() - needle.size();

    if ((flags & kSearchBackwards) == 0) {
        for (size_t position = first ? 0 : selection.end; position <= lastStart; ++position) {
            if (IsHit(text, needle, position, flags)) return TextRange{position, position + needle.size()};
        }
        return std::nullopt;
    }

    // Backwards: candidates start before the selection (anywhere on a first
    // search), the nearest one first.
    size_t limit = first ? lastStart + 1 : selection.start;
    if (limit > lastStart + 1) limit = lastStart + 1;
    for (size_t position = limit; position-- > 0;) {
        if (IsHit(text, needle, position, flags)) return TextRange{position, position + needle.size()};
    }
    return std::nullopt;
}

}  // namespace

std::optional<TextRange> FindMatch(const std::string& text, const std::string& needle,
                                  TextRange selection, int flags) {
    return FindIn(text, needle, selection, flags);
}

std::optional<TextRange> FindMatch(const std::u16string& text, const std::u16string& needle,
                                  TextRange selection, int flags) {
    return FindIn(text, needle, selection, flags);
}

}  // namespace corvelle
