#include "export/PlainDocument.h"

#include <memory>

#include "formats/Format.h"

namespace corvelle {

void PlainTextSink::EndLine() {
    if (!m_out.empty() && m_out.back() != '\n') m_out += '\n';
}

void PlainTextSink::Text(std::string_view utf8, unsigned) { m_out.append(utf8.data(), utf8.size()); }

void PlainTextSink::Heading(std::string_view utf8) {
    EndLine();
    // One line, whatever the heading held: a line break inside a title is
    // only where its format wrapped it.
    for (const char c : utf8) m_out += c == '\n' ? ' ' : c;
    m_out += '\n';
}

void PlainTextSink::Image(const ByteSpan&) { m_out += "[image]"; }

void PlainTextSink::Rule() {
    EndLine();
    m_out += '\n';
}

void PlainTextSink::Note(std::string text) {
    if (m_warn) m_warn(std::move(text));
}

bool WritePlainDocument(const FormatReader& reader, const TextOptions& options, std::string& out,
                        const std::function<void(std::string)>& warn) {
    const std::unique_ptr<DocumentReader> document = reader.OpenDocument(options);
    if (!document) return false;
    PlainTextSink sink(out, warn);
    while (document->Next(sink)) {
    }
    return true;
}

}  // namespace corvelle
