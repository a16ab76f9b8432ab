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

}  // namespace corvelle
