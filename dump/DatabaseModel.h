// A database's entries as data, built once from the file's bytes: what the
// Records page lists, what `corvelle-dump --records` prints, what the record
// decoders and the exports read, and where the launcher icon is looked up.
//
// The model keeps no copy of the bytes: they must outlive it. It holds one
// small index entry per record or resource and nothing else, so that a
// 65535-entry database costs little beyond the file itself.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/CodeNames.h"
#include "dump/RecordAttributes.h"
#include "dump/ByteSpan.h"

namespace corvelle {

// The 78-byte header's fields, as numbers (big-endian, as Palm OS reads them).
struct DatabaseHeader {
    std::string_view name;  // up to its zero byte, at most 32 bytes
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t created = 0;  // Palm dates: seconds since 1904-01-01
    uint32_t modified = 0;
    uint32_t backedUp = 0;
    uint32_t modificationNumber = 0;
    uint32_t appInfoOffset = 0;
    uint32_t sortInfoOffset = 0;
    FourCharCode type;
    FourCharCode creator;
    uint32_t uniqueIdSeed = 0;
    uint32_t nextRecordList = 0;
    uint16_t entryCount = 0;  // as announced; the file may hold fewer
};

// One record or resource of the list. Twenty bytes: the Records page keeps
// 65535 of them.
struct ModelEntry {
    uint32_t offset = 0;   // where the list says its data starts
    uint32_t dataEnd = 0;  // where its data ends; meaningful only with hasData
    FourCharCode type;     // resources: the resource type
    uint16_t id = 0;       // resources: the resource ID
    uint8_t attributes = 0;        // records: flags in the high bits, category in the low four
    uint8_t uniqueId[3] = {};      // records: as stored, most significant byte first
    bool hasData = false;  // false when the data range is reversed or leaves the file

    uint32_t UniqueId() const { return (uint32_t{uniqueId[0]} << 16) | (uint32_t{uniqueId[1]} << 8) | uniqueId[2]; }
    uint8_t Category() const { return attributes & record_flags::kCategoryMask; }
};

class DatabaseModel {
public:
    // Reads the header and the entry list of `size` bytes at `data`. A file
    // cut inside its header gives a model without entries (HeaderWhole false).
    DatabaseModel(const uint8_t* data, uint64_t size);

    const uint8_t* Bytes() const { return m_data; }
    uint64_t Size() const { return m_size; }

    bool HeaderWhole() const { return m_headerWhole; }
    const DatabaseHeader& Header() const { return m_header; }
    // Records or resources, as Palm OS decides it: the header's resource
    // flag (attribute bit 0001h), whatever the type.
    bool HoldsResources() const { return m_resources; }

    // How many entries the header announces, and how many of them the file
    // holds (those whose list entry lies wholly inside it). Only the latter
    // are in the model.
    uint32_t AnnouncedCount() const { return m_header.entryCount; }
    size_t Count() const { return m_entries.size(); }
    const ModelEntry& Entry(size_t index) const { return m_entries[index]; }
    const std::vector<ModelEntry>& Entries() const { return m_entries; }

    // The entry's bytes: from its offset to the next entry's offset, the
    // last one's to the end of the file. {nullptr, 0} without data.
    ByteSpan Data(size_t index) const;

    // The AppInfo and SortInfo blocks: from their offset to the next of the
    // SortInfo block, the first entry's data and the end of the file. Empty
    // when the header names none or it lies outside the file.
    ByteSpan AppInfo() const { return m_appInfo; }
    ByteSpan SortInfo() const { return m_sortInfo; }

    // The standard category block's labels, for a record database whose type
    // is not "pqa " and whose 275-byte block lies inside the file.
    bool HasCategoryLabels() const { return m_hasCategoryLabels; }
    // Label `category` (0 to 15) up to its zero byte; empty when the database
    // has no labels or the label is empty.
    std::string_view CategoryLabel(unsigned category) const;

    // The first resource of this type and ID; {nullptr, 0} when there is none
    // or it has no data.
    ByteSpan FindResource(const char (&type)[5], uint16_t id) const;

private:
    void ReadHeader();
    void ReadEntries();
    void ReadBlocks();

    const uint8_t* m_data;
    uint64_t m_size;
    DatabaseHeader m_header;
    bool m_headerWhole = false;
    bool m_resources = false;
    std::vector<ModelEntry> m_entries;
    ByteSpan m_appInfo;
    ByteSpan m_sortInfo;
    bool m_hasCategoryLabels = false;
};

}  // namespace corvelle
