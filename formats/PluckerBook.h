// A Plucker book as its records are read: the index, where each record ID
// lies, the metadata (character sets, author, title, whether an owner ID
// keys it), and a record's data uncompressed, never past its stated size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dump/DatabaseModel.h"
#include "dump/records/PluckerRecord.h"

namespace corvelle {

struct CodePageInfo;

// A record's data after its headers, uncompressed where its type says so.
struct PluckerData {
    enum class Stop { kNone, kOverSize, kBroken, kUnknownCompression };
    ByteSpan bytes;     // into the file, or into `owned`
    std::string owned;  // what decompression gave
    Stop stop = Stop::kNone;

    PluckerData() = default;
    PluckerData(const PluckerData&) = delete;
    PluckerData& operator=(const PluckerData&) = delete;
};

// The stop in words ("it inflates to more than its stated size"); null for kNone.
const char* PluckerStopText(PluckerData::Stop stop);

class PluckerBook {
public:
    static constexpr size_t kNoRecord = static_cast<size_t>(-1);

    explicit PluckerBook(const DatabaseModel& model);

    const DatabaseModel& Model() const { return m_model; }
    const PluckerIndex& Index() const { return m_index; }
    // The record of that ID (records are sorted by it); kNoRecord for none.
    size_t Find(uint16_t uid) const;
    // The record the index names for a reserved name; kNoRecord for none.
    size_t Reserved(uint16_t name) const;

    size_t MetadataRecord() const { return m_metadataRecord; }
    const PluckerMetadata& Metadata() const { return m_metadata; }
    std::string_view Author() const { return m_author; }
    // The metadata's title, or the database's name.
    std::string_view Title() const;
    // An owner ID keys the book: its compressed data is scrambled.
    bool Protected() const { return m_protected; }
    // The MIBenum of the record's character set: its own, else the book's;
    // 0 when the book names none.
    uint16_t CharsetOf(uint16_t uid) const;
    uint16_t Charset() const { return m_charset; }
    // The number of text records and the text they hold before compression.
    size_t TextRecords() const { return m_textRecords; }
    uint64_t TextLength() const { return m_textLength; }

    // Record `index`'s data, `header` its decoding.
    void Data(const PluckerRecord& header, PluckerData& data) const;

private:
    void ReadMetadata();

    const DatabaseModel& m_model;
    PluckerIndex m_index;
    std::vector<std::pair<uint16_t, size_t>> m_uids;  // sorted by ID
    size_t m_metadataRecord = kNoRecord;
    PluckerMetadata m_metadata;
    std::string_view m_author, m_title;
    uint16_t m_charset = 0;
    std::vector<std::pair<uint16_t, uint16_t>> m_exceptions;  // record ID, MIBenum
    bool m_protected = false;
    size_t m_textRecords = 0;
    uint64_t m_textLength = 0;
};

// The code page we read a MIBenum's text in (ISO-8859-1 and US-ASCII as
// cp1252, whose printable characters agree with theirs); null for a
// character set we do not convert.
const CodePageInfo* PluckerCodePage(uint16_t mibEnum);
// "cp1252 (2252)", "MIBenum 9999".
std::string PluckerCharsetText(uint16_t mibEnum);

// A metadata item's text: up to its zero padding.
std::string_view PluckerItemText(const PluckerItem& item);

}  // namespace corvelle
