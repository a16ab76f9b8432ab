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

}  // namespace corvelle
