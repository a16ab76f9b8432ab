// eReader books (PNRd/PPrs, PNPd/PPrs): record 0 is the eReader header, the
// records after it up to the first non-text record hold the text, each
// compressed on its own and marked up in PML; then come index, image,
// metadata, footnote and sidebar records where the header says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// Record 0 of 132 bytes (today's writers) names its parts; one of 202 or 116
// bytes (older writers) holds little more than a version and where the text ends.
enum class EReaderHeaderPart : unsigned { kCompression, kEncoding, kPages, kNonText, kCounts, kFirstRecords };

// Where a run of records of one kind starts and how many there are.
struct EReaderSection {
    uint16_t count = 0;
    uint16_t first = 0;
    bool Holds(size_t index) const { return count > 0 && index >= first && index - first < count; }
};

// How the text records are stored.
enum class EReaderCompression {
    kPalmDoc,       // PalmDOC, each record on its own (132: compression 2)
    kZlib,          // a zlib stream a record (132: compression 10)
    kXoredPalmDoc,  // PalmDOC with every compressed byte XORed with A5h (the older header)
    kProtected,     // 132: compression 260 or 272, the text encrypted for one reader
    kUnknown,
};

struct EReaderHeader {
    bool older = false;         // record 0 of 202 or 116 bytes
    uint16_t compression = 0;   // 132: 2, 10, 260, 272; older: its version
    uint16_t encoding = 0;      // 132: 25152 (6240h) for cp1252
    uint16_t nonTextStart = 0;  // the first record after the text
    EReaderSection chapters, images, links, footnotes, sidebars;
    bool hasMetadata = false;
    uint16_t metadataRecord = 0;
    uint16_t lastDataRecord = 0;
    RecordCut cut;

    EReaderCompression Compression() const;
    // The text records: 1 up to the first non-text record.
    bool IsTextRecord(size_t index) const { return index >= 1 && index < nonTextStart; }
};

EReaderHeader DecodeEReaderHeader(const ByteSpan& record);

// A text record's decoded text never exceeds 65535 bytes: the format keeps
// each record's size before compression in a 16-bit word. Inflating stops
// there, so that a compressed bomb costs no more.
constexpr uint64_t kEReaderRecordBound = 65535;

struct EReaderText {
    enum class Stop {
        kNone,
        kCut,           // the record ends inside a literal run, a back-reference or the zlib stream
        kBadReference,  // a PalmDOC back-reference before the start of the text
        kBound,         // the record yields more than kEReaderRecordBound
        kBroken,        // not a zlib stream, or a damaged one
        kNotDecoded,    // protected, or a compression we do not know
    };
    std::string text;  // cp1252 and PML, as far as it goes
    Stop stop = Stop::kNone;
    uint64_t at = 0;  // kBadReference: the reference's offset in the record
};

// Decodes one text, footnote or sidebar record. With a limit, decoding ends
// once the text holds about that many bytes (a list cell needs no more).
EReaderText DecodeEReaderText(const ByteSpan& record, EReaderCompression compression,
                              uint64_t limit = kEReaderRecordBound);
// "the zlib stream ends early" and the like, for a note; null for kNone.
const char* EReaderStopText(EReaderText::Stop stop);

// The metadata record: five zero-terminated texts.
enum class EReaderMetadataPart : unsigned { kTitle, kAuthor, kCopyright, kPublisher, kIsbn };
struct EReaderMetadata {
    std::string_view title, author, copyright, publisher, isbn;
    RecordCut cut;
};
EReaderMetadata DecodeEReaderMetadata(const ByteSpan& record);

// The first footnote or sidebar record: the notes' ids, in the order of the
// records after it. Either zero-terminated ids one after the other, or (newer
// writers) each as 00h 01h, its length in a byte, the id and a zero byte.
std::vector<std::string_view> DecodeEReaderNoteIds(const ByteSpan& record);

// An image record: "PNG ", a name of 32 bytes, 22 bytes we do not know, the
// width and height, then the PNG file itself.
enum class EReaderImagePart : unsigned { kSignature, kName, kSpare, kSize, kData };
struct EReaderImage {
    std::string_view name;
    uint16_t width = 0, height = 0;
    ByteSpan png;
    RecordCut cut;
};
bool IsEReaderImage(const ByteSpan& record);
EReaderImage DecodeEReaderImage(const ByteSpan& record);

// A chapter or link index record: where in the PML text it points, and its name.
enum class EReaderIndexPart : unsigned { kOffset, kName };
struct EReaderIndexEntry {
    uint32_t offset = 0;
    std::string_view name;
    RecordCut cut;
};
EReaderIndexEntry DecodeEReaderIndexEntry(const ByteSpan& record);

}  // namespace corvelle
