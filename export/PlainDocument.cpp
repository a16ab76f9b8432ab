#include "export/PlainDocument.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "export/CodePage.h"
#include "export/Export.h"
#include "export/Utf8.h"
#include "formats/Format.h"

namespace corvelle {

namespace {

// Whether none of the eight bytes of `word` is above 7Fh or below 0Eh: plain
// ASCII with no NUL, CR or LF in it. A tab (09h) also fails, and is taken
// byte by byte.
bool PlainAsciiWord(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101u, kHighBits = 0x8080808080808080u;
    const uint64_t below0E = (word - kOnes * 0x0E) & ~word & kHighBits;
    return ((word & kHighBits) | below0E) == 0;
}

// The end of the run from `at` that goes in as it is: ASCII other than NUL,
// CR and LF, and well-formed characters of more bytes. Most of a book is
// such runs, each appended at once.
size_t PlainRunEnd(std::string_view utf8, size_t at) {
    const size_t size = utf8.size();
    while (at < size) {
        uint64_t word;
        while (size - at >= 8 && (std::memcpy(&word, utf8.data() + at, 8), PlainAsciiWord(word))) at += 8;
        if (at == size) break;
        const char c = utf8[at];
        if (c == '\0' || c == '\r' || c == '\n') break;
        const size_t length = Utf8Length(utf8, at);
        if (length == 0) break;
        at += length;
    }
    return at;
}

}  // namespace

void AppendDocumentText(std::string_view utf8, std::string& out, bool& afterCr, bool oneLine) {
    for (size_t at = 0; at < utf8.size();) {
        const size_t plain = PlainRunEnd(utf8, at);
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

void PlainTextSink::EndLine() {
    const bool endsLine = m_out.empty() ? m_passedEndsLine : m_out.back() == '\n';
    if (!endsLine) m_out += '\n';
    m_afterCr = false;
}

void PlainTextSink::Text(std::string_view utf8, unsigned) { AppendDocumentText(utf8, m_out, m_afterCr); }

void PlainTextSink::Heading(std::string_view utf8) {
    EndLine();
    // One line, whatever the heading held: a line break inside a title is
    // only where its format wrapped it.
    AppendDocumentText(utf8, m_out, m_afterCr, true);
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
    if (m_out.size() < kExportPieceSize) return true;
    m_passedEndsLine = m_out.back() == '\n';
    return flush(m_out);
}

bool WritePlainDocument(const FormatReader& reader, const TextOptions& options, std::string& out,
                        const std::function<void(std::string)>& warn, const TextFlush* flush) {
    const std::unique_ptr<DocumentReader> document = reader.OpenDocument(options);
    if (!document) return false;
    PlainTextSink sink(out, warn);
    while (document->Next(sink)) {
        if (flush != nullptr && !sink.PassOn(*flush)) break;
    }
    return true;
}

}  // namespace corvelle
