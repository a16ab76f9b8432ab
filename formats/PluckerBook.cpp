#include "formats/PluckerBook.h"

#include <algorithm>

#include "dump/Inflate.h"
#include "dump/records/PalmDocRecord.h"
#include "standards/CodePage.h"

namespace corvelle {
namespace {

struct Charset {
    uint16_t mibEnum;
    const char* codePage;  // FindCodePage's name
};

// IANA's numbers of the character sets we convert.
constexpr Charset kCharsets[] = {
    {3, "cp1252"},    {4, "cp1252"},    {2252, "cp1252"}, {2250, "cp1250"}, {2251, "cp1251"},
    {2253, "cp1253"}, {17, "shift_jis"}, {2026, "big5"},  {106, "utf-8"},
};

uint16_t U16(const ByteSpan& data, size_t at) {
    return static_cast<uint16_t>((data.data[at] << 8) | data.data[at + 1]);
}

}  // namespace

const char* PluckerStopText(PluckerData::Stop stop) {
    switch (stop) {
        case PluckerData::Stop::kNone: return nullptr;
        case PluckerData::Stop::kOverSize: return "it decompresses to more than its stated size: the rest is not read";
        case PluckerData::Stop::kBroken: return "its compressed data is damaged or cut short";
        case PluckerData::Stop::kUnknownCompression: return "the book's compression is not one Plucker names";
    }
    return nullptr;
}

const CodePageInfo* PluckerCodePage(uint16_t mibEnum) {
    for (const Charset& charset : kCharsets)
        if (charset.mibEnum == mibEnum) return FindCodePage(charset.codePage);
    return nullptr;
}

std::string PluckerCharsetText(uint16_t mibEnum) {
    for (const Charset& charset : kCharsets)
        if (charset.mibEnum == mibEnum) return std::string(charset.codePage) + " (" + std::to_string(mibEnum) + ")";
    return "MIBenum " + std::to_string(mibEnum);
}

std::string_view PluckerItemText(const PluckerItem& item) {
    const std::string_view text = item.data.Chars();
    return text.substr(0, text.find('\0'));
}

PluckerBook::PluckerBook(const DatabaseModel& model) : m_model(model) {
    if (model.Count() == 0) return;
    if (model.Entry(0).hasData) m_index = DecodePluckerIndex(model.Data(0));
    size_t firstMetadata = kNoRecord;
    for (size_t index = 1; index < model.Count(); ++index) {
        if (!model.Entry(index).hasData) continue;
        const PluckerRecord record = DecodePluckerRecord(model.Data(index));
        if (!record.cut.Whole(PluckerRecordPart::kType)) continue;
        m_uids.emplace_back(record.uid, index);
        if (record.type == plucker_type::kMetadata && firstMetadata == kNoRecord) firstMetadata = index;
        if (record.IsText()) {
            ++m_textRecords;
            m_textLength += record.size;
        }
    }
    std::stable_sort(m_uids.begin(), m_uids.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const size_t named = Reserved(kPluckerMetadataName);
    m_metadataRecord = named != kNoRecord ? named : firstMetadata;
    if (m_metadataRecord != kNoRecord) ReadMetadata();
}

size_t PluckerBook::Find(uint16_t uid) const {
    const auto found = std::lower_bound(m_uids.begin(), m_uids.end(), uid,
                                        [](const auto& entry, uint16_t value) { return entry.first < value; });
    return found != m_uids.end() && found->first == uid ? found->second : kNoRecord;
}

size_t PluckerBook::Reserved(uint16_t name) const {
    for (const PluckerReserved& pair : m_index.reserved)
        if (pair.name == name) return Find(pair.uid);
    return kNoRecord;
}

std::string_view PluckerBook::Title() const { return m_title.empty() ? m_model.Header().name : m_title; }

uint16_t PluckerBook::CharsetOf(uint16_t uid) const {
    for (const auto& exception : m_exceptions)
        if (exception.first == uid) return exception.second;
    return m_charset;
}

void PluckerBook::ReadMetadata() {
    m_metadata = DecodePluckerMetadata(m_model.Data(m_metadataRecord));
    for (const PluckerItem& item : m_metadata.items) {
        switch (item.type) {
            case plucker_item::kCharset:
                if (item.data.size >= 2) m_charset = U16(item.data, 0);
                break;
            case plucker_item::kExceptionalCharsets:
                for (size_t at = 0; at + 4 <= item.data.size; at += 4)
                    m_exceptions.emplace_back(U16(item.data, at), U16(item.data, at + 2));
                break;
            case plucker_item::kOwnerId: m_protected = true; break;
            case plucker_item::kAuthor: m_author = PluckerItemText(item); break;
            case plucker_item::kTitle: m_title = PluckerItemText(item); break;
            default: break;
        }
    }
}

void PluckerBook::Data(const PluckerRecord& header, PluckerData& data) const {
    data.owned.clear();
    data.stop = PluckerData::Stop::kNone;
    if (!PluckerTypeCompressed(header.type)) {
        data.bytes = header.body;
        return;
    }
    if (m_index.compression == kPluckerZlib) {
        // One byte past the stated size tells a bomb from a record that fills it.
        const InflateStatus status = InflateRecord(header.body, uint64_t{header.size} + 1, data.owned);
        if (data.owned.size() > header.size) {
            data.owned.resize(header.size);
            data.stop = PluckerData::Stop::kOverSize;
        } else if (status != InflateStatus::kDone) {
            data.stop = PluckerData::Stop::kBroken;
        }
    } else if (m_index.compression == kPluckerPalmDoc) {
        PalmDocText text = DecodePalmDocText(header.body, kPalmDocCompressed, uint64_t{header.size} + 1);
        data.owned = std::move(text.text);
        if (data.owned.size() > header.size) {
            data.owned.resize(header.size);
            data.stop = PluckerData::Stop::kOverSize;
        } else if (text.badReference || text.cut.cut) {
            data.stop = PluckerData::Stop::kBroken;
        }
    } else {
        data.stop = PluckerData::Stop::kUnknownCompression;
    }
    data.bytes = {reinterpret_cast<const uint8_t*>(data.owned.data()), data.owned.size()};
}

}  // namespace corvelle
