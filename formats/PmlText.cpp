#include "formats/PmlText.h"

#include "standards/Utf8.h"

namespace corvelle {
namespace {

// cp1252's 80h to 9Fh; 0 where the page assigns nothing.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The longest ="…" argument looked for: an image's or a link's name. A quote
// not closed within it is no argument, and its text is read as text.
constexpr size_t kMaxArgument = 1024;
// A chapter title longer than this is no title: what was gathered is text.
constexpr size_t kMaxHeading = 4096;

enum class Argument { kNone, kFound, kWait, kMalformed };

// ="…" at text[pos]. kFound: `value` and `end` (after the closing quote);
// kMalformed: `end` after the opening quote; kNone: no argument follows.
Argument ReadArgument(std::string_view text, size_t pos, bool final, std::string_view& value, size_t& end) {
    const size_t n = text.size();
    if (pos >= n) return final ? Argument::kNone : Argument::kWait;
    if (text[pos] != '=') return Argument::kNone;
    if (pos + 1 >= n) return final ? Argument::kNone : Argument::kWait;
    if (text[pos + 1] != '"') return Argument::kNone;
    const size_t start = pos + 2;
    const size_t limit = n - start < kMaxArgument ? n : start + kMaxArgument;
    for (size_t i = start; i < limit; ++i) {
        if (text[i] == '"') {
            value = text.substr(start, i - start);
            end = i + 1;
            return Argument::kFound;
        }
    }
    if (!final && limit == n && n - start < kMaxArgument) return Argument::kWait;
    end = start;
    return Argument::kMalformed;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool HasNonSpace(std::string_view text) {
    for (char c : text)
        if (!IsSpace(c)) return true;
    return false;
}

}  // namespace

void AppendCp1252(std::string_view bytes, std::string& utf8) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else if (byte >= 0xA0) {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            const uint16_t code = kCp1252High[byte - 0x80];
            AppendCodePoint(code != 0 ? code : 0xFFFD, utf8);
        }
    }
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = Utf8SequenceLength(utf8, at);
        if (length == 0) {
            out += '?';
            ++at;
            continue;
        }
        uint32_t code = static_cast<unsigned char>(utf8[at]);
        if (length > 1) {
            code &= 0x7Fu >> length;
            for (size_t i = 1; i < length; ++i) code = (code << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3Fu);
        }
        at += length;
        char byte = '?';
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            byte = static_cast<char>(code);
        } else {
            for (unsigned i = 0; i < 32; ++i)
                if (kCp1252High[i] == code) byte = static_cast<char>(0x80 + i);
        }
        out += byte;
    }
    return out;
}

void PmlText::Add(std::string_view piece, DocumentSink& sink) {
    std::string joined;
    std::string_view text = piece;
    if (!m_pending.empty()) {
        joined = m_pending;
        joined.append(piece.data(), piece.size());
        m_pending.clear();
        text = joined;
    }
    const size_t stop = Parse(text, false, sink);
    m_pending.assign(text.data() + stop, text.size() - stop);
    FlushRun(sink);
}

void PmlText::Finish(DocumentSink& sink) {
    std::string rest;
    rest.swap(m_pending);
    Parse(rest, true, sink);
    if (m_inHeading) {
        m_inHeading = false;
        GiveHeading(sink);
    }
    FlushRun(sink);
}

size_t PmlText::Parse(std::string_view text, bool final, DocumentSink& sink) {
    const size_t n = text.size();
    size_t at = 0;
    while (at < n) {
        const char c = text[at];
        if (c == '\\') {
            const size_t after = Command(text, at, final, sink);
            if (after == at) return at;
            if (!m_invisible) m_lineHasMarkup = true;
            m_afterCr = false;
            at = after;
        } else if (c == '\r' || c == '\n') {
            const bool sameLineEnd = c == '\n' && m_afterCr;
            m_afterCr = c == '\r';
            ++at;
            if (!sameLineEnd) LineEnd();
        } else if (c == '\0') {
            m_afterCr = false;
            ++at;  // padding, never text
        } else {
            m_afterCr = false;
            size_t end = at + 1;
            while (end < n && text[end] != '\\' && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') ++end;
            Emit(text.substr(at, end - at));
            at = end;
        }
    }
    return n;
}

size_t PmlText::Command(std::string_view text, size_t at, bool final, DocumentSink& sink) {
    const size_t n = text.size();
    if (at + 1 >= n) return final ? n : at;  // a lone backslash at the very end says nothing
    const char c = text[at + 1];
    const size_t next = at + 2;
    if (m_invisible) {
        // Inside \v…\v only its end matters; a doubled backslash is no end.
        if (c == 'v') {
            m_invisible = false;
        }
        return next;
    }
    std::string_view value;
    size_t end = next;
    switch (c) {
        case '\\': Emit("\\"); return next;
        case 'p': PageBreak(false, sink); return next;
        case 'x': ToggleHeading(sink); return next;
        case 'X':
            if (next >= n && !final) return at;
            ToggleHeading(sink);
            return next < n && IsDigit(text[next]) ? next + 1 : next;
        case 'C': {
            // \Cn="title": an entry of the chapter list only, never shown.
            if (next >= n && !final) return at;
            const size_t after = next < n && IsDigit(text[next]) ? next + 1 : next;
            switch (ReadArgument(text, after, final, value, end)) {
                case Argument::kWait: return at;
                case Argument::kNone: return after;
                default: return end;
            }
        }
        case 'i': Toggle(kItalic, sink); return next;
        case 'u': Toggle(kUnderline, sink); return next;
        case 'B': Toggle(kBold, sink); return next;
        case 'b': Toggle(kBoldFont, sink); return next;
        case 'o': Toggle(kOverstrike, sink); return next;
        case 's': Toggle(kStrike, sink); return next;
        case 'v':
            FlushRun(sink);
            m_invisible = true;
            return next;
        case 'w':
        case 'T':
        case 'm':
        case 'q':
        case 'Q': {
            const Argument argument = ReadArgument(text, next, final, value, end);
            if (argument == Argument::kWait) return at;
            if (c == 'w') PageBreak(true, sink);
            if (c == 'T') Emit("\t");  // an indent to a position: a tab stop
            if (c == 'm' && argument == Argument::kFound) {
                FlushRun(sink);
                sink.Image(m_images != nullptr ? m_images->Find(value) : ByteSpan{});
                m_givenSinceBreak = true;
                m_lineHasText = true;
            }
            return argument == Argument::kNone ? next : end;
        }
        case 'S':
        case 'F': {
            // \Sp, \Sb: superscript and subscript; \Sd="id"…\Sd and
            // \Fn="id"…\Fn: a sidebar's or a footnote's reference, whose text stays.
            if (next >= n) return final ? next : at;
            const char second = text[next];
            const bool reference = (c == 'S' && second == 'd') || (c == 'F' && second == 'n');
            if (!reference) return c == 'S' && (second == 'p' || second == 'b') ? next + 1 : next;
            switch (ReadArgument(text, next + 1, final, value, end)) {
                case Argument::kWait: return at;
                case Argument::kNone: return next + 1;
                default: return end;
            }
        }
        case 'a': {
            // \aNNN: a cp1252 character by its decimal code.
            size_t digits = 0;
            while (digits < 3 && next + digits < n && IsDigit(text[next + digits])) ++digits;
            if (digits < 3 && next + digits == n && !final) return at;
            if (digits == 3) {
                const unsigned code = (text[next] - '0') * 100u + (text[next + 1] - '0') * 10u + (text[next + 2] - '0');
                if (code >= 1 && code <= 255) {
                    const char byte = static_cast<char>(code);
                    Emit(std::string_view(&byte, 1));
                }
            }
            return next + digits;
        }
        case 'U': {
            // \UXXXX: a Unicode character by its hexadecimal code.
            size_t digits = 0;
            uint32_t code = 0;
            while (digits < 4 && next + digits < n && HexValue(text[next + digits]) >= 0)
                code = code * 16 + static_cast<uint32_t>(HexValue(text[next + digits++]));
            if (digits < 4 && next + digits == n && !final) return at;
            if (digits == 4 && code != 0) {
                std::string utf8;
                AppendCodePoint(code, utf8);
                EmitUtf8(utf8);
            }
            return next + digits;
        }
        case '\r':
        case '\n': return at + 1;  // a backslash at a line's end: the line end stays
        default:
            // \c \r \t \n \l \k \I \- and commands we do not know: nothing to show.
            return next;
    }
}

void PmlText::Emit(std::string_view cp1252) {
    if (m_invisible) return;
    if (HasNonSpace(cp1252)) {
        m_lineHasText = m_lineHasText || !m_inHeading;  // a title is a line of its own
        m_givenSinceBreak = true;
    }
    AppendCp1252(cp1252, m_inHeading ? m_heading : m_run);
    if (m_inHeading && m_heading.size() > kMaxHeading) {
        m_inHeading = false;
        m_run += m_heading;
        m_heading.clear();
    }
}

void PmlText::EmitUtf8(std::string_view utf8) {
    if (m_invisible) return;
    m_lineHasText = m_lineHasText || !m_inHeading;
    m_givenSinceBreak = true;
    (m_inHeading ? m_heading : m_run).append(utf8.data(), utf8.size());
}

void PmlText::LineEnd() {
    if (m_invisible) return;
    const bool markupOnly = m_lineHasMarkup && !m_lineHasText;
    m_lineHasMarkup = m_lineHasText = false;
    // A title that its writer wrapped is still one line.
    if (m_inHeading) {
        m_heading += ' ';
    } else if (!markupOnly) {
        m_run += '\n';
    }
}

void PmlText::Toggle(unsigned flag, DocumentSink& sink) {
    FlushRun(sink);
    m_flags ^= flag;
}

void PmlText::ToggleHeading(DocumentSink& sink) {
    if (m_inHeading) {
        m_inHeading = false;
        GiveHeading(sink);
        return;
    }
    FlushRun(sink);
    m_inHeading = true;
    m_heading.clear();
}

void PmlText::GiveHeading(DocumentSink& sink) {
    size_t start = 0, end = m_heading.size();
    while (start < end && IsSpace(m_heading[start])) ++start;
    while (end > start && IsSpace(m_heading[end - 1])) --end;
    if (end > start) {
        FlushRun(sink);
        sink.Heading(std::string_view(m_heading).substr(start, end - start));
        m_givenSinceBreak = true;
    }
    m_heading.clear();
}

void PmlText::PageBreak(bool always, DocumentSink& sink) {
    if (m_inHeading) return;
    FlushRun(sink);
    // A book's first page break, or one right after another, shows nothing.
    if (always || m_givenSinceBreak) sink.Rule();
    m_givenSinceBreak = false;
}

void PmlText::FlushRun(DocumentSink& sink) {
    if (m_run.empty()) return;
    sink.Text(m_run, Style());
    m_run.clear();
}

unsigned PmlText::Style() const {
    unsigned style = 0;
    if (m_flags & kItalic) style |= text_style::kItalic;
    if (m_flags & (kBold | kBoldFont)) style |= text_style::kBold;
    if (m_flags & kUnderline) style |= text_style::kUnderline;
    if (m_flags & (kOverstrike | kStrike)) style |= text_style::kStrike;
    return style;
}

}  // namespace corvelle
