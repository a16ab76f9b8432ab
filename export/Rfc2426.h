// vCard 3.0 values (RFC 2426): the structured values whose parts are joined
// by semicolons (N, ADR, ORG) and lists joined by commas (CATEGORIES), each
// part escaped as TEXT, and one property as a folded content line.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace corvelle {

// "Last;First;;;" from its parts, each escaped, so that a semicolon inside a
// name stays inside its part.
std::string VCardStructured(std::initializer_list<std::string_view> parts);

// Appends NAME[;PARAMS]:VALUE folded and ended by CR LF. `value` is already
// escaped (VCardText or VCardStructured).
void AppendVCardProperty(std::string_view name, std::string_view params, std::string_view value, std::string& out);

// A TEXT value, escaped.
std::string VCardText(std::string_view text);

}  // namespace corvelle
