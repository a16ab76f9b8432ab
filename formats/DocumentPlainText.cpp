#include "formats/DocumentPlainText.h"

#include <algorithm>

namespace corvelle {
namespace {

class PlainText final : public DocumentSink {
public:
    PlainText(std::string& out, std::vector<std::string>& notes) : m_out(out), m_notes(notes) {}

    void Text(std::string_view utf8, unsigned) override { m_out.append(utf8.data(), utf8.size()); }
    void Heading(std::string_view utf8) override {
        StartLine();
        m_out.append(utf8.data(), utf8.size());
        m_out += '\n';
    }
    void Image(const ByteSpan&) override {}
    void Rule() override {
        StartLine();
        if (!m_out.empty() && m_out.compare(m_out.size() - std::min<size_t>(m_out.size(), 2), 2, "\n\n") != 0)
            m_out += '\n';
    }
    void Note(std::string text) override { m_notes.push_back(std::move(text)); }

private:
    void StartLine() {
        if (!m_out.empty() && m_out.back() != '\n') m_out += '\n';
    }

    std::string& m_out;
    std::vector<std::string>& m_notes;
};

}  // namespace

std::string ReadWholeDocument(DocumentReader& document, std::vector<std::string>& notes, size_t expected) {
    std::string text;
    text.reserve(expected);
    PlainText sink(text, notes);
    while (document.Next(sink)) {
    }
    return text;
}

}  // namespace corvelle
