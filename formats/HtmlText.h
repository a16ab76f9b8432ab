// HTML-like markup as a person reads it: the text of a Mobipocket book (and
// of any format whose text is HTML) handed to a DocumentSink without its
// tags. Paragraphs (<p>, <div>, <br>, list items, table rows) end lines,
// <h1>-<h6> are headings, <b>/<strong>, <i>/<em>, <u>, <s>/<strike> are
// styles, <hr> and <mbp:pagebreak/> rules, <img> images; character
// references are decoded; other tags, comments and the contents of <head>,
// <script> and <style> leave nothing. Runs of white space are one space, as
// a browser shows them.
//
// The markup arrives in pieces, cut anywhere (inside a tag, a reference or
// a comment): what is whole goes to the sink at once, the rest waits for the
// next piece. The state is a few flags and the unfinished tag, so that the
// work is linear in the text whatever the markup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dump/ByteSpan.h"
#include "formats/DocumentText.h"

namespace corvelle {

// An image an <img> names: its `recindex` (Mobipocket: 1 is the book's first
// image record) or a KF8 `src="kindle:embed:XXXX"`, which names the same
// number in base 32. Gives the image file, or no bytes.
using HtmlImageFinder = std::function<ByteSpan(uint32_t number)>;

class HtmlText {
public:
    explicit HtmlText(HtmlImageFinder images) : m_images(std::move(images)) {}

    // Takes the next piece of UTF-8 markup.
    void Add(std::string_view utf8, DocumentSink& sink);
    // The end of the markup: an unfinished tag or reference is text.
    void Finish(DocumentSink& sink);

private:
    enum class State { kText, kTag, kComment, kReference };

    void TextByte(char c);
    void Visible(std::string_view utf8);
    // False when the byte ends what began without belonging to it: it is read again as text.
    bool TagByte(char c, DocumentSink& sink);
    bool ReferenceByte(char c);
    void Tag(std::string_view tag, DocumentSink& sink);
    void StartTag(std::string_view name, std::string_view attributes, bool selfClosing, DocumentSink& sink);
    void EndTag(std::string_view name, DocumentSink& sink);
    void Image(std::string_view attributes, DocumentSink& sink);
    void EndParagraph();
    void LineBreak();
    void StartHeading();
    void EndHeading(DocumentSink& sink);
    void Flush(DocumentSink& sink);
    unsigned Style() const;

    HtmlImageFinder m_images;
    State m_state = State::kText;
    std::string m_tag;    // a tag's text between < and >, or a reference's name
    char m_quote = '\0';  // inside a tag: the quote of the attribute value it is in
    std::string m_run;    // text not yet given, all in m_runStyle
    unsigned m_runStyle = 0;
    std::string m_heading;  // a heading's text until it ends
    bool m_inHeading = false;
    std::string m_skipUntil;  // the end tag that ends <head>, <script> or <style>
    bool m_atLineStart = true;
    bool m_space = false;  // white space seen since the last visible character
    unsigned m_bold = 0, m_italic = 0, m_underline = 0, m_strike = 0;
    unsigned m_commentDashes = 0;
};

}  // namespace corvelle
