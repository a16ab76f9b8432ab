#include "dump/records/PalmDocRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kHeaderPartNames[] = {"the compression",       "the spare bytes", "the text length",
                                         "the text record count", "the record size", "the position"};

}  // namespace

PalmDocHeader DecodePalmDocHeader(const ByteSpan& record) {
    RecordReader<PalmDocHeaderPart> in(record, kHeaderPartNames);
    PalmDocHeader header;
    if (in.Need(2, PalmDocHeaderPart::kCompression)) header.compression = in.U16();
    if (in.Need(2, PalmDocHeaderPart::kSpare)) in.U16();
    if (in.Need(4, PalmDocHeaderPart::kTextLength)) header.textLength = in.U32();
    if (in.Need(2, PalmDocHeaderPart::kTextRecords)) header.textRecords = in.U16();
    if (in.Need(2, PalmDocHeaderPart::kRecordSize)) header.recordSize = in.U16();
    if (in.Need(4, PalmDocHeaderPart::kPosition)) header.position = in.U32();
    header.cut = in.Cut();
    return header;
}

PalmDocText DecodePalmDocText(const ByteSpan& record, uint16_t compression, uint64_t limit) {
    PalmDocText doc;
    const uint8_t* bytes = record.data;
    const uint64_t size = bytes != nullptr ? record.size : 0;
    if (compression != kPalmDocCompressed) {
        const uint64_t length = size < limit ? size : limit;
        doc.text.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
        return doc;
    }
    std::string& out = doc.text;
    out.reserve(static_cast<size_t>(size < limit ? size * 2 : limit + 8));
    uint64_t at = 0;
    while (at < size && out.size() < limit) {
        const uint8_t byte = bytes[at];
        if (byte >= 0x01 && byte <= 0x08) {
            // A run of literal bytes.
            const uint64_t available = size - at - 1;
            const uint64_t count = byte <= available ? byte : available;
            out.append(reinterpret_cast<const char*>(bytes + at + 1), static_cast<size_t>(count));
            if (count < byte) {
                doc.cut.Mark(size, PalmDocTextPart::kLiteralRun, "a run of literal bytes");
                break;
            }
            at += 1 + count;
        } else if (byte >= 0x80 && byte <= 0xBF) {
            // Two bytes: 11 bits of distance back from the end of the text so
            // far, 3 bits of length - 3.
            if (at + 1 >= size) {
                doc.cut.Mark(size, PalmDocTextPart::kBackReference, "a back-reference");
                break;
            }
            const unsigned bits = ((byte & 0x3Fu) << 8) | bytes[at + 1];
            const size_t distance = bits >> 3;
            const size_t length = (bits & 7u) + 3;
            if (distance == 0 || distance > out.size()) {
                doc.badReference = true;
                doc.stoppedAt = at;
                break;
            }
            // Byte by byte: the copy may overlap what it writes.
            for (size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
            at += 2;
        } else if (byte >= 0xC0) {
            out.push_back(' ');
            out.push_back(static_cast<char>(byte ^ 0x80));
            ++at;
        } else {
            out.push_back(static_cast<char>(byte));
            ++at;
        }
    }
    return doc;
}

}  // namespace corvelle
