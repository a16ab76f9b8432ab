#include "model/SearchRules.h"

#include "standards/Utf8.h"

namespace corvelle {
namespace {

// A byte, or a UTF-16 code unit, as an unsigned number.
unsigned Unit(char c) { return static_cast<unsigned char>(c); }
unsigned Unit(char16_t c) { return c; }

unsigned FoldAscii(unsigned c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// The lower case of a capital letter whose pair is one code unit away, in a
// range where capitals sit at even (or odd) code units.
unsigned FoldPair(unsigned c, bool capitalsEven) { return ((c & 1) == 0) == capitalsEven ? c + 1 : c; }

// A UTF-16 unit's simple lower case in the scripts whose letters have case
// in books: Latin (Latin-1 and Extended-A), Greek and Cyrillic; other units
// as they are. Each mapping keeps the unit count, so a match's positions are
// the text's own. Dotted and dotless i keep their case: they fold to no
// single unit of their own.
unsigned FoldUnit(unsigned c) {
    if (c < 0x80) return FoldAscii(c);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x100 && c <= 0x12F) return FoldPair(c, true);
    if (c >= 0x132 && c <= 0x137) return FoldPair(c, true);
    if (c >= 0x139 && c <= 0x148) return FoldPair(c, false);
    if (c >= 0x14A && c <= 0x177) return FoldPair(c, true);
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return FoldPair(c, false);
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
    if (c == 0x3C2) return 0x3C3;  // final sigma is a sigma
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) {
        return FoldPair(c, true);
    }
    if (c == 0x4C0) return 0x4CF;
    if (c >= 0x4C1 && c <= 0x4CE) return FoldPair(c, false);
    return c;
}

// Bytes (and code units) of 80h and above count as letters: in every ANSI
// code page most of them are, and splitting a word at an accented letter
// would be worse.
bool IsWordByte(unsigned c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == '_' || c >= 0x80;
}

// Without case, a byte is folded within ASCII only, a UTF-16 unit as a letter.
unsigned Fold(char c) { return FoldAscii(Unit(c)); }
unsigned Fold(char16_t c) { return FoldUnit(c); }

template <class String>
bool MatchesAt(const String& text, const String& needle, size_t position, bool matchCase) {
    for (size_t i = 0; i < needle.size(); ++i) {
        const unsigned a = matchCase ? Unit(text[position + i]) : Fold(text[position + i]);
        const unsigned b = matchCase ? Unit(needle[i]) : Fold(needle[i]);
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

// A UTF-8 text read a character at a time: its code points, each folded as
// a UTF-16 unit is (a character beyond the BMP has no case in the rules).
struct Utf8Text {
    const std::string& text;
    size_t size() const { return text.size(); }
    bool empty() const { return text.empty(); }
    bool StartsCharacter(size_t at) const { return (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80; }
    // The code point at `at` and its length; a byte that is not UTF-8 stands for itself.
    unsigned At(size_t at, size_t& length) const {
        length = Utf8Length(text, at);
        if (length <= 1) {
            length = 1;
            return static_cast<unsigned char>(text[at]);
        }
        unsigned codePoint = static_cast<unsigned char>(text[at]) & (0x7Fu >> length);
        for (size_t i = 1; i < length; ++i) codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
        return codePoint;
    }
};

unsigned FoldCodePoint(unsigned c) { return c <= 0xFFFF ? FoldUnit(c) : c; }

bool Utf8MatchesAt(const Utf8Text& text, const Utf8Text& needle, size_t position, bool matchCase) {
    for (size_t i = 0, j = position; i < needle.size();) {
        if (j >= text.size()) return false;
        size_t needleLength = 0, textLength = 0;
        const unsigned b = needle.At(i, needleLength), a = text.At(j, textLength);
        if (needleLength != textLength) return false;
        if (matchCase ? a != b : FoldCodePoint(a) != FoldCodePoint(b)) return false;
        i += needleLength;
        j += textLength;
    }
    return true;
}

bool IsHit(const Utf8Text& text, const Utf8Text& needle, size_t position, int flags) {
    return text.StartsCharacter(position) &&
           Utf8MatchesAt(text, needle, position, (flags & kSearchMatchCase) != 0) &&
           ((flags & kSearchWholeWords) == 0 || IsWholeWordAt(text.text, position, needle.size()));
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

std::optional<TextRange> FindTextMatch(const std::string& utf8, const std::string& needle, TextRange selection,
                                       int flags) {
    return FindIn(Utf8Text{utf8}, Utf8Text{needle}, selection, flags);
}

std::optional<TextRange> FindMatch(const std::string& text, const std::string& needle,
                                  TextRange selection, int flags) {
    return FindIn(text, needle, selection, flags);
}

std::optional<TextRange> FindMatch(const std::u16string& text, const std::u16string& needle,
                                  TextRange selection, int flags) {
    return FindIn(text, needle, selection, flags);
}

}  // namespace corvelle
