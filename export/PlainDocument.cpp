#include "export/PlainDocument.h"

#include <memory>

#include "export/CodePage.h"
#include "export/Export.h"
#include "export/Utf8.h"
#include "formats/Format.h"

namespace corvelle {

namespace {

// Whether a byte is plain ASCII text, taken as it is.
bool IsPlainByte(char c) { return c != '\0' && c != '\r' && c != '\n' && static_cast<unsigned char>(c) < 0x80; }

}  // namespace

void AppendDocumentText(std::string_view utf8, std::string& out, bool& afterCr, bool oneLine) {
    out.reserve(out.size() + utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        // Most of a book is plain ASCII: a run of it goes in at once.
        size_t plain = at;
        while (plain < utf8.size() && IsPlainByte(utf8[plain])) ++plain;
        if (plain > at) {
            out.append(utf8.data() + at, plain - at);
            afterCr = false;
            at = plain;
            continue;
        }
        const size_t length = Utf8SequenceLength(utf8, at);
        const char c = utf8[at];
        if (length == 0 || c == '\0') {
            out += kReplacementUtf8;
            afterCr = false;
            ++at;
            continue;
        }
        const bool lineFeed = c == '\n', carriageReturn = c == '\r';
        const bool secondOfPair = lineFeed && afterCr;  // the CR has ended the line already
        afterCr = carriageReturn;
        if (!secondOfPair) {
            if (lineFeed || carriageReturn) {
                out += oneLine ? ' ' : '\n';
            } else {
                out.append(utf8.data() + at, length);
            }
        }
        at += length;
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
