// The Text page's text as the model holds it for either front end: UTF-8
// with LF paragraph ends, positions in bytes, and the runs of it that carry a
// style. Each front end converts at its own edge (the Win32 page to the
// rich edit's UTF-16 and CR LF, the Qt page to QString).
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

// Adds [start, end) in `style` to `runs` (the styled ones only, in order,
// apart), joining it to the last run when that one ends at `start` in the
// same style.
void AddStyledRun(std::vector<StyledRun>& runs, size_t start, size_t end, unsigned style);
// The runs that make up [from, to) of a text of `size` whose styled runs are
// `runs` (as AddStyledRun keeps them), plain ones included, in order.
std::vector<StyledRun> RunsBetween(const std::vector<StyledRun>& runs, size_t size, size_t from, size_t to);

// The text the plain-text export writes (export/PlainDocument.h), but as the
// page shows it: a heading in its own style, an image's "[image]" and each
// note, in brackets, as asides, a note on a line of its own where it was
// noted. Always well-formed UTF-8: a NUL and bytes that are not UTF-8 show
// as U+FFFD. A paragraph's end is plain: a styled one would give the next
// paragraph's first line that style in a control.
class PageText final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned style = 0) override;
    void Heading(std::string_view utf8) override;
    void Image(const ByteSpan& file) override;
    void Rule() override;
    void Note(std::string text) override;

    // Room for `bytes` in all, so that a long text is not copied as it grows.
    void Reserve(size_t bytes) {
        if (bytes > m_text.capacity()) m_text.reserve(bytes);
    }
    size_t Capacity() const { return m_text.capacity(); }
    const std::string& Utf8() const { return m_text; }
    size_t Size() const { return m_text.size(); }
    std::vector<StyledRun> RunsIn(size_t from, size_t to) const { return RunsBetween(m_runs, m_text.size(), from, to); }

private:
    // Appends `utf8` in `style`; a line feed (or a CR, or CR LF) ends a
    // paragraph, or with `oneLine` becomes a space.
    void Append(std::string_view utf8, unsigned style, bool oneLine = false);
    void EndParagraph() { m_text += '\n'; }
    // Ends the paragraph in progress, so that what follows starts one.
    void StartParagraph();

    std::string m_text;
    std::vector<StyledRun> m_runs;  // the styled ones only, in order, apart
    bool m_afterCr = false;         // the last character given was a CR
};

// Where the piece of `text` that starts at `start` ends: at most `wanted`
// bytes on, after the last paragraph end in that span; without one, after
// its last space; without one, where it reaches, but never inside a
// character. At least one character; never beyond the text.
size_t TextPieceEnd(std::string_view text, size_t start, size_t wanted);

}  // namespace corvelle
