// Content lines as vCard (RFC 2425/2426) and iCalendar (RFC 5545) both define
// them: at most 75 octets before the CR LF, longer lines folded by a CR LF and
// one space. The two standards fold, escape TEXT and write a property the
// same way, so both writers use these.
#pragma once

#include <string>
#include <string_view>

namespace corvelle {

constexpr size_t kContentLineOctets = 75;

// Appends `line` (UTF-8, without its line break) folded, with CR LF after
// every piece. A fold never splits a UTF-8 sequence, so each physical line is
// valid UTF-8 by itself, as readers that decode before unfolding need.
void AppendFoldedLine(std::string_view line, std::string& out);

// Appends `text` with the escapes both standards give TEXT values: backslash,
// comma and semicolon behind a backslash, every line break (CR LF, CR or LF)
// as \n. Other control characters, which neither allows in a value, become
// U+FFFD; TAB is allowed and stays.
void AppendEscapedText(std::string_view text, std::string& out);

// A TEXT value, escaped as above.
std::string EscapedText(std::string_view text);

// Appends NAME[;PARAMS]:VALUE folded and ended by CR LF. `value` is already in
// its value type's form (escaped, for TEXT).
void AppendProperty(std::string_view name, std::string_view params, std::string_view value, std::string& out);

}  // namespace corvelle
