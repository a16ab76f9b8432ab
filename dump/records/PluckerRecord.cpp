#include "dump/records/PluckerRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kTypeNames[] = {
    "text",
    "text (compressed)",
    "image",
    "image (compressed)",
    "mailto",
    "link index",
    "links",
    "links (compressed)",
    "bookmarks",
    "category",
    "metadata",
    "style sheet",
    "font page",
    "table",
    "table (compressed)",
    "composite image",
    "page list metadata",
    "sorted URL index",
    "sorted URLs",
    "sorted URLs (compressed)",
    "external anchor index",
    "external anchors",
    "external anchors (compressed)",
};

const char* const kIndexPartNames[] = {"the record ID", "the compression", "the reserved record count",
                                       "the reserved records"};
const char* const kRecordPartNames[] = {"the record ID", "the paragraph count", "the size", "the type",
                                        "the flags",     "the paragraph headers"};
const char* const kMetadataPartNames[] = {"the record's header", "the item count", "an item's type",
                                          "an item's length",    "an item's data"};
const char* const kTablePartNames[] = {"the table's size", "the column count",  "the row count",  "the depth",
                                       "the border",       "the border colour", "the link colour"};
const char* const kCompositePartNames[] = {"the column count", "the row count", "the parts"};

// A list's length from the file, never more than the bytes left could hold.
size_t Reserve(uint64_t count, uint64_t left, uint64_t each) {
    return static_cast<size_t>(count < left / each ? count : left / each);
}

}  // namespace

const char* PluckerTypeName(uint8_t type) {
    return type < sizeof kTypeNames / sizeof kTypeNames[0] ? kTypeNames[type] : nullptr;
}

bool PluckerTypeCompressed(uint8_t type) {
    return type == 1 || type == 3 || type == 7 || type == 14 || type == 19 || type == 22;
}

PluckerIndex DecodePluckerIndex(const ByteSpan& record) {
    RecordReader<PluckerIndexPart> in(record, kIndexPartNames);
    PluckerIndex index;
    if (in.Need(2, PluckerIndexPart::kUid)) index.uid = in.U16();
    if (in.Need(2, PluckerIndexPart::kCompression)) index.compression = in.U16();
    if (in.Need(2, PluckerIndexPart::kReservedCount)) index.reservedCount = in.U16();
    index.reserved.reserve(Reserve(index.reservedCount, in.Left(), 4));
    for (uint16_t i = 0; i < index.reservedCount && in.Need(4, PluckerIndexPart::kReserved); ++i) {
        PluckerReserved pair;
        pair.name = in.U16();
        pair.uid = in.U16();
        index.reserved.push_back(pair);
    }
    index.cut = in.Cut();
    return index;
}

PluckerRecord DecodePluckerRecord(const ByteSpan& record) {
    RecordReader<PluckerRecordPart> in(record, kRecordPartNames);
    PluckerRecord result;
    if (in.Need(2, PluckerRecordPart::kUid)) result.uid = in.U16();
    if (in.Need(2, PluckerRecordPart::kParagraphCount)) result.paragraphCount = in.U16();
    if (in.Need(2, PluckerRecordPart::kSize)) result.size = in.U16();
    if (in.Need(1, PluckerRecordPart::kType)) result.type = in.U8();
    if (in.Need(1, PluckerRecordPart::kFlags)) result.flags = in.U8();
    if (result.IsText()) {
        result.paragraphs.reserve(Reserve(result.paragraphCount, in.Left(), 4));
        for (uint16_t i = 0; i < result.paragraphCount && in.Need(4, PluckerRecordPart::kParagraphs); ++i) {
            PluckerParagraph paragraph;
            paragraph.size = in.U16();
            paragraph.attributes = in.U16();
            result.paragraphs.push_back(paragraph);
        }
    }
    if (in.Ok()) {
        const uint64_t left = in.Left();
        result.body = {in.Bytes(left, PluckerRecordPart::kParagraphs), left};
    }
    result.cut = in.Cut();
    return result;
}

PluckerMetadata DecodePluckerMetadata(const ByteSpan& record) {
    RecordReader<PluckerMetadataPart> in(record, kMetadataPartNames);
    PluckerMetadata metadata;
    if (in.Need(8, PluckerMetadataPart::kHeader)) in.Bytes(8, PluckerMetadataPart::kHeader);
    if (in.Need(2, PluckerMetadataPart::kCount)) metadata.count = in.U16();
    metadata.items.reserve(Reserve(metadata.count, in.Left(), 4));
    for (uint16_t i = 0; i < metadata.count; ++i) {
        PluckerItem item;
        if (!in.Need(2, PluckerMetadataPart::kItemType)) break;
        item.type = in.U16();
        if (!in.Need(2, PluckerMetadataPart::kItemLength)) break;
        const uint64_t length = uint64_t{in.U16()} * 2;
        const uint8_t* data = in.Bytes(length, PluckerMetadataPart::kItemData);
        if (data == nullptr) break;
        item.data = {data, length};
        metadata.items.push_back(item);
    }
    metadata.cut = in.Cut();
    return metadata;
}

PluckerTable DecodePluckerTable(const ByteSpan& data) {
    RecordReader<PluckerTablePart> in(data, kTablePartNames);
    PluckerTable table;
    if (in.Need(2, PluckerTablePart::kSize)) in.U16();
    if (in.Need(2, PluckerTablePart::kColumns)) table.columns = in.U16();
    if (in.Need(2, PluckerTablePart::kRows)) table.rows = in.U16();
    if (in.Need(1, PluckerTablePart::kDepth)) in.U8();
    if (in.Need(1, PluckerTablePart::kBorder)) in.U8();
    if (in.Need(4, PluckerTablePart::kBorderColor)) in.U32();
    if (in.Need(4, PluckerTablePart::kLinkColor)) in.U32();
    if (in.Ok()) {
        const uint64_t left = in.Left();
        table.cells = {in.Bytes(left, PluckerTablePart::kLinkColor), left};
    }
    table.cut = in.Cut();
    return table;
}

PluckerComposite DecodePluckerComposite(const ByteSpan& data) {
    RecordReader<PluckerCompositePart> in(data, kCompositePartNames);
    PluckerComposite composite;
    if (in.Need(2, PluckerCompositePart::kColumns)) composite.columns = in.U16();
    if (in.Need(2, PluckerCompositePart::kRows)) composite.rows = in.U16();
    const uint64_t count = uint64_t{composite.columns} * composite.rows;
    composite.parts.reserve(Reserve(count, in.Left(), 2));
    for (uint64_t i = 0; i < count && in.Need(2, PluckerCompositePart::kParts); ++i)
        composite.parts.push_back(in.U16());
    composite.cut = in.Cut();
    return composite;
}

}  // namespace corvelle
