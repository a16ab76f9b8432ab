// The POSIX half of TextDecoder: glibc's iconv.
#include <cerrno>
#include <iconv.h>

#include "standards/CodePage.h"
#include "standards/Utf8.h"

namespace corvelle {

struct TextDecoder::Impl {
    iconv_t handle = reinterpret_cast<iconv_t>(-1);
    bool utf8 = false;
};

TextDecoder::TextDecoder(const CodePageInfo& page) : m_impl(new Impl) {
    m_impl->handle = ::iconv_open("UTF-8", page.iconvName);
    m_impl->utf8 = page.windowsCodePage == 65001;
}

TextDecoder::~TextDecoder() {
    if (Ok()) ::iconv_close(m_impl->handle);
}

bool TextDecoder::Ok() const { return m_impl->handle != reinterpret_cast<iconv_t>(-1); }

namespace {

// glibc maps some bytes that a page leaves undefined (80h of CP950, for one)
// to the C1 control of the same value. No page of the table has a C1 control
// as a character, and every byte below 80h is ASCII in all of them, so a C1
// control in the result is always such a byte: it becomes U+FFFD, as on
// Windows.
void ReplaceControlsOfC1(std::string& out, size_t from) {
    for (size_t i = from; i + 1 < out.size(); ++i) {
        if (out[i] != '\xC2' || static_cast<unsigned char>(out[i + 1]) > 0x9F) continue;
        out.replace(i, 2, kReplacementUtf8);
        i += kReplacementUtf8.size() - 1;
    }
}

}  // namespace

// iconv converts as far as the first byte it cannot take and says why: EILSEQ
// for a byte the page does not map, EINVAL for a character the text cuts. That
// byte becomes U+FFFD and the conversion goes on after it, so every valid
// character around a bad byte still comes through.
void TextDecoder::AppendConverted(std::string_view bytes, std::string& out) {
    if (m_impl->utf8) {  // ours: a U+0080-U+009F in the text is a character, not an unmapped byte
        AppendWellFormedUtf8(bytes, out);
        return;
    }
    if (!Ok()) {
        for (size_t i = 0; i < bytes.size(); ++i) out += kReplacementUtf8;
        return;
    }
    ::iconv(m_impl->handle, nullptr, nullptr, nullptr, nullptr);
    const size_t start = out.size();
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t result = ::iconv(m_impl->handle, &in, &inLeft, &o, &oLeft);
        const int error = errno;
        out.append(buffer, static_cast<size_t>(o - buffer));
        if (result != static_cast<size_t>(-1)) break;
        if (error == E2BIG) continue;
        out += kReplacementUtf8;
        ++in;
        --inLeft;
        ::iconv(m_impl->handle, nullptr, nullptr, nullptr, nullptr);
    }
    ReplaceControlsOfC1(out, start);
}

}  // namespace corvelle
