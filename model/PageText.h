// The Text page's text as its rich-edit control holds it, built from a
// document's pieces: UTF-16 with CR LF paragraph ends, so that a position
// here is the control's own (a rich-edit 1.0 control counts CR LF as two
// characters), and the runs of it that carry a style. Free of Win32 so that
// the rules are checked natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/DocumentText.h"

namespace corvelle {

// The page's own styles, beyond the text_style bits a format gives.
namespace page_style {
constexpr unsigned kHeading = 0x100;  // a chapter title or header: bold and larger
constexpr unsigned kAside = 0x200;    // what the page says itself: an image's place, a note
}  // namespace page_style

// [start, end) of the text in one style; 0 is plain.
struct StyledRun {
    size_t start;
    size_t end;
    unsigned style;
};

// The text the plain-text export writes (export/PlainDocument.h), but as the
// page shows it: a heading in its own style, an image's "[image]" and each
// note, in brackets, as asides, a note on a line of its own where it was
// noted. A NUL, which the control cannot hold, shows as U+FFFD, as do bytes
// that are not UTF-8.
class PageText final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned style = 0) override;
    void Heading(std::string_view utf8) override;
    void Image(const ByteSpan& file) override;
    void Rule() override;
    void Note(std::string text) override;

    // Room for `units` in all, so that a long text is not copied as it grows.
    void Reserve(size_t units) {
        if (units > m_text.capacity()) m_text.reserve(units);
    }
    const std::u16string& Units() const { return m_text; }
    size_t Size() const { return m_text.size(); }
    // The runs that make up [from, to), plain ones included, in order.
    std::vector<StyledRun> RunsIn(size_t from, size_t to) const;

private:
    // Appends `utf8` in `style`; a line feed (or a CR, or CR LF) ends a
    // paragraph, or with `oneLine` becomes a space.
    void Append(std::string_view utf8, unsigned style, bool oneLine = false);
    void AppendUnits(const char16_t* units, size_t count, unsigned style);
    void EndParagraph();
    // Ends the paragraph in progress, so that what follows starts one.
    void StartParagraph();

    std::u16string m_text;
    std::vector<StyledRun> m_runs;  // the styled ones only, in order, apart
    bool m_afterCr = false;         // the last character given was a CR
};

// Where the piece of `text` that starts at `start` ends: at most `wanted`
// units on, after the last paragraph end in that span; without one, after
// its last space; without one, where it reaches, but never between CR and LF
// or inside a surrogate pair. At least one character; never beyond the text.
size_t TextPieceEnd(std::u16string_view text, size_t start, size_t wanted);

// UTF-8 of UTF-16 (an unpaired surrogate becomes U+FFFD), for the clipboard
// texts and the tests.
std::string Utf8FromUnits(std::u16string_view units);
// UTF-16 of UTF-8 (a byte that is not UTF-8 becomes U+FFFD): a search text.
std::u16string UnitsFromUtf8(std::string_view utf8);

}  // namespace corvelle
