// What an export makes: vCard, iCalendar, plain text, JSON, or a folder of the
// entries' raw bytes. A format says which of these its records feed.
#pragma once

#include <cstdint>

namespace corvelle {

enum class ExportType : uint8_t { kVCard, kICalendar, kText, kJson, kRaw };

// A set of export types, one bit each.
constexpr unsigned ExportBit(ExportType type) { return 1u << static_cast<unsigned>(type); }

}  // namespace corvelle
