// The record or resource list as data: which kind a database holds, how many
// of its entries lie inside the file, and where each resource's bytes are.
// The report prints the list from here; the launcher icon is looked up here.
#pragma once

#include <cstdint>

#include "dump/ByteReader.h"
#include "dump/CodeNames.h"
#include "dump/Sections.h"

namespace corvelle {

struct EntryListShape {
    FourCharCode type;       // the database's type, which decides the kind
    bool resources = false;  // 10-byte resource entries rather than 8-byte records
    uint32_t count = 0;      // as the header states it
    uint32_t inside = 0;     // entries wholly inside the file, at most count
};

// False when the header is cut before its type or entry count.
bool ReadEntryListShape(const FileBytes& file, EntryListShape& shape);

struct ResourceEntry {
    FourCharCode type;
    uint16_t id = 0;
    uint32_t dataOffset = 0;
};

// Reads one 10-byte resource entry at the reader's cursor.
ResourceEntry ReadResourceEntry(ByteReader& list);

// The bytes of one resource inside the file.
struct ByteSpan {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
};

// The first resource of this type and ID. Its bytes run from its offset to
// the next resource's, or to the end of the file. Empty when the database
// holds records, has no such resource, or its data lies outside the file.
ByteSpan FindResource(const FileBytes& file, const char (&type)[5], uint16_t id);

}  // namespace corvelle
