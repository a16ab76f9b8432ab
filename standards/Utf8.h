// UTF-8 pieces shared by the decoders and the escaping helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvelle {

// Appends one code point; surrogates and values past U+10FFFF become U+FFFD.
void AppendCodePoint(uint32_t codePoint, std::string& out);

// Appends UTF-8 text as it is, each byte that is not part of a well-formed
// sequence as U+FFFD: what the UTF-8 "code page" converts to.
void AppendWellFormedUtf8(std::string_view bytes, std::string& out);

// The length of the UTF-8 sequence that starts at text[at], 1 to 4, when it is
// whole and well formed; 0 when it is not (a stray continuation byte, an
// overlong form, a cut sequence).
size_t Utf8SequenceLength(std::string_view text, size_t at);

// The same, with what books hold checked inline: ASCII, two-byte characters
// (Latin, Greek, Cyrillic) and the three-byte ones without overlong forms or
// surrogates (E0 and ED leads go the long way); a hot loop over a text calls
// this once a character.
inline size_t Utf8Length(std::string_view text, size_t at) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80) return 1;
    const size_t left = text.size() - at;
    if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && (byte(at + 1) & 0xC0) == 0x80) return 2;
    if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && left >= 3 && (byte(at + 1) & 0xC0) == 0x80 &&
        (byte(at + 2) & 0xC0) == 0x80)
        return 3;
    return Utf8SequenceLength(text, at);
}

}  // namespace corvelle
