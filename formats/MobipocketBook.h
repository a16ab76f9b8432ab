// A Mobipocket book seen whole: record 0's header, which records hold its
// text, its HUFF/CDIC dictionary and its images, and each text record's text
// as it decodes. What the format's reader and its document share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dump/DatabaseModel.h"
#include "dump/records/HuffCdic.h"
#include "dump/records/MobiHeader.h"

namespace corvelle {

struct CodePageInfo;

// A HUFF/CDIC dictionary, loaded when a text record first needs it. Each
// reader of the book keeps its own: decoding fills it.
struct MobiDictionary {
    bool tried = false;
    bool loaded = false;
    std::string why;  // without it: why not
    HuffDictionary huff;
};

struct MobiRecordText {
    std::string text;  // decompressed, without its trailing entries, in the book's code page
    ByteSpan overlap;  // the rest of a character that runs on into the next record
    uint64_t trailingBytes = 0;
    std::string problem;  // why the text stops short or is missing, in words; empty when whole
};

class MobipocketBook {
public:
    enum class Kind { kOther, kHeader, kText, kHuff, kCdic, kImage };

    explicit MobipocketBook(const DatabaseModel& model);

    const DatabaseModel& Model() const { return m_model; }
    const MobiHeader& Header() const { return m_header; }
    Kind KindOf(size_t index) const;
    // Index of the last text record (0: none).
    size_t LastTextRecord() const { return m_lastText; }
    bool Encrypted() const { return m_header.encryption != 0; }
    bool KnownCompression() const;
    // A KF8 book without a Mobipocket 6 part (version 8 in record 0).
    bool IsKf8() const { return m_header.version >= 8; }
    // The record where a KF8 part begins (EXTH 121), 0 when there is none.
    uint32_t Kf8Boundary() const { return m_kf8Boundary; }
    // "Mobipocket 6", "KF8".
    std::string FormatName() const;
    // The book's code page: 65001 UTF-8, 1252, another of the pages known;
    // a number it does not know is read as cp1252 (CodePageKnown false).
    const CodePageInfo& CodePage() const { return *m_codePage; }
    bool CodePageKnown() const { return m_codePageKnown; }
    // What one record may yield: the header's record size (at least 4 KB,
    // whatever a broken header says); and the whole text: its announced
    // length and a margin.
    uint64_t RecordBound() const;
    uint64_t BookBound() const;
    // Where the text a person reads ends: a KF8 book's style sheets follow
    // its HTML in the text records. UINT64_MAX: at the end of the records.
    uint64_t ReadableEnd() const { return m_readableEnd; }

    // Text record `index`, at most `limit` bytes (a list cell needs few).
    MobiRecordText Text(size_t index, uint64_t limit, MobiDictionary& dictionary) const;
    // How many bytes at the start of text record `index` end a character
    // that the record before it began: its multibyte trailing entry holds them.
    uint64_t CarriedInto(size_t index) const;
    // The image file of the book's image `number` (1: the first image
    // record), or no bytes when that record is no image.
    ByteSpan ImageFile(uint32_t number) const;
    // The EXTH record of this type (the first of them), or null.
    const ExthRecord* Exth(uint32_t type) const;

private:
    void Load(MobiDictionary& dictionary) const;

    const DatabaseModel& m_model;
    MobiHeader m_header;
    size_t m_lastText = 0;
    uint32_t m_kf8Boundary = 0;
    uint64_t m_readableEnd = UINT64_MAX;
    const CodePageInfo* m_codePage = nullptr;
    bool m_codePageKnown = true;
};

}  // namespace corvelle
