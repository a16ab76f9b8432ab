// Four-character codes (database types, creators, resource types, PQA
// signatures) and the names the report gives the well-known ones.
#pragma once

#include <string>

#include "dump/ByteReader.h"

namespace corvelle {

using FourCharCode = Field4;

// The code's four bytes in file order, unchanged; a zero byte ends the text,
// as it would end a C string.
std::string FourCharText(const FourCharCode& code);

// Name from the creator table, or "unknown". Compared byte for byte.
const char* CreatorName(const FourCharCode& code);

// Name from the resource-type table, or "unknown". Compared byte for byte.
const char* ResourceTypeName(const FourCharCode& code);

// True when the code's bytes are exactly the four characters given.
bool CodeIs(const FourCharCode& code, const char (&text)[5]);

}  // namespace corvelle
