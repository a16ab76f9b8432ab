// Plucker books (Data/Plkr): record 0 is the index (the compression and the
// reserved records' IDs); every other record starts with an 8-byte header
// (its ID, paragraph count, size before compression, type, flags). A text
// record's paragraph headers follow it uncompressed; the rest of a record
// is compressed as one block when its type says so.
#pragma once

#include <cstdint>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

constexpr uint16_t kPluckerPalmDoc = 1;
constexpr uint16_t kPluckerZlib = 2;
// Reserved record names of the index.
constexpr uint16_t kPluckerHomeName = 0;
constexpr uint16_t kPluckerMetadataName = 4;

// The data records' types.
namespace plucker_type {
constexpr uint8_t kText = 0, kTextCompressed = 1, kImage = 2, kImageCompressed = 3, kMetadata = 10, kTable = 13,
                  kTableCompressed = 14, kCompositeImage = 15;
}  // namespace plucker_type

// A data record's flags.
constexpr uint8_t kPluckerContinued = 0x01;   // its last paragraph goes on in the next text record
constexpr uint8_t kPluckerNavigation = 0x02;  // navigation data follows its text or image

// "text", "image (compressed)", "metadata": the description's name of a type; null for one it lacks.
const char* PluckerTypeName(uint8_t type);
// Whether the record's data after its headers is compressed.
bool PluckerTypeCompressed(uint8_t type);

enum class PluckerIndexPart : unsigned { kUid, kCompression, kReservedCount, kReserved };

struct PluckerReserved {
    uint16_t name = 0;
    uint16_t uid = 0;
};

struct PluckerIndex {
    uint16_t uid = 0;
    uint16_t compression = 0;
    uint16_t reservedCount = 0;
    std::vector<PluckerReserved> reserved;  // as many pairs as the record holds
    RecordCut cut;
};

PluckerIndex DecodePluckerIndex(const ByteSpan& record);

enum class PluckerRecordPart : unsigned { kUid, kParagraphCount, kSize, kType, kFlags, kParagraphs };

struct PluckerParagraph {
    uint16_t size = 0;        // before compression
    uint16_t attributes = 0;  // the low 3 bits: extra spacing
};

struct PluckerRecord {
    uint16_t uid = 0;
    uint16_t paragraphCount = 0;
    uint16_t size = 0;  // of the data before compression
    uint8_t type = 0;
    uint8_t flags = 0;
    std::vector<PluckerParagraph> paragraphs;  // text records only
    ByteSpan body;                             // the data after the headers, as stored
    RecordCut cut;

    bool IsText() const { return type == plucker_type::kText || type == plucker_type::kTextCompressed; }
};

PluckerRecord DecodePluckerRecord(const ByteSpan& record);

// The metadata record's items: a count, then (type, length in 2-byte words,
// data). 1 the character set (an IANA MIBenum), 2 the records of another
// character set (record ID, MIBenum pairs), 3 the owner ID's CRC-32, 4 the
// author, 5 the title, 6 the publication date (Palm seconds), 7 the linked
// documents' names.
namespace plucker_item {
constexpr uint16_t kCharset = 1, kExceptionalCharsets = 2, kOwnerId = 3, kAuthor = 4, kTitle = 5,
                   kPublicationDate = 6, kLinkedDocuments = 7;
}  // namespace plucker_item

enum class PluckerMetadataPart : unsigned { kHeader, kCount, kItemType, kItemLength, kItemData };

struct PluckerItem {
    uint16_t type = 0;
    ByteSpan data;
};

struct PluckerMetadata {
    uint16_t count = 0;
    std::vector<PluckerItem> items;  // as many as the record holds
    RecordCut cut;
};

// The whole metadata record, its 8-byte header included.
PluckerMetadata DecodePluckerMetadata(const ByteSpan& record);

// A table record's data (uncompressed): its header, then row and cell
// functions, each cell's text after its function.
enum class PluckerTablePart : unsigned { kSize, kColumns, kRows, kDepth, kBorder, kBorderColor, kLinkColor };

struct PluckerTable {
    uint16_t columns = 0;
    uint16_t rows = 0;
    ByteSpan cells;  // the functions and texts after the header
    RecordCut cut;
};

PluckerTable DecodePluckerTable(const ByteSpan& data);

// A composite image's data: columns, rows, then each part's image record ID.
enum class PluckerCompositePart : unsigned { kColumns, kRows, kParts };

struct PluckerComposite {
    uint16_t columns = 0;
    uint16_t rows = 0;
    std::vector<uint16_t> parts;  // row by row, as many as the data holds
    RecordCut cut;
};

PluckerComposite DecodePluckerComposite(const ByteSpan& data);

}  // namespace corvelle
