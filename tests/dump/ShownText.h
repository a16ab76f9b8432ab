// What the book tests share: a document as one string, as a person would read it, and a book's
// whole document read into one.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/DocumentText.h"
#include "formats/FormatTable.h"

namespace corvelle {

// "<BI>text</>" for styled text (pieces of one style merged, however the reader flushed them;
// without `styles` only the text), "#title" and "---" on lines of their own, "[image:N]" for an
// image of N bytes; the notes apart.
class ShownText final : public DocumentSink {
public:
    explicit ShownText(bool styles = true) : m_styles(styles) {}
    void Text(std::string_view utf8, unsigned style) override {
        if (utf8.empty()) return;
        if (!m_styles) style = 0;
        if (style != m_style || !m_open) Close(), Open(style);
        out.append(utf8.data(), utf8.size());
    }
    void Heading(std::string_view utf8) override {
        Block();
        out += "#" + std::string(utf8) + "\n";
    }
    void Image(const ByteSpan& file) override {
        Close();
        out += "[image:" + std::to_string(file.size) + "]";
    }
    void Rule() override {
        Block();
        out += "---\n";
    }
    void Note(std::string text) override { notes.push_back(std::move(text)); }
    std::string Done() {
        Close();
        return out;
    }
    std::string out;
    std::vector<std::string> notes;

private:
    void Open(unsigned style) {
        m_style = style;
        m_open = true;
        if (style == 0) return;
        out += '<';
        if (style & text_style::kBold) out += 'B';
        if (style & text_style::kItalic) out += 'I';
        if (style & text_style::kUnderline) out += 'U';
        if (style & text_style::kStrike) out += 'S';
        out += '>';
    }
    void Close() {
        if (m_open && m_style != 0) out += "</>";
        m_open = false;
    }
    // A heading and a rule are paragraphs of their own.
    void Block() {
        Close();
        if (!out.empty() && out.back() != '\n') out += '\n';
    }
    bool m_styles;
    unsigned m_style = 0;
    bool m_open = false;
};

// The book's whole document; a document that never ends, or none, fails the test.
inline ShownText ReadDocument(const DecodedDatabase& database, bool styles = true, size_t mostPieces = 100000) {
    ShownText shown(styles);
    const auto document = database.Reader().OpenDocument(TextOptions{});
    EXPECT_NE(document, nullptr);
    if (document == nullptr) return shown;
    for (size_t pieces = 0; document->Next(shown); ++pieces)
        if (pieces > mostPieces) {
            ADD_FAILURE() << "the document never ends";
            break;
        }
    shown.Done();
    return shown;
}

}  // namespace corvelle
