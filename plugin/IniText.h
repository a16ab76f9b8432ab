// The options file read as the system's profile functions read it, for a
// system that has none (Linux): the options must mean the same in either
// file manager.
#pragma once

#include <string>
#include <string_view>

namespace corvelle {

// The value of `key` in `section` of the INI text `ini`: section and key
// compared without ASCII case, the first of each that matches; blanks around
// the key and the value dropped, and one pair of quotes around the value.
// "" when the section or the key is missing. Lines starting with ';' are
// comments.
std::string IniValue(std::string_view ini, std::string_view section, std::string_view key);

}  // namespace corvelle
