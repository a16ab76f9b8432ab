// A document as plain UTF-8 text with LF line ends: the one way a
// document's pieces become plain text, for `--export text` of a whole book
// or of selected records, a record's own text, and the Text page's rules.
// Headings are lines of their own, a rule or page break an empty line, an
// image "[image]" where it stands; the notes go apart, never into the text.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/DocumentText.h"

namespace corvelle {

// Appends `utf8` as a document's text reads: CR LF and a lone CR become LF
// (`afterCr` carries a CR that ends one piece over to the next), a NUL and
// bytes that are not UTF-8 become U+FFFD; with `oneLine`, line breaks become
// spaces. The one rule for the export and the Text page alike (the sink
// below skips the UTF-8 check: a reader's text is well formed already).
void AppendDocumentText(std::string_view utf8, std::string& out, bool& afterCr, bool oneLine = false);

// Takes what `out` holds and empties it; false when it could not be passed
// on (the text is then not wanted any more).
using TextFlush = std::function<bool(std::string& out)>;

// PassOn hands the text on once it holds this much (the export's piece size).
constexpr size_t kPlainTextPieceSize = 64 * 1024;

// Appends a document's pieces to `out` as UTF-8 with LF line ends: running
// text as above, its styles dropped; a heading as a line of its own; a rule
// (or page break) as an empty line; an image as "[image]" where it stands.
// Notes go to `warn` (when given), never into the text.
class PlainTextSink final : public DocumentSink {
public:
    PlainTextSink(std::string& out, std::function<void(std::string)> warn)
        : m_out(out), m_warn(std::move(warn)) {}

    // Hands `out` to `flush` once it holds kPlainTextPieceSize bytes or
    // more; false when the flush failed.
    bool PassOn(const TextFlush& flush);

    void Text(std::string_view utf8, unsigned style = 0) override;
    void Heading(std::string_view utf8) override;
    void Image(const ByteSpan& file) override;
    void Rule() override;
    void Note(std::string text) override;

private:
    // Ends the line in progress, so that what follows starts a line.
    void EndLine();

    std::string& m_out;
    std::function<void(std::string)> m_warn;
    bool m_afterCr = false;
    // Whether what was passed on ended a line (or nothing was): `out` no longer shows it.
    bool m_passedEndsLine = true;
};

// The whole document of `document`, as above, with its notes in `notes`.
// `expected`: about how long the text will be (a book's announced length), so that it grows once.
std::string ReadWholeDocument(DocumentReader& document, std::vector<std::string>& notes, size_t expected = 0);

}  // namespace corvelle
