// zTXT books (zTXT/GPlm, Weasel Reader): record 0 says how the text is
// stored, records 1 to its data record count hold one zlib stream, and a
// bookmark record, an annotation index and one record per annotation may
// follow them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// The stream was cut at a full flush after every record's text, so that
// any record inflates on its own once record 1 has been.
constexpr uint8_t kZtxtRandomAccess = 0x01;
// The records' texts are not all of the record size.
constexpr uint8_t kZtxtNonUniform = 0x02;

// The parts of record 0, in the order they are read.
enum class ZtxtHeaderPart : unsigned {
    kVersion,
    kDataRecords,
    kTextLength,
    kRecordSize,
    kBookmarkCount,
    kBookmarkRecord,
    kAnnotationCount,
    kAnnotationRecord,
    kFlags,
    kReserved,
    kCrc,
};

struct ZtxtHeader {
    uint16_t version = 0;  // major in the high byte, minor in the low: 012Ch is 1.44
    uint16_t dataRecords = 0;
    uint32_t textLength = 0;
    uint16_t recordSize = 0;
    uint16_t bookmarkCount = 0;
    uint16_t bookmarkRecord = 0;  // 0: none
    uint16_t annotationCount = 0;
    uint16_t annotationRecord = 0;  // the annotation index; 0: none
    uint8_t flags = 0;
    uint32_t crc = 0;  // CRC-32 of the data records' bytes
    RecordCut cut;

    bool RandomAccess() const { return (flags & kZtxtRandomAccess) != 0; }
};

ZtxtHeader DecodeZtxtHeader(const ByteSpan& record);

// A bookmark, or an annotation's entry in the index: where in the text it
// stands and its title (20 bytes, up to a zero byte).
struct ZtxtMark {
    uint32_t offset = 0;
    std::string_view title;
};

enum class ZtxtMarkPart : unsigned { kOffset, kTitle };

struct ZtxtMarks {
    std::vector<ZtxtMark> marks;  // as many as the record holds of those announced
    RecordCut cut;
};

// The bookmark record or the annotation index: `count` marks, as the header
// announces them.
ZtxtMarks DecodeZtxtMarks(const ByteSpan& record, uint16_t count);

// The CRC-32 (zlib's) of `bytes`, continuing from `crc` (0 to begin).
uint32_t ZtxtCrc(uint32_t crc, const ByteSpan& bytes);

}  // namespace corvelle
