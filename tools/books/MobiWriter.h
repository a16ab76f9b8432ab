// Writes Mobipocket books and their parts for the tests, the fuzz target and the benchmarks, from
// the format's description (tools/books/mobibook.py is the other, independent writer, checked
// with mobitool): record 0 with its MOBI header and EXTH block, trailing entries, and a Huffman
// code with its HUFF and CDIC records.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvelle::samples {

struct MobiHeaderParts {
    uint16_t compression = 1;
    uint32_t textLength = 0;
    uint16_t textRecords = 0;
    uint16_t recordSize = 4096;
    uint16_t encryption = 0;
    uint32_t headerLength = 0xE8;  // from "MOBI"; E4h and more holds the extra data flags
    uint32_t encoding = 65001;
    uint32_t version = 6;
    uint32_t firstImage = 0xFFFFFFFF;
    uint32_t huffRecord = 0;
    uint32_t huffCount = 0;
    uint32_t fdstRecord = 0xFFFFFFFF;
    uint16_t extraFlags = 0;
    std::vector<std::pair<uint32_t, std::string>> exth;  // type, data
    std::string fullName;
};

std::string MobiRecord0(const MobiHeaderParts& parts);

// A trailing entry of `data`, its size (counting its own bytes) after it, to be read backwards.
std::string TrailingEntry(const std::string& data);

// A canonical Huffman code as Mobipocket's HUFF record has it: longer codes are smaller numbers, and
// symbols are numbered by their code's length, then from the largest code of that length down.
class HuffCode {
public:
    // countOfLength[L - 1]: how many codes of L bits (a complete code: the counts fill the space).
    explicit HuffCode(const std::vector<uint32_t>& countOfLength);

    // The HUFF record: its 256-entry table of first bytes and its 32 pairs of minimum and maximum
    // codes, then their little-endian copies.
    std::string HuffRecord() const;
    // The symbols' codes, most significant bit first, the last byte padded with zero bits.
    std::string Bits(const std::vector<uint32_t>& symbols) const;
    uint32_t SymbolCount() const { return static_cast<uint32_t>(m_codes.size()); }

private:
    struct Code {
        uint32_t value;
        unsigned length;
    };
    std::vector<Code> m_codes;  // by symbol number
    uint32_t m_start[33] = {};
    uint32_t m_count[33] = {};
    uint32_t m_storedMax[33] = {};
};

struct CdicSymbol {
    std::string data;
    bool plain = true;  // else `data` is compressed, symbols of the same dictionary
};

// A CDIC record of these symbols: `entries` counts the whole dictionary, `bits` bounds a record's
// symbols at 2^bits.
std::string CdicRecord(const std::vector<CdicSymbol>& symbols, uint32_t entries, uint32_t bits);

// A whole book: record 0, then the other records as given.
std::string MobiBookFile(const MobiHeaderParts& parts, const std::vector<std::string>& records,
                         const char* type = "BOOK", const char* creator = "MOBI");

}  // namespace corvelle::samples
