// The device's code page: Palm devices stored text in the code page of their
// language, and everything we export is UTF-8. One table names the pages we
// know; the conversion itself is the platform's (iconv on POSIX,
// MultiByteToWideChar on Windows), behind the one class below.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace corvelle {

struct CodePageInfo {
    const char* name;          // as given to --encoding, compared without regard to case
    const char* iconvName;     // glibc's name
    unsigned windowsCodePage;  // MultiByteToWideChar's number
};

// The page of that name, or null. "cp1252", "cp1250", "cp1251", "cp1253",
// "shift_jis", "big5" and "utf-8" (with a few usual spellings of each).
const CodePageInfo* FindCodePage(std::string_view name);
// The page of that Windows code page number (1252, 65001), or null.
const CodePageInfo* FindCodePageNumber(unsigned windowsCodePage);
// The names FindCodePage knows, for an error message: "cp1252, cp1250, ...".
std::string CodePageNames();

// Appends UTF-8 for bytes in one code page. A byte that the page does not
// map, or a lead byte whose character the text cuts, becomes U+FFFD: the
// reader sees that something was there, and nothing is dropped in silence.
class TextDecoder {
public:
    explicit TextDecoder(const CodePageInfo& page);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // False when the platform cannot convert from this page at all.
    bool Ok() const;
    // Every page of the table keeps the bytes below 80h as ASCII, and most of
    // a device's texts hold no other: those are copied without a conversion.
    void AppendUtf8(std::string_view bytes, std::string& out) {
        if (IsAscii(bytes) && Ok())
            out.append(bytes);
        else
            AppendConverted(bytes, out);
    }
    std::string ToUtf8(std::string_view bytes) {
        std::string out;
        AppendUtf8(bytes, out);
        return out;
    }

private:
    static bool IsAscii(std::string_view bytes) {
        for (char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80) return false;
        return true;
    }
    // The platform's conversion.
    void AppendConverted(std::string_view bytes, std::string& out);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

}  // namespace corvelle
