// Content lines as vCard (RFC 2425/2426) and iCalendar (RFC 5545) both define
// them: at most 75 octets before the CR LF, longer lines folded by a CR LF and
// one space. The two standards fold the same way; what they escape differs a
// little and lives beside each writer's helper.
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

}  // namespace corvelle
