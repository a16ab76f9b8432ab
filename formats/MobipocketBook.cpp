#include "formats/MobipocketBook.h"

#include <vector>

#include "dump/records/ImageFile.h"
#include "dump/records/MobiTrailing.h"
#include "dump/records/PalmDocRecord.h"
#include "standards/CodePage.h"

namespace corvelle {
namespace {

constexpr uint32_t kExthKf8Boundary = 121;
// The least a record may yield, whatever a broken header says: PalmDOC's
// and Mobipocket's records hold 4096 bytes of text.
constexpr uint64_t kLeastRecordBound = 4096;
// A book's text may run this far past its announced length before it stops.
constexpr uint64_t kBookMargin = 64 * 1024;

uint32_t BigEndian32(const ByteSpan& data) {
    if (data.size != 4) return 0;
    return (uint32_t{data.data[0]} << 24) | (uint32_t{data.data[1]} << 16) | (uint32_t{data.data[2]} << 8) |
           data.data[3];
}

std::string RecordNumber(uint64_t index) { return "record " + std::to_string(index); }

}  // namespace

MobipocketBook::MobipocketBook(const DatabaseModel& model) : m_model(model) {
    if (model.Count() > 0 && model.Entry(0).hasData) m_header = DecodeMobiHeader(model.Data(0));
    if (model.Count() > 0) m_lastText = m_header.textRecords < model.Count() ? m_header.textRecords : model.Count() - 1;
    if (const ExthRecord* boundary = Exth(kExthKf8Boundary)) m_kf8Boundary = BigEndian32(boundary->data);
    uint64_t flowEnd = 0;
    if (IsKf8() && m_header.fdstRecord < model.Count() && FirstFlowEnd(model.Data(m_header.fdstRecord), flowEnd))
        m_readableEnd = flowEnd;
    m_codePage = FindCodePageNumber(m_header.encoding);
    if (m_codePage == nullptr) {
        m_codePage = FindCodePage("cp1252");
        m_codePageKnown = false;
    }
}

bool MobipocketBook::KnownCompression() const {
    return m_header.compression == kMobiUncompressed || m_header.compression == kMobiPalmDoc ||
           m_header.compression == kMobiHuffCdic;
}

std::string MobipocketBook::FormatName() const {
    if (IsKf8()) return "KF8";
    if (!m_header.hasMobi) return "Mobipocket";
    return "Mobipocket " + std::to_string(m_header.version);
}

MobipocketBook::Kind MobipocketBook::KindOf(size_t index) const {
    if (index == 0) return Kind::kHeader;
    if (index <= m_lastText) return Kind::kText;
    const uint64_t huff = m_header.huffRecord;
    if (m_header.compression == kMobiHuffCdic && huff != 0 && index >= huff && index - huff < m_header.huffCount)
        return index == huff ? Kind::kHuff : Kind::kCdic;
    if (index >= m_header.firstImage && index < m_model.Count() &&
        IdentifyImageFile(m_model.Data(index)).kind != ImageFileKind::kNone)
        return Kind::kImage;
    return Kind::kOther;
}

uint64_t MobipocketBook::CarriedInto(size_t index) const {
    if (index <= 1 || index - 1 > m_lastText || !m_model.Entry(index - 1).hasData) return 0;
    return SplitTrailingEntries(m_model.Data(index - 1), m_header.extraFlags).overlap.size;
}

uint64_t MobipocketBook::RecordBound() const {
    return m_header.recordSize > kLeastRecordBound ? m_header.recordSize : kLeastRecordBound;
}

uint64_t MobipocketBook::BookBound() const { return uint64_t{m_header.textLength} + kBookMargin; }

const ExthRecord* MobipocketBook::Exth(uint32_t type) const {
    for (const ExthRecord& record : m_header.exth)
        if (record.type == type) return &record;
    return nullptr;
}

ByteSpan MobipocketBook::ImageFile(uint32_t number) const {
    if (number == 0 || m_header.firstImage == kMobiNoRecord) return {};
    const uint64_t index = uint64_t{m_header.firstImage} + number - 1;
    if (index >= m_model.Count()) return {};
    const ByteSpan data = m_model.Data(static_cast<size_t>(index));
    return IdentifyImageFile(data).kind != ImageFileKind::kNone ? data : ByteSpan{};
}

// The HUFF record and the CDIC records after it, as record 0 names them.
void MobipocketBook::Load(MobiDictionary& dictionary) const {
    dictionary.tried = true;
    const uint64_t huff = m_header.huffRecord;
    if (huff == 0 || huff >= m_model.Count() || !m_model.Entry(huff).hasData) {
        dictionary.why = "the HUFF record (" + RecordNumber(huff) + ") is not in the file";
        return;
    }
    std::vector<ByteSpan> cdics;
    for (uint64_t index = huff + 1; index - huff < m_header.huffCount && index < m_model.Count(); ++index)
        cdics.push_back(m_model.Data(static_cast<size_t>(index)));
    std::string why;
    dictionary.loaded = dictionary.huff.Load(m_model.Data(huff), cdics, RecordBound(), why);
    if (!dictionary.loaded) dictionary.why = "the HUFF record (" + RecordNumber(huff) + ") cannot be read: " + why;
}

MobiRecordText MobipocketBook::Text(size_t index, uint64_t limit, MobiDictionary& dictionary) const {
    MobiRecordText result;
    if (index >= m_model.Count() || !m_model.Entry(index).hasData) {
        result.problem = "it lies outside the file";
        return result;
    }
    if (Encrypted()) {
        result.problem = "the book is encrypted";
        return result;
    }
    const MobiTrailing trailing = SplitTrailingEntries(m_model.Data(index), m_header.extraFlags);
    result.overlap = trailing.overlap;
    result.trailingBytes = trailing.trailingBytes;
    if (trailing.overran) {
        result.problem = "its trailing entries are larger than the record";
        return result;
    }
    const uint64_t bound = RecordBound();
    // One byte past the bound tells a record that yields too much from one that fills it.
    const uint64_t wanted = limit < bound ? limit : bound + 1;
    switch (m_header.compression) {
        case kMobiUncompressed:
            result.text = std::string(trailing.text.Chars().substr(0, static_cast<size_t>(wanted)));
            break;
        case kMobiPalmDoc: {
            PalmDocText text = DecodePalmDocText(trailing.text, kPalmDocCompressed, wanted);
            result.text = std::move(text.text);
            if (text.badReference)
                result.problem = "its text stops at byte " + std::to_string(text.stoppedAt) +
                                 ", at a reference before the start of the text";
            else if (text.cut.cut)
                result.problem = std::string("its text stops where the record ends inside ") + text.cut.inside;
            break;
        }
        case kMobiHuffCdic: {
            if (!dictionary.tried) Load(dictionary);
            if (!dictionary.loaded) {
                result.problem = dictionary.why;
                return result;
            }
            const HuffStatus status = dictionary.huff.Decode(trailing.text, wanted, result.text);
            if (status != HuffStatus::kOk && status != HuffStatus::kBound)
                result.problem = "its text stops at " + std::string(HuffStatusText(status));
            break;
        }
        default:
            result.problem = "compression " + std::to_string(m_header.compression) + " is not known";
            return result;
    }
    if (limit < bound) {
        if (result.text.size() > limit) result.text.resize(static_cast<size_t>(limit));
    } else if (result.text.size() > bound) {
        result.text.resize(static_cast<size_t>(bound));
        result.problem = "its text stops at " + std::to_string(bound) + " bytes, the most a record may hold";
    }
    return result;
}

}  // namespace corvelle
