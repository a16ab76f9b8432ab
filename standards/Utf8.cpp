#include "standards/Utf8.h"

#include "standards/ByteWords.h"

namespace corvelle {

void AppendCodePoint(uint32_t codePoint, std::string& out) {
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Fast for what books hold: runs of ASCII eight bytes at a time, and runs of
// two- and three-byte characters (Greek, Cyrillic, CJK) checked inline; the
// rare rest by Utf8SequenceLength.
void AppendWellFormedUtf8(std::string_view bytes, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    const auto continuation = [p](size_t i) { return (p[i] & 0xC0) == 0x80; };
    size_t start = 0;  // of the run of well-formed bytes not yet appended
    size_t at = 0;
    while (at < size) {
        while (size - at >= 8 && AllAscii(LoadByteWord(bytes.data() + at))) at += 8;
        while (at < size && p[at] < 0x80) ++at;
        while (at < size && p[at] >= 0x80) {
            const unsigned lead = p[at];
            if (lead >= 0xC2 && lead <= 0xDF && size - at >= 2 && continuation(at + 1)) {
                at += 2;
                continue;
            }
            // E0 (overlong forms) and ED (surrogates) go the long way.
            if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && size - at >= 3 && continuation(at + 1) &&
                continuation(at + 2)) {
                at += 3;
                continue;
            }
            const size_t length = Utf8SequenceLength(bytes, at);
            if (length != 0) {
                at += length;
                continue;
            }
            out.append(bytes.data() + start, at - start);
            out += "\xEF\xBF\xBD";
            start = ++at;
        }
    }
    out.append(bytes.data() + start, size - start);
}

size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000;
    } else {
        return 0;
    }
    if (length > text.size() - at) return 0;
    uint32_t codePoint = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

}  // namespace corvelle
