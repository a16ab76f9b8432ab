// A PalmDOC document (type TEXt): record 0 is its header, records 1 to the
// header's count hold the text, compressed or not.
#pragma once

#include <cstdint>
#include <string>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

constexpr uint16_t kPalmDocUncompressed = 1;
constexpr uint16_t kPalmDocCompressed = 2;

// The parts of record 0, in the order they are read.
enum class PalmDocHeaderPart : unsigned { kCompression, kSpare, kTextLength, kTextRecords, kRecordSize, kPosition };
// Where a text record can be cut: inside a run of literal bytes or a back-reference.
enum class PalmDocTextPart : unsigned { kLiteralRun, kBackReference };

struct PalmDocHeader {
    uint16_t compression = 0;
    uint32_t textLength = 0;
    uint16_t textRecords = 0;
    uint16_t recordSize = 0;
    uint32_t position = 0;
    RecordCut cut;
};

PalmDocHeader DecodePalmDocHeader(const ByteSpan& record);

struct PalmDocText {
    std::string text;            // the decompressed text, as far as it goes
    bool badReference = false;   // a back-reference before the start of the text stopped it
    uint64_t stoppedAt = 0;      // with badReference: the offset in the record of that reference
    RecordCut cut;               // a literal run or a reference cut by the record's end
};

// Decodes one text record with the header's compression (kPalmDocCompressed
// decompresses; any other value takes the bytes as they are). Back-references
// reach only into this record's own text. With a limit, decoding ends once
// the text holds at least that many bytes (a list cell needs no more).
PalmDocText DecodePalmDocText(const ByteSpan& record, uint16_t compression, uint64_t limit = UINT64_MAX);

}  // namespace corvelle
