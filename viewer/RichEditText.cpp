#include "viewer/RichEditText.h"

#include <algorithm>

#include "standards/Utf8.h"

namespace corvelle {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

void AppendRichEditUnits(std::string_view utf8, std::u16string& out) {
    const auto byte = [&utf8](size_t i) { return static_cast<unsigned char>(utf8[i]); };
    for (size_t at = 0; at < utf8.size();) {
        const unsigned lead = byte(at);
        if (lead < 0x80) {  // ASCII: one unit, as it is
            if (lead == '\n' && (out.empty() || out.back() != u'\r')) out += u'\r';
            out += static_cast<char16_t>(lead);
            ++at;
            continue;
        }
        const size_t length = Utf8Length(utf8, at);
        if (length == 0) {
            out += static_cast<char16_t>(0xFFFD);
            ++at;
            continue;
        }
        uint32_t codePoint = lead & (0x7Fu >> length);
        for (size_t i = 1; i < length; ++i) codePoint = (codePoint << 6) | (byte(at + i) & 0x3Fu);
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
            out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            out += static_cast<char16_t>(codePoint);
        }
        at += length;
    }
}

void RichEditText::CatchUp(const PageText& page) {
    const std::string& utf8 = page.Utf8();
    if (m_converted >= utf8.size()) return;
    // The model made room for its whole text at once; so does the copy,
    // a CR more for every 16 characters: growing by doubling, a text of
    // megabytes copies itself again and again.
    if (page.Capacity() > m_units.capacity()) m_units.reserve(page.Capacity() + page.Capacity() / 16);
    for (const StyledRun& run : page.RunsIn(m_converted, utf8.size())) {
        const size_t start = m_units.size();
        AppendRichEditUnits(std::string_view(utf8).substr(run.start, run.end - run.start), m_units);
        AddStyledRun(m_runs, start, m_units.size(), run.style);
    }
    m_converted = utf8.size();
}

size_t RichEditPieceEnd(std::u16string_view text, size_t start, size_t wanted) {
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

}  // namespace corvelle
