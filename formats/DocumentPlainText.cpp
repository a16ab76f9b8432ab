#include "formats/DocumentPlainText.h"

#include <cstdint>

#include "standards/ByteWords.h"
#include "standards/CodePage.h"
#include "standards/Utf8.h"

namespace corvelle {

namespace {

// Whether any of the eight bytes of `word` is below 0Eh: a NUL, CR or LF may
// be among them (or a tab, which is then looked at byte by byte).
bool AnyBelow0E(uint64_t word) { return AnyByteBelow(word, 0x0E); }

bool IsNulOrLineEnd(char c) { return c == '\0' || c == '\r' || c == '\n'; }

uint64_t WordAt(std::string_view text, size_t at) { return LoadByteWord(text.data() + at); }

// The end of the run from `at` that goes in as it is: ASCII other than NUL,
// CR and LF, and well-formed characters of more bytes. Most of a book is
// such runs, each appended at once.
size_t CheckedRunEnd(std::string_view utf8, size_t at) {
    const size_t size = utf8.size();
    while (at < size) {
        while (size - at >= 8) {
            const uint64_t word = WordAt(utf8, at);
            if (!AllAscii(word) || AnyBelow0E(word)) break;
            at += 8;
        }
        if (at == size || IsNulOrLineEnd(utf8[at])) break;
        const size_t length = Utf8Length(utf8, at);
        if (length == 0) break;
        at += length;
    }
    return at;
}

// The same for text known to be well-formed: only NUL, CR and LF end a run.
size_t WellFormedRunEnd(std::string_view utf8, size_t at) {
    const size_t size = utf8.size();
    while (at < size) {
        while (size - at >= 8 && !AnyBelow0E(WordAt(utf8, at))) at += 8;
        if (at == size || IsNulOrLineEnd(utf8[at])) break;
        ++at;
    }
    return at;
}

// Appends `utf8` with line ends and NULs as AppendDocumentText says; `runEnd`
// finds where what goes in as it is stops.
template <class RunEnd>
void AppendText(std::string_view utf8, std::string& out, bool& afterCr, bool oneLine, RunEnd runEnd) {
    for (size_t at = 0; at < utf8.size();) {
        const size_t plain = runEnd(utf8, at);
        if (plain > at) {
            out.append(utf8.data() + at, plain - at);
            afterCr = false;
            at = plain;
            continue;
        }
        // A NUL, a line end, or a byte that is not UTF-8.
        const char c = utf8[at++];
        if (c != '\r' && c != '\n') {
            out += kReplacementUtf8;
            afterCr = false;
            continue;
        }
        const bool secondOfPair = c == '\n' && afterCr;  // the CR has ended the line already
        afterCr = c == '\r';
        if (!secondOfPair) out += oneLine ? ' ' : '\n';
    }
}

}  // namespace

void AppendDocumentText(std::string_view utf8, std::string& out, bool& afterCr, bool oneLine) {
    AppendText(utf8, out, afterCr, oneLine, CheckedRunEnd);
}

void PlainTextSink::EndLine() {
    const bool endsLine = m_out.empty() ? m_passedEndsLine : m_out.back() == '\n';
    if (!endsLine) m_out += '\n';
    m_afterCr = false;
}

// A reader's text is well-formed UTF-8 already (see DocumentSink): its code
// page's decoder made it so, and the readers cut it only at ASCII bytes.
// Checked again here, it cost as much as the decoding's own check; only NULs
// and line ends are looked for.
void PlainTextSink::Text(std::string_view utf8, unsigned) {
    AppendText(utf8, m_out, m_afterCr, false, WellFormedRunEnd);
}

void PlainTextSink::Heading(std::string_view utf8) {
    EndLine();
    // One line, whatever the heading held: a line break inside a title is
    // only where its format wrapped it.
    AppendText(utf8, m_out, m_afterCr, true, WellFormedRunEnd);
    m_out += '\n';
    m_afterCr = false;
}

void PlainTextSink::Image(const ByteSpan&) {
    m_out += "[image]";
    m_afterCr = false;
}

void PlainTextSink::Rule() {
    EndLine();
    m_out += '\n';
}

void PlainTextSink::Note(std::string text) {
    if (m_warn) m_warn(std::move(text));
}

bool PlainTextSink::PassOn(const TextFlush& flush) {
    if (m_out.size() < kPlainTextPieceSize) return true;
    m_passedEndsLine = m_out.back() == '\n';
    return flush(m_out);
}

std::string ReadWholeDocument(DocumentReader& document, std::vector<std::string>& notes, size_t expected) {
    std::string text;
    text.reserve(expected);
    PlainTextSink sink(text, [&notes](std::string note) { notes.push_back(std::move(note)); });
    while (document.Next(sink)) {
    }
    return text;
}

}  // namespace corvelle
