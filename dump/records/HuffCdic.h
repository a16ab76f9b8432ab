// Mobipocket's HUFF/CDIC compression: a Huffman code (the HUFF record) over
// a dictionary of symbols (the CDIC records). A symbol is either plain text
// or itself a compressed string of symbols, decoded again when it is used.
//
// HUFF: "HUFF", its header's length (24), the offsets of a 256-entry table
// of 32-bit words indexed by a code's first 8 bits (bits 0-4 the code's
// length, bit 7 set when that length is final, bits 8-31 its maximum code)
// and of 32 pairs of minimum and maximum codes, one pair a code length.
// CDIC: "CDIC", its header's length (16), the whole dictionary's entry
// count, the code length that bounds a record's entries at 2^length; then
// 16-bit offsets, counted from byte 16, of the symbols: a 16-bit length
// word (8000h set: plain) and the bytes.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"

namespace corvelle {

enum class HuffStatus : uint8_t {
    kOk,
    kBound,      // the text would grow past the bound: it stops there
    kLoop,       // a symbol's decoding uses the symbol itself
    kTooDeep,    // symbols nested deeper than any book needs
    kBadCode,    // bits that are no code of the table
    kBadSymbol,  // a code of a symbol the dictionary does not hold (or holds cut)
    kOversized,  // a symbol decodes to more than a whole record may hold (a bomb)
    kTooLarge,   // the decoded symbols would take more memory than any book needs
};

// What a status means, in words for a note: "a loop in the dictionary".
const char* HuffStatusText(HuffStatus status);

class HuffDictionary {
public:
    HuffDictionary() = default;
    // Decoded symbols point into the dictionary's own texts: not copied.
    HuffDictionary(const HuffDictionary&) = delete;
    HuffDictionary& operator=(const HuffDictionary&) = delete;

    // Symbols decoded inside symbols beyond this depth stop the record.
    static constexpr unsigned kMaxDepth = 32;
    // All decoded symbols together may take this much memory.
    static constexpr uint64_t kMaxDecodedBytes = 16u << 20;
    // A decoding holds at most this much text, whatever its bound: a record
    // holds 4 KB, and its size is a 16-bit number.
    static constexpr uint64_t kMostAtOnce = 1u << 20;

    // Reads the HUFF record and the CDIC records, in order. False, with the
    // reason in words, when the HUFF record is not one; CDIC records that
    // are cut or missing leave their symbols out (a code of one is a
    // kBadSymbol). `symbolBound` bounds what one symbol may decode to (a
    // record's bound: no symbol may yield more than a whole record).
    bool Load(const ByteSpan& huff, const std::vector<ByteSpan>& cdics, uint64_t symbolBound, std::string& why);

    // Appends the text of compressed `data`, at most `bound` bytes (and at
    // most kMostAtOnce); anything but kOk stops it where it stands.
    HuffStatus Decode(const ByteSpan& data, uint64_t bound, std::string& out);

    size_t SymbolCount() const { return m_symbols.size(); }
    // Of the CDIC records read: how many entries the dictionary announces.
    uint32_t AnnouncedSymbols() const { return m_announced; }

private:
    struct TableEntry {
        uint8_t length = 0;  // 0: no code starts with these 8 bits
        bool terminal = false;
        uint64_t maxCode = 0;  // left-aligned to 32 bits, low bits set
    };
    // Codes of at most kFastBits bits, by the first kFastBits bits of the
    // text: the HUFF table and the minimum codes, asked once for each. A text
    // is mostly short codes of short symbols (words, spaces), and asking the
    // table, then the symbol, then copying byte by byte was most of the time.
    static constexpr unsigned kFastBits = 12;
    // A symbol's text this long or shorter is copied as one block of this
    // many bytes, its own and what follows it (which the next one overwrites).
    static constexpr size_t kShortText = 16;
    struct FastCode {
        const char* text = nullptr;  // a short text with kShortText bytes readable; null: ask the symbol
        uint32_t number = 0;         // the symbol's
        uint8_t size = 0;            // of `text`
        uint8_t length = 0;          // the code's; 0: longer, or no code: the table and the minimums decide
    };
    enum class SymbolState : uint8_t { kNew, kDecoding, kDecoded, kFailed };
    // 16 bytes: a dictionary holds tens of thousands. Once a compressed
    // symbol is decoded, `data` is its text in m_decoded and it is plain.
    struct Symbol {
        const uint8_t* data = nullptr;
        uint32_t size = 0;
        bool plain : 1;
        bool cut : 1;     // its bytes run past its record
        bool padded : 1;  // kShortText bytes from `data` are readable
        SymbolState state = SymbolState::kNew;
        HuffStatus failure = HuffStatus::kOk;
        Symbol() : plain(false), cut(false), padded(false) {}
    };

    bool LoadTables(const ByteSpan& huff, std::string& why);
    void LoadSymbols(const ByteSpan& cdic);
    void LoadFastCodes();
    // The length and left-aligned maximum of the code that 32-bit `window` begins with.
    HuffStatus FindCode(uint64_t window, unsigned& length, uint64_t& maxCode) const;
    // A short text that became plain (decoded) is copied directly from now on.
    void RememberShortText(uint64_t window, unsigned length, const Symbol& symbol);
    HuffStatus DecodeBits(const ByteSpan& data, uint64_t bound, unsigned depth, std::string& out);
    // The text of symbol `number`, decoding it (once) when it is not plain.
    HuffStatus SymbolText(uint64_t number, unsigned depth, std::string_view& text);

    TableEntry m_table[256];
    uint64_t m_minCode[33] = {};
    uint64_t m_maxCode[33] = {};
    std::vector<FastCode> m_fast = std::vector<FastCode>(size_t{1} << kFastBits);
    std::vector<Symbol> m_symbols;
    std::deque<std::string> m_decoded;  // a deque: a symbol's text stays where it is as others come
    uint64_t m_decodedBytes = 0;
    uint64_t m_symbolBound = 0;
    uint32_t m_announced = 0;
};

}  // namespace corvelle
