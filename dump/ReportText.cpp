#include "dump/ReportText.h"

#include <cstring>

namespace corvelle {

void ReportText::Flush() {
    if (m_writer != nullptr && m_used > 0) m_writer(m_writerContext, m_text.data(), m_used);
    if (m_writer != nullptr) m_used = 0;
}

void ReportText::Grow(size_t bytes) {
    if (m_writer != nullptr && m_used > 0) {
        Flush();
        if (bytes <= m_text.size()) return;
    }
    const size_t needed = m_used + bytes;
    size_t capacity = m_text.size() < 256 ? 256 : m_text.size() * 2;
    if (m_writer != nullptr && capacity < kStreamChunk) capacity = kStreamChunk;
    if (capacity < needed) capacity = needed;
    m_text.resize(capacity);
}

ReportPattern::ReportPattern(const char* format) {
    const char* p = format;
    const char* run = p;
    for (;;) {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr || m_count == kMaxConversions) break;
        p = percent + 1;
        if (*p == '%') {
            // "%%" stays in the literal run as one '%': keep the first, skip the second.
            m_conversions[m_count].literalBefore = std::string_view(run, static_cast<size_t>(p - run));
            m_conversions[m_count].conversion = '%';
            ++m_count;
            run = ++p;
            continue;
        }
        Conversion& c = m_conversions[m_count];
        c.literalBefore = std::string_view(run, static_cast<size_t>(percent - run));
        if (*p == '0') {
            c.zeroPad = true;
            ++p;
        }
        while (*p >= '0' && *p <= '9') c.width = c.width * 10 + static_cast<unsigned>(*p++ - '0');
        if (*p == '\0') {
            run = p;
            break;
        }
        c.conversion = *p++;
        ++m_count;
        run = p;
    }
    m_tail = std::string_view(run);
}

void ReportText::AppendPattern(const ReportPattern& pattern, const FormatArg* args, size_t count) {
    size_t next = 0;
    for (const ReportPattern::Conversion& c : pattern) {
        Append(c.literalBefore);
        if (c.conversion == '%') continue;  // the '%' ends literalBefore
        // A piece with more conversions than arguments is a programming error;
        // print nothing for the missing ones rather than read past the list.
        if (next >= count) continue;
        const FormatArg& arg = args[next++];
        if (c.conversion == 's') {
            std::string_view text = arg.Text();
            const size_t zero = text.find('\0');
            Append(zero == std::string_view::npos ? text : text.substr(0, zero));
        } else {
            AppendNumber(arg, c.conversion, c.width, c.zeroPad);
        }
    }
    Append(pattern.Tail());
}

void ReportText::AppendNumber(const FormatArg& arg, char conversion, unsigned width, bool zeroPad) {
    static const char kHexDigits[] = "0123456789ABCDEF";
    char digits[24];
    size_t length = 0;
    bool negative = false;
    if (conversion == 'X') {
        // %X prints the 32-bit two's complement of a negative value, as printf does.
        uint32_t value = static_cast<uint32_t>(arg.Number());
        do {
            digits[length++] = kHexDigits[value & 0xF];
            value >>= 4;
        } while (value != 0);
    } else {
        int64_t value = arg.Number();
        negative = value < 0;
        uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        do {
            digits[length++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
    }
    const size_t used = length + (negative ? 1 : 0);
    const size_t padding = width > used ? width - used : 0;
    char* out = Room(padding + used);
    if (!zeroPad) out = static_cast<char*>(std::memset(out, ' ', padding)) + padding;
    if (negative) *out++ = '-';
    if (zeroPad) out = static_cast<char*>(std::memset(out, '0', padding)) + padding;
    while (length > 0) *out++ = digits[--length];
    m_used += padding + used;
}

}  // namespace corvelle
