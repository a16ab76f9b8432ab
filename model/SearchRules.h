// How the Lister's find command searches the text of a page: from the current
// selection, forwards or backwards, with or without case, whole words or any
// match. Platform-free so that every rule is tested without a window.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace corvelle {

// The host's search flags.
inline constexpr int kSearchFindFirst = 1;
inline constexpr int kSearchMatchCase = 2;
inline constexpr int kSearchWholeWords = 4;
inline constexpr int kSearchBackwards = 8;

struct TextRange {
    size_t start;
    size_t end;
};

// Where `needle` occurs in `text` as the host asks for it. A first search
// starts at the beginning (or, backwards, the end) of the text; a repeated one
// moves on from `selection`: forwards to the first match at or after its end,
// backwards to the last match that starts before its start. Letters are
// compared without case only within ASCII: the report's other bytes belong to
// whatever code page the database was written in. An empty needle, or a
// repeated search from a selection outside the text, finds nothing.
std::optional<TextRange> FindMatch(const std::string& text, const std::string& needle,
                                  TextRange selection, int flags);
// The same in UTF-16 (the Text page's text), positions counted in its code
// units; units of 80h and above count as letters, and a search without case
// folds the capitals of Latin, Greek and Cyrillic as well as ASCII's: a text
// in Unicode leaves no doubt which letter a unit is.
std::optional<TextRange> FindMatch(const std::u16string& text, const std::u16string& needle,
                                  TextRange selection, int flags);
// The same rules in UTF-8 (the model's texts), positions counted in bytes:
// a match starts and ends on a character, and the letters fold as in UTF-16
// (every capital the rules fold is as long in UTF-8 as its small letter).
std::optional<TextRange> FindTextMatch(const std::string& utf8, const std::string& needle, TextRange selection,
                                       int flags);

}  // namespace corvelle
