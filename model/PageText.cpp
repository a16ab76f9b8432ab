#include "model/PageText.h"

#include <algorithm>

#include "formats/DocumentPlainText.h"
#include "standards/Utf8.h"

namespace corvelle {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
const char16_t kParagraphEnd[] = {u'\r', u'\n'};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point of the well-formed sequence of `length` bytes at `at`.
uint32_t DecodeSequence(std::string_view utf8, size_t at, size_t length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(utf8[at + i]); };
    if (length == 1) return byte(0);
    uint32_t codePoint = byte(0) & (0x7Fu >> length);
    for (size_t i = 1; i < length; ++i) codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    return codePoint;
}

void AppendCodeUnits(uint32_t codePoint, std::u16string& out) {
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        out += static_cast<char16_t>(codePoint);
    }
}

}  // namespace

void PageText::AppendUnits(const char16_t* units, size_t count, unsigned style) {
    if (count == 0) return;
    const size_t start = m_text.size();
    m_text.append(units, count);
    if (style == 0) return;
    if (!m_runs.empty() && m_runs.back().end == start && m_runs.back().style == style) {
        m_runs.back().end = m_text.size();
    } else {
        m_runs.push_back({start, m_text.size(), style});
    }
}

void PageText::EndParagraph() {
    AppendUnits(kParagraphEnd, 2, 0);
}

void PageText::StartParagraph() {
    if (!m_text.empty() && m_text.back() != u'\n') EndParagraph();
    m_afterCr = false;
}

void PageText::Append(std::string_view utf8, unsigned style, bool oneLine) {
    // The export's own rules first, so that the page shows exactly its text.
    std::string clean;
    AppendDocumentText(utf8, clean, m_afterCr, oneLine);
    std::u16string piece;
    for (size_t start = 0; start < clean.size();) {
        const size_t lineFeed = clean.find('\n', start);
        const size_t end = lineFeed == std::string::npos ? clean.size() : lineFeed;
        piece.clear();
        for (size_t at = start; at < end;) {
            if (static_cast<unsigned char>(clean[at]) < 0x80) {  // ASCII: one unit, as it is
                piece += static_cast<char16_t>(clean[at++]);
                continue;
            }
            const size_t length = Utf8SequenceLength(clean, at);  // whole: the text is clean
            AppendCodeUnits(DecodeSequence(clean, at, length), piece);
            at += length;
        }
        AppendUnits(piece.data(), piece.size(), style);
        // The paragraph's end is plain: a styled paragraph end would give the
        // next paragraph's first line that style in the control.
        if (lineFeed != std::string::npos) EndParagraph();
        start = end + 1;
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

std::vector<StyledRun> PageText::RunsIn(size_t from, size_t to) const {
    std::vector<StyledRun> runs;
    to = std::min(to, m_text.size());
    if (from >= to) return runs;
    // The first styled run that ends after `from`.
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), from,
                                [](size_t position, const StyledRun& r) { return position < r.end; });
    size_t at = from;
    for (; run != m_runs.end() && run->start < to; ++run) {
        const size_t start = std::max(run->start, from), end = std::min(run->end, to);
        if (start > at) runs.push_back({at, start, 0});
        runs.push_back({start, end, run->style});
        at = end;
    }
    if (at < to) runs.push_back({at, to, 0});
    return runs;
}

size_t TextPieceEnd(std::u16string_view text, size_t start, size_t wanted) {
    if (start >= text.size()) return text.size();
    if (wanted >= text.size() - start) return text.size();
    const size_t limit = start + std::max<size_t>(wanted, 1);
    const std::u16string_view span = text.substr(start, limit - start);
    const size_t lineFeed = span.rfind(u'\n');
    if (lineFeed != std::u16string_view::npos) return start + lineFeed + 1;
    const size_t space = span.rfind(u' ');
    if (space != std::u16string_view::npos) return start + space + 1;
    size_t end = limit;
    if (IsHighSurrogate(text[end - 1]) || (text[end - 1] == u'\r' && text[end] == u'\n')) --end;
    // A span of one character that may not be cut there: the pair goes whole.
    return end > start ? end : std::min(text.size(), start + 2);
}

std::string Utf8FromUnits(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t codePoint = units[i];
        if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        }
        AppendCodePoint(codePoint, out);  // a lone surrogate: U+FFFD
    }
    return out;
}

std::u16string UnitsFromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = Utf8SequenceLength(utf8, at);
        AppendCodeUnits(length == 0 ? kReplacement : DecodeSequence(utf8, at, length), out);
        at += length == 0 ? 1 : length;
    }
    return out;
}

}  // namespace corvelle
