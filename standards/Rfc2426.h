// vCard 3.0 values (RFC 2426): the structured values whose parts are joined
// by semicolons (N, ADR, ORG) and lists joined by commas (CATEGORIES), each
// part escaped as TEXT. Properties are content lines (ContentLine.h).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvelle {

// "Last;First;;;" from its parts, each escaped, so that a semicolon inside a
// name stays inside its part.
std::string VCardStructured(std::initializer_list<std::string_view> parts);

// The "b" encoding of a binary value (ENCODING=b: base64 with its padding,
// RFC 2047), in one piece: the content line folds it like any other.
std::string VCardBinary(const uint8_t* bytes, uint64_t size);

// A URI value (URL): not TEXT, so nothing is escaped by backslash; a control
// character, which no content line may hold, is written percent-encoded.
std::string VCardUri(std::string_view uri);

}  // namespace corvelle
