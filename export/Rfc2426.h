// vCard 3.0 values (RFC 2426): the structured values whose parts are joined
// by semicolons (N, ADR, ORG) and lists joined by commas (CATEGORIES), each
// part escaped as TEXT. Properties are content lines (ContentLine.h).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace corvelle {

// "Last;First;;;" from its parts, each escaped, so that a semicolon inside a
// name stays inside its part.
std::string VCardStructured(std::initializer_list<std::string_view> parts);

}  // namespace corvelle
