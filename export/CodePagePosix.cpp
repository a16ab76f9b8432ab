// The POSIX half of TextDecoder: glibc's iconv.
#include <cerrno>
#include <iconv.h>

#include "export/CodePage.h"

namespace corvelle {

struct TextDecoder::Impl {
    iconv_t handle = reinterpret_cast<iconv_t>(-1);
};

TextDecoder::TextDecoder(const CodePageInfo& page) : m_impl(new Impl) {
    m_impl->handle = ::iconv_open("UTF-8", page.iconvName);
}

TextDecoder::~TextDecoder() {
    if (Ok()) ::iconv_close(m_impl->handle);
}

bool TextDecoder::Ok() const { return m_impl->handle != reinterpret_cast<iconv_t>(-1); }

// iconv converts as far as the first byte it cannot take and says why: EILSEQ
// for a byte the page does not map, EINVAL for a character the text cuts. That
// byte becomes U+FFFD and the conversion goes on after it, so every valid
// character around a bad byte still comes through.
void TextDecoder::AppendUtf8(std::string_view bytes, std::string& out) {
    if (!Ok()) {
        for (size_t i = 0; i < bytes.size(); ++i) out += kReplacementUtf8;
        return;
    }
    ::iconv(m_impl->handle, nullptr, nullptr, nullptr, nullptr);
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
}

}  // namespace corvelle
