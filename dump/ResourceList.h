// The record or resource list as the report reads it: which kind a database
// holds by its type, how many of its entries lie inside the file, and one
// resource entry. The report prints the list from here.
#pragma once

#include <cstdint>

#include "dump/ByteReader.h"
#include "dump/ByteSpan.h"
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

}  // namespace corvelle
