#include "dump/records/EReaderRecord.h"

#include <cstring>

#include "dump/Inflate.h"
#include "dump/records/PalmDocRecord.h"
#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kHeaderPartNames[] = {"the compression",           "the encoding", "the page counts",
                                        "the first non-text record", "the counts",   "the first records"};
const char* const kOlderHeaderPartNames[] = {
    "the version", "the bytes after the version", "", "the first non-text record", "", ""};
const char* const kMetadataPartNames[] = {"the title", "the author", "the copyright", "the publisher", "the ISBN"};
const char* const kImagePartNames[] = {"the signature", "the image name", "the bytes before the size",
                                       "the width and height", "the PNG data"};
const char* const kIndexPartNames[] = {"the offset", "the name"};

enum class NoteIdPart : unsigned { kId };
const char* const kNoteIdPartNames[] = {"an id"};

// The sizes record 0 has in books of the older writers.
bool IsOlderHeaderSize(uint64_t size) { return size == 202 || size == 116; }

EReaderText FromPalmDoc(PalmDocText decoded) {
    EReaderText text;
    text.text = std::move(decoded.text);
    if (decoded.badReference) {
        text.stop = EReaderText::Stop::kBadReference;
        text.at = decoded.stoppedAt;
    } else if (decoded.cut.cut) {
        text.stop = EReaderText::Stop::kCut;
    }
    return text;
}

}  // namespace

EReaderCompression EReaderHeader::Compression() const {
    if (older) return EReaderCompression::kXoredPalmDoc;
    switch (compression) {
        case 2: return EReaderCompression::kPalmDoc;
        case 10: return EReaderCompression::kZlib;
        case 260:
        case 272: return EReaderCompression::kProtected;
        default: return EReaderCompression::kUnknown;
    }
}

EReaderHeader DecodeEReaderHeader(const ByteSpan& record) {
    EReaderHeader header;
    header.older = IsOlderHeaderSize(record.size);
    using Part = EReaderHeaderPart;
    RecordReader<Part> in(record, header.older ? kOlderHeaderPartNames : kHeaderPartNames);
    if (in.Need(2, Part::kCompression)) header.compression = in.U16();
    if (header.older) {
        in.Bytes(6, Part::kEncoding);
        if (in.Need(2, Part::kNonText)) header.nonTextStart = in.U16();
        header.cut = in.Cut();
        return header;
    }
    if (in.Need(6, Part::kEncoding)) {
        in.U32();
        header.encoding = in.U16();
    }
    if (in.Need(4, Part::kPages)) in.U32();
    if (in.Need(2, Part::kNonText)) header.nonTextStart = in.U16();
    if (in.Need(18, Part::kCounts)) {
        header.chapters.count = in.U16();
        in.U32();  // the small and large font page index counts
        header.images.count = in.U16();
        header.links.count = in.U16();
        header.hasMetadata = in.U16() != 0;
        in.U16();
        header.footnotes.count = in.U16();
        header.sidebars.count = in.U16();
    }
    if (in.Need(22, Part::kFirstRecords)) {
        header.chapters.first = in.U16();
        in.U16();  // 2560, always
        in.U32();  // the small and large font page indexes
        header.images.first = in.U16();
        header.links.first = in.U16();
        header.metadataRecord = in.U16();
        in.U16();
        header.footnotes.first = in.U16();
        header.sidebars.first = in.U16();
        header.lastDataRecord = in.U16();
    }
    header.cut = in.Cut();
    return header;
}

EReaderText DecodeEReaderText(const ByteSpan& record, EReaderCompression compression, uint64_t limit) {
    const uint64_t bound = limit < kEReaderRecordBound ? limit : kEReaderRecordBound;
    EReaderText text;
    switch (compression) {
        case EReaderCompression::kPalmDoc:
            text = FromPalmDoc(DecodePalmDocText(record, kPalmDocCompressed, bound + 1));
            break;
        case EReaderCompression::kXoredPalmDoc: {
            std::string plain(record.Chars());
            for (char& c : plain) c = static_cast<char>(c ^ 0xA5);
            const ByteSpan span{reinterpret_cast<const uint8_t*>(plain.data()), plain.size()};
            text = FromPalmDoc(DecodePalmDocText(span, kPalmDocCompressed, bound + 1));
            break;
        }
        case EReaderCompression::kZlib:
            switch (InflateRecord(record, bound + 1, text.text)) {
                case InflateStatus::kDone: break;
                case InflateStatus::kMoreInput: text.stop = EReaderText::Stop::kCut; break;
                case InflateStatus::kBound: text.stop = EReaderText::Stop::kBound; break;
                case InflateStatus::kBroken: text.stop = EReaderText::Stop::kBroken; break;
            }
            break;
        case EReaderCompression::kProtected:
        case EReaderCompression::kUnknown: text.stop = EReaderText::Stop::kNotDecoded; break;
    }
    // Past the bound: a bomb for a whole record, or only the end of what a
    // cell needs, which is no fault.
    if (text.text.size() > bound) {
        text.text.resize(static_cast<size_t>(bound));
        text.stop = limit >= kEReaderRecordBound ? EReaderText::Stop::kBound : EReaderText::Stop::kNone;
    } else if (text.stop == EReaderText::Stop::kBound && limit < kEReaderRecordBound) {
        text.stop = EReaderText::Stop::kNone;
    }
    return text;
}

const char* EReaderStopText(EReaderText::Stop stop) {
    switch (stop) {
        case EReaderText::Stop::kNone: return nullptr;
        case EReaderText::Stop::kCut: return "the record ends inside its compressed text";
        case EReaderText::Stop::kBadReference: return "a back-reference reaches before the start of the text";
        case EReaderText::Stop::kBound: return "it would yield more than 65535 bytes, the most a record holds";
        case EReaderText::Stop::kBroken: return "its zlib stream is damaged";
        case EReaderText::Stop::kNotDecoded: return "its compression is not one we read";
    }
    return nullptr;
}

EReaderMetadata DecodeEReaderMetadata(const ByteSpan& record) {
    using Part = EReaderMetadataPart;
    RecordReader<Part> in(record, kMetadataPartNames);
    EReaderMetadata metadata;
    metadata.title = in.Text(Part::kTitle);
    metadata.author = in.Text(Part::kAuthor);
    metadata.copyright = in.Text(Part::kCopyright);
    metadata.publisher = in.Text(Part::kPublisher);
    metadata.isbn = in.Text(Part::kIsbn);
    metadata.cut = in.Cut();
    return metadata;
}

std::vector<std::string_view> DecodeEReaderNoteIds(const ByteSpan& record) {
    RecordReader<NoteIdPart> in(record, kNoteIdPartNames);
    std::vector<std::string_view> ids;
    const bool lengthPrefixed = record.size >= 2 && record.data[0] == 0 && record.data[1] == 1;
    while (in.Left() > 0) {
        if (lengthPrefixed) {
            if (!in.Need(3, NoteIdPart::kId)) break;
            in.U16();
            const uint8_t length = in.U8();
            const uint8_t* id = in.Bytes(length, NoteIdPart::kId);
            if (id == nullptr) break;
            ids.emplace_back(reinterpret_cast<const char*>(id), length);
            if (in.Need(1, NoteIdPart::kId)) in.U8();
        } else {
            ids.push_back(in.Text(NoteIdPart::kId));
        }
    }
    return ids;
}

bool IsEReaderImage(const ByteSpan& record) {
    return record.data != nullptr && record.size >= 4 && std::memcmp(record.data, "PNG ", 4) == 0;
}

EReaderImage DecodeEReaderImage(const ByteSpan& record) {
    using Part = EReaderImagePart;
    RecordReader<Part> in(record, kImagePartNames);
    EReaderImage image;
    in.Bytes(4, Part::kSignature);
    if (const uint8_t* name = in.Bytes(32, Part::kName)) {
        size_t length = 0;
        while (length < 32 && name[length] != 0) ++length;
        image.name = std::string_view(reinterpret_cast<const char*>(name), length);
    }
    in.Bytes(22, Part::kSpare);
    if (in.Need(4, Part::kSize)) {
        image.width = in.U16();
        image.height = in.U16();
    }
    const uint64_t left = in.Left();
    if (!in.Ok() || left == 0) {
        in.Mark(Part::kData);
    } else {
        image.png = {in.Bytes(left, Part::kData), left};
    }
    image.cut = in.Cut();
    return image;
}

EReaderIndexEntry DecodeEReaderIndexEntry(const ByteSpan& record) {
    using Part = EReaderIndexPart;
    RecordReader<Part> in(record, kIndexPartNames);
    EReaderIndexEntry entry;
    if (in.Need(4, Part::kOffset)) entry.offset = in.U32();
    entry.name = in.Text(Part::kName);
    entry.cut = in.Cut();
    return entry;
}

}  // namespace corvelle
