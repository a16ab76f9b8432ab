// The Windows half of TextDecoder: MultiByteToWideChar, one character at a
// time, so that one bad byte costs one U+FFFD and not the whole text.
#include <windows.h>

#include "standards/CodePage.h"
#include "standards/Utf8.h"

namespace corvelle {

struct TextDecoder::Impl {
    unsigned codePage = 0;
    bool doubleByte = false;
    bool ok = false;
    bool utf8 = false;
};

TextDecoder::TextDecoder(const CodePageInfo& page) : m_impl(new Impl) {
    m_impl->codePage = page.windowsCodePage;
    CPINFO info{};
    m_impl->ok = ::GetCPInfo(page.windowsCodePage, &info) != FALSE;
    m_impl->doubleByte = m_impl->ok && info.MaxCharSize == 2;
    m_impl->utf8 = page.windowsCodePage == 65001;
}

TextDecoder::~TextDecoder() = default;

bool TextDecoder::Ok() const { return m_impl->ok; }

namespace {

// Windows maps the bytes that a code page leaves undefined (81h, 8Dh, 8Fh,
// 90h, 9Dh of 1252) to the C1 control of the same value instead of failing,
// even with MB_ERR_INVALID_CHARS. Those controls are no character of the
// page: they are the same unmapped byte that iconv refuses.
bool IsUnmappedResult(const wchar_t* wide, int count, unsigned char firstByte) {
    return count == 1 && firstByte >= 0x80 && wide[0] >= 0x80 && wide[0] <= 0x9F;
}

void AppendWide(const wchar_t* wide, int count, std::string& out) {
    for (int i = 0; i < count; ++i) {
        uint32_t unit = wide[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<uint32_t>(wide[i + 1]) - 0xDC00);
            ++i;
        }
        AppendCodePoint(unit, out);
    }
}

}  // namespace

void TextDecoder::AppendConverted(std::string_view bytes, std::string& out) {
    // A character of UTF-8 is up to four bytes, which the loop below cannot
    // take one character at a time.
    if (m_impl->utf8) {
        AppendWellFormedUtf8(bytes, out);
        return;
    }
    size_t at = 0;
    while (at < bytes.size()) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        if (first < 0x80) {  // ASCII in every page of the table
            out += static_cast<char>(first);
            ++at;
            continue;
        }
        size_t length = 1;
        if (m_impl->doubleByte && ::IsDBCSLeadByteEx(m_impl->codePage, first)) length = 2;
        wchar_t wide[4];
        int count = 0;
        if (m_impl->ok && length <= bytes.size() - at)
            count = ::MultiByteToWideChar(m_impl->codePage, MB_ERR_INVALID_CHARS, bytes.data() + at,
                                          static_cast<int>(length), wide, 4);
        if (count <= 0 || IsUnmappedResult(wide, count, first)) {
            out += kReplacementUtf8;
            ++at;
            continue;
        }
        AppendWide(wide, count, out);
        at += length;
    }
}

}  // namespace corvelle
