// A record's attribute byte as Palm OS stores it: the flags in the high four
// bits, the category in the low four. The report, the entry cells and the
// exports all read it through these.
#pragma once

#include <cstdint>

namespace corvelle {
namespace record_flags {

constexpr uint8_t kExpunged = 0x80;
constexpr uint8_t kDirty = 0x40;
constexpr uint8_t kDeleted = 0x20;
constexpr uint8_t kPrivate = 0x10;
constexpr uint8_t kArchive = 0x08;  // meaningful only for a deleted or expunged record
constexpr uint8_t kCategoryMask = 0x0F;

// Deleted or expunged: gone from the device, only not yet synchronised away.
constexpr bool IsGone(uint8_t attributes) { return (attributes & (kExpunged | kDeleted)) != 0; }

}  // namespace record_flags
}  // namespace corvelle
