// Where things are in a Palm OS database file. Every multi-byte number is
// stored most significant byte first.
#pragma once

#include <cstdint>

namespace corvelle {
namespace layout {

// The 78-byte header at the start of every database.
constexpr uint64_t kNameWidth = 32;
constexpr uint64_t kAppInfoIdOffset = 52;
constexpr uint64_t kTypeOffset = 60;
constexpr uint64_t kEntryCountOffset = 76;
constexpr uint64_t kHeaderSize = 78;

// The list that follows the header: 8 bytes a record, 10 bytes a resource.
constexpr uint64_t kListOffset = kHeaderSize;
constexpr uint64_t kRecordEntrySize = 8;
constexpr uint64_t kResourceEntrySize = 10;

// The standard category block of an AppInfo area.
constexpr unsigned kCategoryCount = 16;
constexpr uint64_t kCategoryLabelWidth = 16;
// The block as the built-in applications' AppInfo structures lay it out: the
// renamed flags, labels, unique IDs, the last unique ID and a byte for word
// alignment, then a reserved word before their own fields.
constexpr uint64_t kCategoryBlockWithReserved = 2 + 16 * 16 + 16 + 1 + 1 + 2;

}  // namespace layout
}  // namespace corvelle
