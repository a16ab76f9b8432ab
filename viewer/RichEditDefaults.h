// What the dump page gives its rich-edit control: the default character
// format built from the host's Lister font, the tab-stop count the paragraph
// format can hold, and the text limit. Free of Win32 so that the rules are
// checked natively; the bit values are the rich-edit ones.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ListerFont.h"

namespace corvelle {

constexpr uint32_t kCfmBold = 0x00000001;
constexpr uint32_t kCfmItalic = 0x00000002;
constexpr uint32_t kCfmFace = 0x20000000;
constexpr uint32_t kCfmSize = 0x80000000;
constexpr uint32_t kCfeBold = 0x0001;
constexpr uint32_t kCfeItalic = 0x0002;

// The face-name field of the character format: 31 characters and a zero.
constexpr size_t kFaceNameSize = 32;
// The paragraph format holds at most this many tab stops.
constexpr int kMaxTabStops = 32;
// What ApplyParaFormat puts before every paragraph, in twips.
constexpr int32_t kSpaceBeforeParagraph = 60;

// The fields of a character format that the Lister font can change.
struct CharFormatFields {
    uint32_t mask = 0;
    uint32_t effects = 0;
    int32_t height = 0;  // twips
    char faceName[kFaceNameSize] = {};
};

// Turns the control's current default format `format` into the one to set for
// `font`; answers whether anything is to be written. A height replaces the
// mask by the size alone (so the control's other attributes are not written
// back); face, bold and italic add to the mask. A record with nothing set
// leaves `format` and the control alone.
bool ApplyListerFont(CharFormatFields& format, const ListerFont& font);

// Copies the zero-terminated text in `source` (a field of `sourceSize` bytes,
// which need not hold a zero) into `destination` of `destinationSize` bytes,
// cut to fit and always zero-terminated. Answers the number of characters
// copied.
size_t CopyCutText(char* destination, size_t destinationSize, const char* source,
                   size_t sourceSize);

// The number of tab stops the paragraph format can take from a list of
// `count` entries: never negative, never more than it holds, and 0 when there
// is no list at all.
int UsableTabCount(int count, bool haveList);

// The text limit to set before a text of `length` bytes goes into the
// control: at least the length, so the text is never cut, and never below the
// control's own default of 64 KB, so a short report does not shrink it.
uint32_t TextLimitFor(size_t length);

}  // namespace corvelle
