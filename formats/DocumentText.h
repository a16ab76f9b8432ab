// A document as a person reads it, given piece by piece: what a format with a
// text hands the Text page and `--export text`. The reader of each format
// takes its markup off and converts its code page. The pieces are
// well-formed UTF-8 (a decoder's output, or characters the reader writes
// itself, cut only at ASCII bytes), so that the sinks need not check them
// again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dump/ByteSpan.h"

namespace corvelle {

class TextDecoder;

// The styles a run of text may carry, as bits.
namespace text_style {
constexpr unsigned kBold = 1;
constexpr unsigned kItalic = 2;
constexpr unsigned kUnderline = 4;
constexpr unsigned kStrike = 8;
}  // namespace text_style

class DocumentSink {
public:
    virtual ~DocumentSink() = default;
    // Running text; '\n' ends a paragraph (a reader gives LF, never CR LF).
    virtual void Text(std::string_view utf8, unsigned style = 0) = 0;
    // A chapter title or a header: a paragraph of its own.
    virtual void Heading(std::string_view utf8) = 0;
    // An image where it stands: a whole JPEG, PNG, GIF or BMP file, or no
    // bytes when the document names one it does not hold.
    virtual void Image(const ByteSpan& file) = 0;
    // A horizontal rule or a page break: a paragraph of its own.
    virtual void Rule() = 0;
    // Something cut short or left out (a damaged record, a loop in a
    // dictionary, a bomb), in one line.
    virtual void Note(std::string text) = 0;
};

// What a document's reader needs beyond the database.
struct TextOptions {
    // The code page of a document whose format names none (PalmDOC, TealDoc,
    // zTXT, Plucker without metadata): the user's setting.
    TextDecoder* fallbackDecoder = nullptr;
};

// One pass over a document's text.
class DocumentReader {
public:
    virtual ~DocumentReader() = default;
    // Gives the next piece (about one record's text) to `sink`; false once
    // the whole document has been given.
    virtual bool Next(DocumentSink& sink) = 0;
};

// A document's bytes in its code page, converted as they come: bytes are
// held back after the last line feed of a piece, so that a character that
// two records share (UTF-8, Shift_JIS, Big5: none has 0Ah inside a
// character) is converted whole.
class DeviceText {
public:
    enum class LineEnds { kLf, kAsTheyAre };

    explicit DeviceText(TextDecoder& decoder, LineEnds lineEnds = LineEnds::kLf)
        : m_decoder(decoder), m_lineEnds(lineEnds) {}
    // Appends `bytes`; returns the UTF-8 of what can be converted so far,
    // with CR LF (and a lone CR) as LF unless the line ends stay.
    std::string Add(std::string_view bytes);
    // The rest, at the end of the document.
    std::string Finish();

private:
    std::string CutLongLine();
    std::string Convert(std::string_view bytes);

    TextDecoder& m_decoder;
    const LineEnds m_lineEnds;
    std::string m_pending;
};

}  // namespace corvelle
