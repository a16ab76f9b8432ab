#include "model/ReportView.h"

#include <algorithm>
#include <cstring>

namespace corvelle {
namespace {

// Converted at least this much at a time: a line at a time would spend its
// time on the calls.
constexpr size_t kConvertedPiece = 64 * 1024;

}  // namespace

ReportView::ReportView(const ViewedDatabase& viewed) : m_report(viewed.Report()), m_decoder(viewed.Encoding()) {}

void ReportView::Prepare(size_t bytes) {
    while (m_text.size() < bytes && !IsComplete()) {
        // Up to a line's end: a CR LF, and a character of a multibyte code
        // page, are never cut (LF is never a trail byte).
        size_t end = std::min(m_report.size(), m_converted + kConvertedPiece);
        const char* lineFeed = static_cast<const char*>(
            std::memchr(m_report.data() + end, '\n', m_report.size() - end));
        end = lineFeed != nullptr ? static_cast<size_t>(lineFeed - m_report.data()) + 1 : m_report.size();
        m_lines.clear();
        for (size_t i = m_converted; i < end; ++i) {
            if (m_report[i] == '\r' && i + 1 < end && m_report[i + 1] == '\n') continue;
            m_lines += m_report[i];
        }
        if (m_text.empty()) m_text.reserve(m_report.size() + m_report.size() / 16);
        m_decoder.AppendUtf8(m_lines, m_text);
        m_converted = end;
    }
}

size_t ReportView::ExpectedSize() const {
    if (IsComplete()) return m_text.size();
    if (m_converted == 0) return m_report.size();
    const double expected = static_cast<double>(m_text.size()) * static_cast<double>(m_report.size()) /
                            static_cast<double>(m_converted);
    return std::max(static_cast<size_t>(expected), m_text.size() + 1);
}

std::optional<TextRange> ReportView::Find(const std::string& needle, TextRange selection, int flags) {
    PrepareAll();
    return FindMatch(m_text, needle, selection, flags);
}

}  // namespace corvelle
