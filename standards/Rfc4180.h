// CSV as RFC 4180 defines it: fields apart by commas, each record ended by
// CR LF, and a field enclosed in double quotes (a double quote inside it
// doubled) where it would otherwise be misread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// Appends one field of UTF-8 text. It is quoted when it holds a comma, a
// double quote, a CR or an LF, or begins or ends with a space (which some
// readers trim from a bare field). Line breaks inside stay as they are;
// control characters other than TAB, CR and LF, which spreadsheets take for
// the end of the text, become U+FFFD.
void AppendCsvField(std::string_view utf8, std::string& out);

// Appends one record: its fields apart by commas, then CR LF. A record of
// one empty field is written `""`, because readers skip an empty line.
void AppendCsvRecord(const std::vector<std::string>& fields, std::string& out);

}  // namespace corvelle
