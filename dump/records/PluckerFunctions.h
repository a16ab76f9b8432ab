// The text of a Plucker record (uncompressed): bytes of the book's character
// set with functions among them. A function is a 00h byte and a code whose
// low 3 bits are the length of its arguments; the two Unicode functions are
// followed by an alternate text in Latin-1, which a reader that shows the
// character skips.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/PluckerRecord.h"

namespace corvelle {

namespace plucker_function {
constexpr uint8_t kLinkEnd = 0x08, kPageLink = 0x0A, kTargetedPageLink = 0x0B, kParagraphLink = 0x0C,
                  kTargetedParagraphLink = 0x0D, kFont = 0x11, kImage = 0x1A, kMargin = 0x22, kAlignment = 0x29,
                  kRule = 0x33, kNewLine = 0x38, kItalic = 0x40, kItalicEnd = 0x48, kColor = 0x53,
                  kMultipleImage = 0x5C, kUnderline = 0x60, kUnderlineEnd = 0x68, kStrike = 0x70,
                  kStrikeEnd = 0x78, kUnicode16 = 0x83, kUnicode32 = 0x85, kTableRow = 0x90, kTable = 0x92,
                  kTableCell = 0x97, kExactLink = 0x9A;
}  // namespace plucker_function

// The fonts of the font function: 1 to 6 suit headings h1 to h6, 7 is bold.
constexpr uint8_t kPluckerFirstHeadingFont = 1, kPluckerLastHeadingFont = 6, kPluckerBoldFont = 7;

class PluckerTextHandler {
public:
    virtual ~PluckerTextHandler() = default;
    // A run of text between functions, never across a paragraph's end.
    virtual void Text(std::string_view bytes) = 0;
    // A Unicode character and the alternate text that stands for it.
    virtual void Character(uint32_t codePoint, std::string_view alternate) = 0;
    // Any other function, with its (code & 7) argument bytes.
    virtual void Function(uint8_t code, const uint8_t* arguments) = 0;
    virtual void ParagraphEnd() = 0;
};

// Gives the text to `handler` run by run, ending each paragraph where the
// paragraph headers' sizes say (text past them is the last paragraph's).
// Without `endLast`, the last paragraph is not ended: it goes on in the
// next record. False when a function's arguments are cut by the end.
bool WalkPluckerText(const ByteSpan& text, const std::vector<PluckerParagraph>& paragraphs,
                     PluckerTextHandler& handler, bool endLast = true);

}  // namespace corvelle
