#include "dump/DatabaseModel.h"

#include "dump/PalmLayout.h"
#include "dump/ResourceList.h"

namespace corvelle {
namespace {

constexpr uint16_t kResourceDatabase = 0x0001;
// Two bytes of renamed flags, 16 labels of 16 bytes, 16 IDs and the last ID.
constexpr uint64_t kCategoryBlockSize = 2 + 16 * 16 + 16 + 1;

}  // namespace

DatabaseModel::DatabaseModel(const uint8_t* data, uint64_t size) : m_data(data), m_size(data ? size : 0) {
    ReadHeader();
    if (!m_headerWhole) return;
    ReadEntries();
    ReadBlocks();
}

void DatabaseModel::ReadHeader() {
    ByteReader reader(m_data, m_size);
    m_header.name = reader.FixedText(layout::kNameWidth);
    m_header.attributes = reader.U16BE();
    m_header.version = reader.U16BE();
    m_header.created = reader.U32BE();
    m_header.modified = reader.U32BE();
    m_header.backedUp = reader.U32BE();
    m_header.modificationNumber = reader.U32BE();
    m_header.appInfoOffset = reader.U32BE();
    m_header.sortInfoOffset = reader.U32BE();
    m_header.type = reader.Read<4>();
    m_header.creator = reader.Read<4>();
    m_header.uniqueIdSeed = reader.U32BE();
    m_header.nextRecordList = reader.U32BE();
    m_header.entryCount = reader.U16BE();
    m_headerWhole = reader.Ok();
    if (!m_headerWhole) {
        // Nothing but the name is trusted from a header the file cuts short.
        const std::string_view name = m_header.name;
        m_header = DatabaseHeader{};
        m_header.name = name;
        return;
    }
    m_resources = (m_header.attributes & kResourceDatabase) != 0;
}

void DatabaseModel::ReadEntries() {
    const uint64_t entrySize = m_resources ? layout::kResourceEntrySize : layout::kRecordEntrySize;
    const uint64_t listBytes = m_size > layout::kListOffset ? m_size - layout::kListOffset : 0;
    const uint64_t inside = listBytes / entrySize;
    const uint64_t count = m_header.entryCount < inside ? m_header.entryCount : inside;
    m_entries.resize(static_cast<size_t>(count));

    ByteReader list(m_data, m_size);
    list.Seek(layout::kListOffset);
    for (ModelEntry& entry : m_entries) {
        if (m_resources) {
            const ResourceEntry resource = ReadResourceEntry(list);
            entry.type = resource.type;
            entry.id = resource.id;
            entry.offset = resource.dataOffset;
        } else {
            entry.offset = list.U32BE();
            entry.attributes = list.U8();
            for (uint8_t& byte : entry.uniqueId) byte = list.U8();
        }
    }

    // An entry's data ends where the next entry's begins, the last one's at
    // the end of the file. A reversed range, or one that leaves the file,
    // gives the entry no data at all rather than a guess.
    for (size_t i = 0; i < m_entries.size(); ++i) {
        ModelEntry& entry = m_entries[i];
        const uint64_t end = i + 1 < m_entries.size() ? m_entries[i + 1].offset : m_size;
        entry.hasData = entry.offset <= end && end <= m_size;
        entry.dataEnd = entry.hasData ? static_cast<uint32_t>(end) : entry.offset;
    }
}

void DatabaseModel::ReadBlocks() {
    // A block ends at the nearest later start of anything that follows it.
    const auto blockAt = [this](uint64_t start) -> ByteSpan {
        if (start == 0 || start >= m_size) return {};
        uint64_t end = m_size;
        const auto limit = [&](uint64_t next) {
            if (next > start && next < end) end = next;
        };
        limit(m_header.appInfoOffset);
        limit(m_header.sortInfoOffset);
        if (!m_entries.empty()) limit(m_entries.front().offset);
        return ByteSpan{m_data + start, end - start};
    };
    m_appInfo = blockAt(m_header.appInfoOffset);
    m_sortInfo = blockAt(m_header.sortInfoOffset);

    const uint64_t appInfo = m_header.appInfoOffset;
    m_hasCategoryLabels = !m_resources && !CodeIs(m_header.type, "pqa ") && appInfo != 0 &&
                          appInfo <= m_size && kCategoryBlockSize <= m_size - appInfo;
}

ByteSpan DatabaseModel::Data(size_t index) const {
    const ModelEntry& entry = m_entries[index];
    if (!entry.hasData) return {};
    return ByteSpan{m_data + entry.offset, uint64_t{entry.dataEnd} - entry.offset};
}

std::string_view DatabaseModel::CategoryLabel(unsigned category) const {
    if (!m_hasCategoryLabels || category >= layout::kCategoryCount) return {};
    ByteReader reader(m_data, m_size);
    reader.Seek(m_header.appInfoOffset + 2 + uint64_t{category} * layout::kCategoryLabelWidth);
    return reader.FixedText(layout::kCategoryLabelWidth);
}

ByteSpan DatabaseModel::FindResource(const char (&type)[5], uint16_t id) const {
    if (!m_resources) return {};
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (CodeIs(m_entries[i].type, type) && m_entries[i].id == id) return Data(i);
    return {};
}

}  // namespace corvelle
