// A Plucker book's text as a person reads it: text records in file order,
// each paragraph a line, a font of 1 to 6 a heading, font 7 bold, the
// italic, underline and strike-through functions as styles, a rule, an
// image as "[image]" (Plucker's images are Palm bitmaps, not image files),
// a Unicode character instead of its alternate text, and a table's rows
// as lines with its cells apart by a TAB. Links leave their text where it
// stands; the other functions leave nothing.
#pragma once

#include <memory>
#include <string>

#include "formats/DocumentText.h"
#include "formats/PluckerBook.h"

namespace corvelle {

// The whole book; `fallback` reads a book (or record) that names no
// character set, or one we do not convert.
std::unique_ptr<DocumentReader> OpenPluckerDocument(const PluckerBook& book, TextDecoder& fallback);

// One text or table record's text as above, in UTF-8, with LF line ends;
// the notes its reading gave go to `notes`.
std::string PluckerRecordReadable(const PluckerBook& book, size_t index, TextDecoder& fallback, std::string* notes);

// One text or table record's text in the bytes of its character set: the
// functions taken off, a Unicode character as its alternate text, LF
// between paragraphs, a TAB between a table's cells.
std::string PluckerRecordBytes(const PluckerRecord& record, const ByteSpan& text);

}  // namespace corvelle
