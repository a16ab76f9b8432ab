// HTML's character references: what "&amp;", "&#8217;" and "&#x2014;" stand for.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvelle {

// The code point of a reference's name, between '&' and ';' ("amp", "#233",
// "#xE9"); 0 when the name is none of HTML 4's entities or no number. A
// number from 80h to 9Fh is the cp1252 character of that byte, as browsers
// read it (books written on Windows use &#146; for a right quote); a number
// that is no character (0, a surrogate, past U+10FFFF) is U+FFFD.
uint32_t CharacterReference(std::string_view name);

}  // namespace corvelle
