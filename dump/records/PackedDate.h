// The two-byte dates of the built-in applications: 7 bits of years since
// 1904, 4 bits of month, 5 bits of day. FFFFh means "no date".
#pragma once

#include <cstdint>
#include <string>

namespace corvelle {

struct PackedDate {
    uint16_t raw = 0xFFFF;

    bool IsNone() const { return raw == 0xFFFF; }
    unsigned Year() const { return 1904u + (raw >> 9); }
    unsigned Month() const { return (raw >> 5) & 0x0Fu; }
    unsigned Day() const { return raw & 0x1Fu; }
};

// YYYY-MM-DD, or "none" for FFFFh.
std::string PackedDateText(PackedDate date);

}  // namespace corvelle
