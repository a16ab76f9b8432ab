// Numbers, dates and times appended to a text without a heap allocation of
// their own: the cells and fields of entries are built from these pieces.
#pragma once

#include <cstdint>
#include <string>

#include "dump/records/PackedDate.h"

namespace corvelle {

void AppendDecimal(std::string& out, uint64_t value);
void AppendSigned(std::string& out, int64_t value);
// At least two digits, with a leading zero below ten.
void AppendTwoDigits(std::string& out, unsigned value);
// YYYY-MM-DD, or "none" for a date that is not set.
void AppendDate(std::string& out, PackedDate date);
// HH:MM.
void AppendTime(std::string& out, uint8_t hour, uint8_t minute);
// The decimal digits of value, as a string of their own.
std::string Number(uint64_t value);

}  // namespace corvelle
