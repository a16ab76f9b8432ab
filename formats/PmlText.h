// PML, the markup of eReader books, read as a person reads the book: the
// commands (a backslash and a letter or two, some with ="…") become
// headings, styles, images and rules of a DocumentSink, or nothing at all;
// no markup is left over. The text comes in pieces (one record each) that
// may cut a word or a command anywhere: a command cut at the end of a piece
// waits for the next one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dump/ByteSpan.h"
#include "formats/DocumentText.h"

namespace corvelle {

// Where the converter finds the images that \m="name" names.
class PmlImages {
public:
    virtual ~PmlImages() = default;
    // The whole PNG file of that name; no bytes when the book holds none.
    virtual ByteSpan Find(std::string_view name) const = 0;
};

// cp1252 bytes appended as UTF-8. eReader books are cp1252 whatever the
// user's code page: the five bytes the page leaves unassigned become U+FFFD.
void AppendCp1252(std::string_view bytes, std::string& utf8);
// The way back, for what wants the device's bytes: a character cp1252 lacks
// (or malformed UTF-8) becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);

class PmlText {
public:
    explicit PmlText(const PmlImages* images = nullptr) : m_images(images) {}

    // The next piece of the text, in cp1252.
    void Add(std::string_view piece, DocumentSink& sink);
    // The end of the text: a command still waiting is read as far as it
    // goes, an open heading is given.
    void Finish(DocumentSink& sink);
    // What waits for the next piece: a command that the last piece cut.
    std::string_view Unfinished() const { return m_pending; }

private:
    enum Flag : unsigned {
        kItalic = 1,
        kUnderline = 2,
        kBold = 4,      // \B
        kBoldFont = 8,  // \b, the older bold font
        kOverstrike = 16,
        kStrike = 32,  // \s
    };

    // Reads `text` from its start; returns where a cut command begins (the
    // end when nothing waits).
    size_t Parse(std::string_view text, bool final, DocumentSink& sink);
    // The command at text[at] (a backslash); returns the offset after it, or
    // `at` itself when the text ends before the command does.
    size_t Command(std::string_view text, size_t at, bool final, DocumentSink& sink);
    void Emit(std::string_view cp1252);
    void EmitUtf8(std::string_view utf8);
    void LineEnd();
    void Toggle(unsigned flag, DocumentSink& sink);
    void ToggleHeading(DocumentSink& sink);
    void GiveHeading(DocumentSink& sink);
    void PageBreak(bool always, DocumentSink& sink);
    void FlushRun(DocumentSink& sink);
    unsigned Style() const;

    const PmlImages* m_images;
    std::string m_pending;  // a command cut at the end of the last piece
    std::string m_run;      // UTF-8 of the current style, not yet given
    std::string m_heading;  // the chapter title being read
    unsigned m_flags = 0;
    bool m_inHeading = false;
    bool m_invisible = false;
    bool m_afterCr = false;  // a CR was read: an LF right after it is the same line end
    // A line that held commands and no text (a heading, a rule, \c on a
    // line of its own) leaves no empty line behind.
    bool m_lineHasText = false;
    bool m_lineHasMarkup = false;
    bool m_givenSinceBreak = false;  // a page break at the start or after another shows nothing
};

}  // namespace corvelle
