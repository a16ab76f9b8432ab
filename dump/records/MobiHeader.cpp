#include "dump/records/MobiHeader.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {
    "the compression",
    "the spare bytes",
    "the text length",
    "the text record count",
    "the record size",
    "the encryption",
    "the unknown bytes",
    "the MOBI identifier",
    "the MOBI header length",
    "the book type",
    "the text encoding",
    "the unique ID",
    "the file version",
    "the index records",
    "the first non-text record",
    "the full name's offset",
    "the full name's length",
    "the locale",
    "the dictionary languages",
    "the minimum version",
    "the first image record",
    "the HUFF record",
    "the HUFF record count",
    "the DATP records",
    "the EXTH flags",
    "the FDST record",
    "the FDST count",
    "the extra data flags",
    "the EXTH block",
    "the full name",
};

constexpr uint32_t kExthFollows = 0x40;
// The MOBI header begins at byte 16 of record 0; its fields' places below
// count from the start of the record.
constexpr uint64_t kMobiStart = 16;
// The extra data flags are there only in headers at least E4h bytes long.
constexpr uint32_t kHeaderWithExtraFlags = 0xE4;

struct HeaderField {
    MobiHeaderPart part;
    uint64_t offset;
    uint64_t size;
    uint32_t MobiHeader::*member;  // null: skipped
};

const HeaderField kFields[] = {
    {MobiHeaderPart::kBookType, 24, 4, &MobiHeader::bookType},
    {MobiHeaderPart::kEncoding, 28, 4, &MobiHeader::encoding},
    {MobiHeaderPart::kUniqueId, 32, 4, nullptr},
    {MobiHeaderPart::kVersion, 36, 4, &MobiHeader::version},
    {MobiHeaderPart::kIndexes, 40, 40, nullptr},
    {MobiHeaderPart::kFirstNonText, 80, 4, nullptr},
    {MobiHeaderPart::kFullNameOffset, 84, 4, &MobiHeader::fullNameOffset},
    {MobiHeaderPart::kFullNameLength, 88, 4, &MobiHeader::fullNameLength},
    {MobiHeaderPart::kLocale, 92, 4, &MobiHeader::locale},
    {MobiHeaderPart::kLanguages, 96, 8, nullptr},
    {MobiHeaderPart::kMinimumVersion, 104, 4, nullptr},
    {MobiHeaderPart::kFirstImage, 108, 4, &MobiHeader::firstImage},
    {MobiHeaderPart::kHuffRecord, 112, 4, &MobiHeader::huffRecord},
    {MobiHeaderPart::kHuffCount, 116, 4, &MobiHeader::huffCount},
    {MobiHeaderPart::kDatp, 120, 8, nullptr},
    {MobiHeaderPart::kExthFlags, 128, 4, &MobiHeader::exthFlags},
    {MobiHeaderPart::kFdstRecord, 192, 4, &MobiHeader::fdstRecord},
    {MobiHeaderPart::kFdstCount, 196, 4, &MobiHeader::fdstCount},
};

bool IsMagic(const uint8_t* bytes, const char (&magic)[5]) {
    for (size_t i = 0; i < 4; ++i)
        if (bytes[i] != static_cast<uint8_t>(magic[i])) return false;
    return true;
}

void ReadExth(RecordReader<MobiHeaderPart>& in, MobiHeader& header) {
    const uint8_t* magic = in.Bytes(4, MobiHeaderPart::kExth);
    if (magic == nullptr || !IsMagic(magic, "EXTH")) return;
    header.hasExth = true;
    if (!in.Need(8, MobiHeaderPart::kExth)) return;
    in.U32();  // the block's length: the count and each record's own length say more
    const uint32_t count = in.U32();
    for (uint32_t i = 0; i < count; ++i) {
        if (!in.Need(8, MobiHeaderPart::kExth)) return;
        ExthRecord record;
        record.type = in.U32();
        const uint32_t length = in.U32();
        if (length < 8) {
            header.exthBroken = true;
            return;
        }
        record.data.size = length - 8;
        record.data.data = in.Bytes(record.data.size, MobiHeaderPart::kExth);
        if (record.data.data == nullptr) return;
        header.exth.push_back(record);
    }
}

void ReadFullName(const ByteSpan& record, MobiHeader& header) {
    if (header.fullNameLength == 0) return;
    ByteReader in(record.data, record.size);
    in.Seek(header.fullNameOffset);
    const uint64_t left = in.Ok() ? record.size - in.Offset() : 0;
    const uint64_t length = header.fullNameLength < left ? header.fullNameLength : left;
    const uint8_t* name = in.Bytes(length);
    if (name != nullptr) header.fullName = std::string_view(reinterpret_cast<const char*>(name), length);
    if (length < header.fullNameLength)
        header.cut.Mark(record.size, MobiHeaderPart::kFullName,
                        kPartNames[static_cast<unsigned>(MobiHeaderPart::kFullName)]);
}

}  // namespace

bool MobiHeaderHolds(const MobiHeader& header, MobiHeaderPart part) {
    if (!header.hasMobi || !header.cut.Whole(part)) return false;
    if (part == MobiHeaderPart::kExtraFlags) return header.hasExtraFlags;
    for (const HeaderField& field : kFields)
        if (field.part == part) return field.offset + field.size <= kMobiStart + header.headerLength;
    return part == MobiHeaderPart::kIdentifier || part == MobiHeaderPart::kHeaderLength;
}

bool FirstFlowEnd(const ByteSpan& fdst, uint64_t& end) {
    ByteReader in(fdst.data, fdst.size);
    const uint8_t* magic = in.Bytes(4);
    if (magic == nullptr || !IsMagic(magic, "FDST")) return false;
    const uint32_t listOffset = in.U32BE();
    const uint32_t count = in.U32BE();
    in.Seek(listOffset);
    in.U32BE();  // the first flow's start
    end = in.U32BE();
    return in.Ok() && count > 0;
}

bool HoldsMobiHeader(const ByteSpan& record) {
    return record.data != nullptr && record.size >= kMobiStart + 4 && IsMagic(record.data + kMobiStart, "MOBI");
}

bool HoldsOldMobiEncryption(const ByteSpan& record) {
    constexpr uint64_t kPalmDocHeaderSize = 16, kEncryptionAt = 12;
    constexpr uint8_t kOldEncryption = 1;
    return record.data != nullptr && record.size > kPalmDocHeaderSize && record.data[kEncryptionAt] == 0 &&
           record.data[kEncryptionAt + 1] == kOldEncryption;
}

MobiHeader DecodeMobiHeader(const ByteSpan& record) {
    RecordReader<MobiHeaderPart> in(record, kPartNames);
    MobiHeader header;
    if (in.Need(2, MobiHeaderPart::kCompression)) header.compression = in.U16();
    if (in.Need(2, MobiHeaderPart::kSpare)) in.U16();
    if (in.Need(4, MobiHeaderPart::kTextLength)) header.textLength = in.U32();
    if (in.Need(2, MobiHeaderPart::kTextRecords)) header.textRecords = in.U16();
    if (in.Need(2, MobiHeaderPart::kRecordSize)) header.recordSize = in.U16();
    if (in.Need(2, MobiHeaderPart::kEncryption)) header.encryption = in.U16();
    if (in.Need(2, MobiHeaderPart::kUnknown)) in.U16();
    const uint8_t* identifier = in.Bytes(4, MobiHeaderPart::kIdentifier);
    header.hasMobi = identifier != nullptr && IsMagic(identifier, "MOBI");
    if (header.hasMobi && in.Need(4, MobiHeaderPart::kHeaderLength)) {
        header.headerLength = in.U32();
        // Each field is there only when the header's length reaches past it;
        // the bytes between two fields are skipped.
        const uint64_t end = kMobiStart + header.headerLength;
        uint64_t at = kMobiStart + 8;
        for (const HeaderField& field : kFields) {
            if (field.offset + field.size > end || !in.Ok()) break;
            if (field.offset > at && in.Bytes(field.offset - at, field.part) == nullptr) break;
            if (field.member == nullptr) {
                in.Bytes(field.size, field.part);
            } else if (in.Need(4, field.part)) {
                header.*field.member = in.U32();
            }
            at = field.offset + field.size;
        }
        if (header.headerLength >= kHeaderWithExtraFlags && in.Ok()) {
            const uint64_t flagsAt = 242;
            if (in.Bytes(flagsAt - at, MobiHeaderPart::kExtraFlags) != nullptr &&
                in.Need(2, MobiHeaderPart::kExtraFlags)) {
                header.hasExtraFlags = true;
                header.extraFlags = in.U16();
                at = flagsAt + 2;
            }
        }
        if ((header.exthFlags & kExthFollows) != 0 && in.Ok() && end >= at &&
            in.Bytes(end - at, MobiHeaderPart::kExth) != nullptr)
            ReadExth(in, header);
    }
    header.cut = in.Cut();
    if (header.hasMobi) ReadFullName(record, header);
    return header;
}

}  // namespace corvelle
