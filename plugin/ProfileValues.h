// Parsers for the texts that the settings arrive as. Pure functions: the
// texts may come from a hand-edited INI file, so nothing in them is trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/ListerFont.h"

namespace corvelle {

// The code page of a document whose format names none, when the options name
// none either: what Palm devices in western Europe and America wrote.
inline constexpr char kDefaultEncoding[] = "cp1252";

// Whether a "StartPage" value names the Text page: "text" in any letter case.
bool NamesTextPage(const std::string& value);

// Copies at most capacity - 1 characters of `source` and always terminates.
// A zero capacity writes nothing.
void CopyCut(char* destination, size_t capacity, const char* source);

// The system's structure-value INI format: the bytes as two hex digits each,
// then two digits of their sum modulo 256. Any other length, a non-hex digit
// or a wrong checksum gives nullopt, as GetPrivateProfileStructA would fail.
std::optional<std::string> ParseStructValue(const std::string& text, size_t byteCount);

// The saved Lister window position, in screen coordinates.
struct SavedRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// "Rect": a 16-byte structure value of four little-endian signed 32-bit
// integers. A rectangle without positive width and height (or whose size does
// not fit 32 bits) would hide or garble the host's window and is refused too.
std::optional<SavedRect> ParseSavedRect(const std::string& text);

// The C library's atoi rules (leading white space, optional sign, digits up to
// the first other character, 0 without digits), clamped to the int range
// instead of overflowing.
int32_t ParseLeadingInt(const char* text);

// a x b / c rounded to the nearest integer, halves away from zero, as the
// system's MulDiv does; nullopt when c is 0 or the result does not fit.
std::optional<int32_t> MulDivRounded(int32_t a, int32_t b, int32_t c);

// The four comma-separated fields of "Font1" exactly as they stand; a missing
// field is empty and text after a fourth comma is ignored.
struct Font1Fields {
    std::string field[4];
};
Font1Fields SplitFont1(const std::string& value);

ListerFont EmptyListerFont();

// The ListerFont of a "Font1" value: face (cut to fit), then field 1 as a
// height in screen pixels converted to points at `dpi` and stored as
// -20 x points twips, then the "b"/"i" flags of fields 2 and 3, compared
// exactly. A height that cannot be converted (no resolution, a size out of
// range) stays 0, so the page keeps its control's size.
ListerFont ParseFont1(const std::string& value, int dpi);

}  // namespace corvelle
