// A Mobipocket book's record 0: a PalmDOC header (compression, text length,
// text record count, record size, encryption), then the MOBI header (its own
// length says which of its fields are there), then, where the header's flags
// say so, the EXTH block of metadata, and somewhere in the record the book's
// full name.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

constexpr uint16_t kMobiUncompressed = 1;
constexpr uint16_t kMobiPalmDoc = 2;
constexpr uint16_t kMobiHuffCdic = 17480;  // "DH"
constexpr uint32_t kMobiUtf8 = 65001;
constexpr uint32_t kMobiCp1252 = 1252;
constexpr uint32_t kMobiNoRecord = 0xFFFFFFFF;
// The extra-data flag whose trailing entry is a character's overlap into the next record.
constexpr uint16_t kMobiMultibyteFlag = 1;

// The parts of record 0, in the order they are read.
enum class MobiHeaderPart : unsigned {
    kCompression,
    kSpare,
    kTextLength,
    kTextRecords,
    kRecordSize,
    kEncryption,
    kUnknown,
    kIdentifier,
    kHeaderLength,
    kBookType,
    kEncoding,
    kUniqueId,
    kVersion,
    kIndexes,
    kFirstNonText,
    kFullNameOffset,
    kFullNameLength,
    kLocale,
    kLanguages,
    kMinimumVersion,
    kFirstImage,
    kHuffRecord,
    kHuffCount,
    kDatp,
    kExthFlags,
    kFdstRecord,
    kFdstCount,
    kExtraFlags,
    kExth,
    kFullName,
};

struct ExthRecord {
    uint32_t type = 0;
    ByteSpan data;  // inside record 0
};

struct MobiHeader {
    // The PalmDOC part.
    uint16_t compression = 0;
    uint32_t textLength = 0;
    uint16_t textRecords = 0;
    uint16_t recordSize = 0;
    uint16_t encryption = 0;
    // The MOBI part: hasMobi once "MOBI" stands at byte 16. A field that the
    // header's length leaves out keeps its default.
    bool hasMobi = false;
    uint32_t headerLength = 0;
    uint32_t bookType = 0;
    uint32_t encoding = kMobiCp1252;
    uint32_t version = 0;
    uint32_t fullNameOffset = 0;
    uint32_t fullNameLength = 0;
    uint32_t locale = 0;
    uint32_t firstImage = kMobiNoRecord;
    uint32_t huffRecord = 0;
    uint32_t huffCount = 0;
    uint32_t exthFlags = 0;
    // KF8 only (version 8): the FDST record, which says where the text's
    // flows (the HTML, then its style sheets) begin and end.
    uint32_t fdstRecord = kMobiNoRecord;
    uint32_t fdstCount = 0;
    bool hasExtraFlags = false;
    uint16_t extraFlags = 0;
    // The EXTH block, when the flags announce one (40h).
    bool hasExth = false;
    std::vector<ExthRecord> exth;
    // A record's length that is below its own 8 bytes or runs past the block:
    // the records from there on are not read.
    bool exthBroken = false;
    std::string_view fullName;
    RecordCut cut;
};

MobiHeader DecodeMobiHeader(const ByteSpan& record);

// Whether the header holds that field of the MOBI part (from kBookType to
// kExtraFlags) and it was read: its length reaches past it and the record
// does not end before it.
bool MobiHeaderHolds(const MobiHeader& header, MobiHeaderPart part);

// Where the first flow (the book's HTML) of a KF8 book's text ends, from its
// FDST record ("FDST", the offset of its list, the count, then a start and
// an end for each flow); false when the record is none.
bool FirstFlowEnd(const ByteSpan& fdst, uint64_t& end);

// Whether record 0 holds "MOBI" at byte 16: what tells a Mobipocket book
// stored as a PalmDOC one (TEXt/REAd) apart.
bool HoldsMobiHeader(const ByteSpan& record);

// Whether record 0 of a TEXt/REAd book holds Mobipocket's old encryption: it
// is longer than PalmDOC's 16 bytes (its key data follow) and holds 1 at
// bytes 12-13, where the MOBI header's books keep their encryption. A
// PalmDOC record 0 of 16 bytes keeps its reading position there.
bool HoldsOldMobiEncryption(const ByteSpan& record);

}  // namespace corvelle
