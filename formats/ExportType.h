// What an export makes: vCard, iCalendar, plain text, JSON, a table as CSV,
// messages as an mbox, or a folder of files: the entries' raw bytes, or the
// pictures the entries hold. A format says which of these its records feed.
#pragma once

#include <cstdint>

namespace corvelle {

enum class ExportType : uint8_t { kVCard, kICalendar, kText, kJson, kRaw, kCsv, kMbox, kImages };

// A set of export types, one bit each.
constexpr unsigned ExportBit(ExportType type) { return 1u << static_cast<unsigned>(type); }

}  // namespace corvelle
