#include "model/PageText.h"

#include <algorithm>

#include "formats/DocumentPlainText.h"

namespace corvelle {

void AddStyledRun(std::vector<StyledRun>& runs, size_t start, size_t end, unsigned style) {
    if (style == 0 || end <= start) return;
    if (!runs.empty() && runs.back().end == start && runs.back().style == style) {
        runs.back().end = end;
    } else {
        runs.push_back({start, end, style});
    }
}

std::vector<StyledRun> RunsBetween(const std::vector<StyledRun>& runs, size_t size, size_t from, size_t to) {
    std::vector<StyledRun> between;
    to = std::min(to, size);
    if (from >= to) return between;
    // The first styled run that ends after `from`.
    auto run = std::upper_bound(runs.begin(), runs.end(), from,
                                [](size_t position, const StyledRun& r) { return position < r.end; });
    size_t at = from;
    for (; run != runs.end() && run->start < to; ++run) {
        const size_t start = std::max(run->start, from), end = std::min(run->end, to);
        if (start > at) between.push_back({at, start, 0});
        between.push_back({start, end, run->style});
        at = end;
    }
    if (at < to) between.push_back({at, to, 0});
    return between;
}

void PageText::StartParagraph() {
    if (!m_text.empty() && m_text.back() != '\n') EndParagraph();
    m_afterCr = false;
}

void PageText::Append(std::string_view utf8, unsigned style, bool oneLine) {
    // The export's own rules, so that the page shows exactly its text.
    const size_t start = m_text.size();
    AppendDocumentText(utf8, m_text, m_afterCr, oneLine);
    if (style == 0) return;
    // The styled stretches between the paragraph ends, which stay plain.
    for (size_t at = start; at < m_text.size();) {
        const size_t lineFeed = m_text.find('\n', at);
        const size_t end = lineFeed == std::string::npos ? m_text.size() : lineFeed;
        AddStyledRun(m_runs, at, end, style);
        at = end + 1;
    }
}

void PageText::Text(std::string_view utf8, unsigned style) { Append(utf8, style); }

void PageText::Heading(std::string_view utf8) {
    StartParagraph();
    Append(utf8, page_style::kHeading, true);
    EndParagraph();
    m_afterCr = false;
}

void PageText::Image(const ByteSpan&) {
    m_afterCr = false;
    Append("[image]", page_style::kAside);
}

void PageText::Rule() {
    StartParagraph();
    EndParagraph();
}

void PageText::Note(std::string text) {
    StartParagraph();
    Append("[" + text + "]", page_style::kAside, true);
    EndParagraph();
    m_afterCr = false;
}

size_t TextPieceEnd(std::string_view text, size_t start, size_t wanted) {
    if (start >= text.size()) return text.size();
    if (wanted >= text.size() - start) return text.size();
    const size_t limit = start + std::max<size_t>(wanted, 1);
    const std::string_view span = text.substr(start, limit - start);
    const size_t lineFeed = span.rfind('\n');
    if (lineFeed != std::string_view::npos) return start + lineFeed + 1;
    const size_t space = span.rfind(' ');
    if (space != std::string_view::npos) return start + space + 1;
    // Back to the start of the character the limit falls in.
    size_t end = limit;
    while (end > start && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    if (end > start) return end;
    // A span inside one character: the character goes whole.
    end = start + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end;
}

}  // namespace corvelle
