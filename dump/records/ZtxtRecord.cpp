#include "dump/records/ZtxtRecord.h"

#include <zlib.h>

#include <climits>

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kHeaderPartNames[] = {
    "the version",          "the data record count", "the text length",       "the record size",
    "the bookmark count",   "the bookmark record",   "the annotation count",  "the annotation record",
    "the flags",            "the reserved byte",     "the CRC-32",
};

const char* const kMarkPartNames[] = {"a mark's offset", "a mark's title"};

constexpr uint64_t kTitleWidth = 20;

}  // namespace

ZtxtHeader DecodeZtxtHeader(const ByteSpan& record) {
    RecordReader<ZtxtHeaderPart> in(record, kHeaderPartNames);
    ZtxtHeader header;
    if (in.Need(2, ZtxtHeaderPart::kVersion)) header.version = in.U16();
    if (in.Need(2, ZtxtHeaderPart::kDataRecords)) header.dataRecords = in.U16();
    if (in.Need(4, ZtxtHeaderPart::kTextLength)) header.textLength = in.U32();
    if (in.Need(2, ZtxtHeaderPart::kRecordSize)) header.recordSize = in.U16();
    if (in.Need(2, ZtxtHeaderPart::kBookmarkCount)) header.bookmarkCount = in.U16();
    if (in.Need(2, ZtxtHeaderPart::kBookmarkRecord)) header.bookmarkRecord = in.U16();
    if (in.Need(2, ZtxtHeaderPart::kAnnotationCount)) header.annotationCount = in.U16();
    if (in.Need(2, ZtxtHeaderPart::kAnnotationRecord)) header.annotationRecord = in.U16();
    if (in.Need(1, ZtxtHeaderPart::kFlags)) header.flags = in.U8();
    if (in.Need(1, ZtxtHeaderPart::kReserved)) in.U8();
    if (in.Need(4, ZtxtHeaderPart::kCrc)) header.crc = in.U32();
    header.cut = in.Cut();
    return header;
}

ZtxtMarks DecodeZtxtMarks(const ByteSpan& record, uint16_t count) {
    RecordReader<ZtxtMarkPart> in(record, kMarkPartNames);
    ZtxtMarks result;
    // A count from the header is not trusted: the record's size bounds the list.
    result.marks.reserve(count < record.size / (4 + kTitleWidth) ? count : record.size / (4 + kTitleWidth));
    for (uint16_t i = 0; i < count; ++i) {
        ZtxtMark mark;
        if (!in.Need(4, ZtxtMarkPart::kOffset)) break;
        mark.offset = in.U32();
        const uint8_t* title = in.Bytes(kTitleWidth, ZtxtMarkPart::kTitle);
        if (title == nullptr) break;
        size_t length = 0;
        while (length < kTitleWidth && title[length] != 0) ++length;
        mark.title = std::string_view(reinterpret_cast<const char*>(title), length);
        result.marks.push_back(mark);
    }
    result.cut = in.Cut();
    return result;
}

uint32_t ZtxtCrc(uint32_t crc, const ByteSpan& bytes) {
    const uint8_t* next = bytes.data;
    uint64_t left = next != nullptr ? bytes.size : 0;
    uLong value = crc;
    // zlib counts in unsigned int.
    while (left > 0) {
        const uInt slice = left > UINT_MAX ? UINT_MAX : static_cast<uInt>(left);
        value = crc32(value, next, slice);
        next += slice;
        left -= slice;
    }
    return static_cast<uint32_t>(value);
}

}  // namespace corvelle
