#include "dump/ResourceList.h"

#include "dump/PalmLayout.h"

namespace corvelle {

bool ReadEntryListShape(const FileBytes& file, EntryListShape& shape) {
    ByteReader header(file.data, file.size);
    header.Seek(layout::kTypeOffset);
    shape.type = header.Read<4>();
    header.Seek(layout::kEntryCountOffset);
    shape.count = header.U16BE();
    if (!header.Ok()) return false;

    // Applications and libraries hold resources; everything else, "APPL"
    // and "pqa " included, holds records. The header's resource flag is not
    // consulted.
    shape.resources = CodeIs(shape.type, "appl") || CodeIs(shape.type, "libr");
    const uint64_t entrySize = shape.resources ? layout::kResourceEntrySize : layout::kRecordEntrySize;

    // The count is not trusted: only entries wholly inside the file are read.
    const uint64_t listBytes = file.size > layout::kListOffset ? file.size - layout::kListOffset : 0;
    const uint64_t entriesInside = listBytes / entrySize;
    shape.inside = static_cast<uint32_t>(shape.count < entriesInside ? shape.count : entriesInside);
    return true;
}

ResourceEntry ReadResourceEntry(ByteReader& list) {
    ResourceEntry entry;
    entry.type = list.Read<4>();
    entry.id = list.U16BE();
    entry.dataOffset = list.U32BE();
    return entry;
}

ByteSpan FindResource(const FileBytes& file, const char (&type)[5], uint16_t id) {
    EntryListShape shape;
    if (!ReadEntryListShape(file, shape) || !shape.resources) return {};

    // A resource ends where the next one in the file begins. Entries are
    // usually in file order, but nothing makes them so: the nearest later
    // offset of any entry is taken.
    bool found = false;
    uint64_t start = 0;
    uint64_t end = file.size;
    ByteReader list(file.data, file.size);
    list.Seek(layout::kListOffset);
    for (uint32_t i = 0; i < shape.inside; ++i) {
        const ResourceEntry entry = ReadResourceEntry(list);
        if (!found && CodeIs(entry.type, type) && entry.id == id) {
            found = true;
            start = entry.dataOffset;
        }
    }
    if (!found || start >= file.size) return {};
    list.Seek(layout::kListOffset);
    for (uint32_t i = 0; i < shape.inside; ++i) {
        const uint64_t offset = ReadResourceEntry(list).dataOffset;
        if (offset > start && offset < end) end = offset;
    }
    return ByteSpan{file.data + start, end - start};
}

}  // namespace corvelle
