// Mobipocket's record decoders on records built to reach each rule: the trailing entries, the
// HUFF/CDIC dictionary (symbols inside symbols, loops, the depth bound, a bomb, codes of nothing),
// and record 0's headers and EXTH block whole and cut. Whole books are read against mobitool and
// calibre by tools/books/check-mobipocket.py.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "HeapFile.h"
#include "dump/records/HuffCdic.h"
#include "dump/records/MobiHeader.h"
#include "dump/records/MobiTrailing.h"
#include "tools/fixtures/MobiWriter.h"

using namespace corvelle;
using samples::CdicSymbol;
using samples::TrailingEntry;

namespace {

std::string Text(const ByteSpan& span) { return std::string(span.Chars()); }

// --- Trailing entries --------------------------------------------------------------------------

TEST(MobiTrailing, EntriesComeOffBeforeTheText) {
    const struct {
        const char* name;
        std::string record;
        uint16_t flags;
        std::string text, overlap;
        bool overran;
    } cases[] = {
        {"NoFlags", "abc", 0, "abc", "", false},
        {"MultibyteOverlap", "ab\xE3\x81\x82\x02", 1, "ab\xE3", "\x81\x82", false},
        {"OneEntry", "abc" + TrailingEntry("xy"), 2, "abc", "", false},
        {"EachSetBitAnEntry", "abc" + TrailingEntry("1") + TrailingEntry("22") + TrailingEntry(""), 0x8006, "abc", "",
         false},
        {"MultibyteInsideTheEntries", "ab\xCE\xB1\x01" + TrailingEntry("tbs"), 3, "ab\xCE", "\xB1", false},
        {"SizeOfTwoBytes", "abc" + TrailingEntry(std::string(200, 'x')), 2, "abc", "", false},
        // A size is never more than four bytes: "h", a fifth byte without 80h, is text.
        {"SizeOfFourBytesAtMost", std::string("abcdefgh\0\0\0\x05", 12), 2, "abcdefg", "", false},
        {"SizePastTheStart", std::string("ab\x7F\x7F\x7F\x7F"), 2, "", "", true},
        {"OverlapPastTheStart", "\x03", 1, "", "", true},
        {"EmptyRecord", "", 3, "", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MobiTrailing split = SplitTrailingEntries(Span(c.record), c.flags);
        EXPECT_EQ(Text(split.text), c.text);
        EXPECT_EQ(Text(split.overlap), c.overlap);
        EXPECT_EQ(split.overran, c.overran);
        EXPECT_EQ(split.trailingBytes, c.record.size() - c.text.size());
    }
}

// --- HUFF/CDIC ---------------------------------------------------------------------------------

// One code of 1 bit (symbol 0) and 256 of 9 bits (symbols 1-256): both ways through the HUFF
// table, its final 8-bit entries and the search of longer lengths by minimum code.
const samples::HuffCode kCode({1, 0, 0, 0, 0, 0, 0, 0, 256});

std::string Bits(const std::vector<uint32_t>& symbols) { return kCode.Bits(symbols); }
CdicSymbol Composite(const std::vector<uint32_t>& symbols) { return {Bits(symbols), false}; }

struct DictionaryRow {
    const char* name;
    std::vector<std::pair<uint32_t, CdicSymbol>> symbols;  // the others are plain "?"
    std::vector<uint32_t> text;
    uint64_t bound;
    std::string decoded;
    HuffStatus status;
};

// 257 symbols in two CDIC records of 2^8 symbols each.
std::vector<std::string> Cdics(const std::vector<std::pair<uint32_t, CdicSymbol>>& given) {
    std::vector<CdicSymbol> all(257, CdicSymbol{"?"});
    for (const auto& [number, symbol] : given) all[number] = symbol;
    return {samples::CdicRecord({all.begin(), all.begin() + 256}, 257, 8),
            samples::CdicRecord({all.begin() + 256, all.end()}, 257, 8)};
}

std::vector<std::pair<uint32_t, CdicSymbol>> Chain(uint32_t from, uint32_t to, unsigned fanout, std::string last) {
    std::vector<std::pair<uint32_t, CdicSymbol>> symbols{{0, {"a"}}, {to, {last}}};
    for (uint32_t k = from; k < to; ++k) symbols.push_back({k, Composite(std::vector<uint32_t>(fanout, k + 1))});
    return symbols;
}

const DictionaryRow kDictionaryRows[] = {
    {"PlainSymbols", {{0, {"a"}}, {1, {"bc"}}}, {0, 1, 0}, 4096, "abca", HuffStatus::kOk},
    {"SymbolOfTheSecondRecord", {{0, {"a"}}, {256, {"z"}}}, {256, 0}, 4096, "za", HuffStatus::kOk},
    // Decoded once, then taken from what was decoded.
    {"SymbolInsideSymbol", {{0, {"a"}}, {1, {"bc"}}, {3, Composite({1, 0})}}, {3, 3, 0}, 4096, "bcabcaa",
     HuffStatus::kOk},
    {"ChainWithinTheDepth", Chain(3, 20, 1, "end"), {3, 0}, 4096, "enda", HuffStatus::kOk},
    {"Loop", {{0, {"a"}}, {3, Composite({0, 3})}}, {0, 3}, 4096, "a", HuffStatus::kLoop},
    {"LoopOfTwo", {{3, Composite({4})}, {4, Composite({3})}}, {3}, 4096, "", HuffStatus::kLoop},
    {"ChainDeeperThanTheBound", Chain(3, 60, 1, "end"), {3}, 4096, "", HuffStatus::kTooDeep},
    // Symbol k is symbol k+1 twice: 2^28 bytes, stopped at what a record may hold.
    {"Bomb", Chain(3, 30, 2, "ab"), {0, 3}, 4096, "a", HuffStatus::kOversized},
    {"RecordBound", {{1, {"bc"}}}, {1, 1, 1, 1}, 7, "bcbcbcb", HuffStatus::kBound},
    // One bit of symbol 0 and seven zero bits: the 9-bit code of zeros does not fit.
    {"PaddingIsNoCode", {{0, {"a"}}}, {0}, 4096, "a", HuffStatus::kOk},
};

class HuffDictionaryRows : public testing::TestWithParam<DictionaryRow> {};

TEST_P(HuffDictionaryRows, DecodesWithinItsBounds) {
    const DictionaryRow& row = GetParam();
    const std::string huff = kCode.HuffRecord();
    const std::vector<std::string> cdics = Cdics(row.symbols);
    HuffDictionary dictionary;
    std::string why;
    ASSERT_TRUE(dictionary.Load(Span(huff), {Span(cdics[0]), Span(cdics[1])}, 4096, why)) << why;
    EXPECT_EQ(dictionary.SymbolCount(), 257u);
    const std::string bits = Bits(row.text);
    std::string out;
    EXPECT_EQ(dictionary.Decode(Span(bits), row.bound, out), row.status) << HuffStatusText(row.status);
    EXPECT_EQ(out, row.decoded);
    // A second record meets the same symbols as they were left.
    out.clear();
    EXPECT_EQ(dictionary.Decode(Span(bits), row.bound, out), row.status);
}

INSTANTIATE_TEST_SUITE_P(Rows, HuffDictionaryRows, testing::ValuesIn(kDictionaryRows),
                         [](const auto& info) { return info.param.name; });

TEST(HuffDictionary, RecordsThatAreNoDictionary) {
    const std::string huff = kCode.HuffRecord();
    const std::vector<std::string> cdics = Cdics({{0, {"a"}}, {256, {"z"}}});
    std::string cutSymbol = cdics[1];
    cutSymbol.resize(cutSymbol.size() - 1);  // symbol 256's byte is gone: the symbol is not one
    std::string noTableEntry = huff;
    noTableEntry.replace(24, 4, std::string(4, '\0'));  // no code starts with eight zero bits
    const struct {
        const char* name;
        std::string huff;
        std::vector<std::string> cdics;
        std::vector<uint32_t> text;
        bool loads;
        HuffStatus status;
    } cases[] = {
        {"NotHuff", "HUFX" + huff.substr(4), cdics, {0}, false, HuffStatus::kOk},
        {"TablesPastTheEnd", huff.substr(0, 1024), cdics, {0}, false, HuffStatus::kOk},
        {"SecondCdicMissing", huff, {cdics[0]}, {256}, true, HuffStatus::kBadSymbol},
        {"SymbolCutByItsRecord", huff, {cdics[0], cutSymbol}, {256}, true, HuffStatus::kBadSymbol},
        {"CdicOffsetsPastItsEnd", huff, {cdics[0].substr(0, 100)}, {1}, true, HuffStatus::kBadSymbol},
        {"NoCodeOfTheseBits", noTableEntry, cdics, {256}, true, HuffStatus::kBadCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ByteSpan> spans;
        for (const std::string& cdic : c.cdics) spans.push_back(Span(cdic));
        HuffDictionary dictionary;
        std::string why;
        ASSERT_EQ(dictionary.Load(Span(c.huff), spans, 4096, why), c.loads);
        EXPECT_EQ(why.empty(), c.loads);
        if (!c.loads) continue;
        const std::string bits = Bits(c.text);
        std::string out;
        EXPECT_EQ(dictionary.Decode(Span(bits), 4096, out), c.status);
    }
}

// Codes of 1 to 20 bits, of which three of 13 bits, two sharing their first 12: codes short
// enough to be looked up by their first bits at once and the longer ones; texts short enough to be
// copied as one block and longer ones, empty ones, and the first record's last symbol, with no
// bytes after it; symbols inside symbols, short and long, met again once decoded; a bound at
// every byte.
TEST(HuffDictionary, CodesAndTextsOfEveryLength) {
    const samples::HuffCode code({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 3, 1, 1, 1, 1, 1, 1, 2});
    const std::map<uint32_t, std::vector<uint32_t>> composites = {
        {3, {0, 1}}, {6, {2, 0, 3}}, {15, {4, 9, 4}}, {18, {0, 1}}};
    std::vector<CdicSymbol> symbols;
    std::vector<std::string> texts;
    for (uint32_t k = 0; k < code.SymbolCount(); ++k) {
        const auto composite = composites.find(k);
        std::string text;
        if (composite == composites.end()) {
            text = std::string((k * 5) % 23, static_cast<char>('a' + k));  // 0 to 22 bytes
            symbols.push_back({text});
        } else {
            for (uint32_t part : composite->second) text += texts[part];
            symbols.push_back({code.Bits(composite->second), false});
        }
        texts.push_back(text);
    }
    const std::string huff = code.HuffRecord();
    const std::string first = samples::CdicRecord({symbols.begin(), symbols.begin() + 8}, code.SymbolCount(), 3);
    const std::string second = samples::CdicRecord({symbols.begin() + 8, symbols.end()}, code.SymbolCount(), 4);
    std::vector<uint32_t> sequence;
    for (uint32_t k = 0; k < code.SymbolCount(); ++k) sequence.insert(sequence.end(), {k, k, 21 - k, 0, k});
    std::string whole;
    for (uint32_t k : sequence) whole += texts[k];
    const std::string bits = code.Bits(sequence);

    HuffDictionary dictionary;
    std::string why;
    ASSERT_TRUE(dictionary.Load(Span(huff), {Span(first), Span(second)}, 4096, why)) << why;
    for (uint64_t bound = whole.size() + 1; bound-- > 0;) {
        SCOPED_TRACE(bound);
        std::string out = "before";
        const HuffStatus status = dictionary.Decode(Span(bits), bound, out);
        EXPECT_EQ(status, bound < whole.size() ? HuffStatus::kBound : HuffStatus::kOk) << HuffStatusText(status);
        ASSERT_EQ(out, "before" + whole.substr(0, bound));
    }
}

// --- Record 0 -----------------------------------------------------------------------------------

samples::MobiHeaderParts Parts() {
    samples::MobiHeaderParts parts;
    parts.compression = 17480;
    parts.textLength = 5000;
    parts.textRecords = 2;
    parts.firstImage = 5;
    parts.huffRecord = 3;
    parts.huffCount = 2;
    parts.extraFlags = 3;
    parts.exth = {{100, "Jane"}, {503, "Title"}, {201, std::string("\0\0\0\1", 4)}};
    parts.fullName = "Full name";
    return parts;
}

TEST(MobiHeader, FieldsTheLengthHoldsAndWhereACutStops) {
    const std::string whole = samples::MobiRecord0(Parts());
    samples::MobiHeaderParts shortHeader = Parts();
    shortHeader.headerLength = 0xE0;  // below E4h: no extra data flags
    samples::MobiHeaderParts kf8 = Parts();
    kf8.version = 8;
    kf8.fdstRecord = 7;
    std::string brokenExth = whole;
    brokenExth.replace(248 + 12 + 4 + 8 + 4, 4, std::string("\0\0\0\4", 4));  // the second record's length
    const size_t exthAt = 16 + 0xE8;
    const struct {
        const char* name;
        std::string record;
        bool mobi;
        bool extraFlags;
        size_t exth;
        bool exthBroken;
        std::string fullName;
        const char* cutInside;  // "" when whole
    } cases[] = {
        {"Whole", whole, true, true, 3, false, "Full name", ""},
        {"HeaderShorterThanE4h", samples::MobiRecord0(shortHeader), true, false, 3, false, "Full name", ""},
        {"Kf8", samples::MobiRecord0(kf8), true, true, 3, false, "Full name", ""},
        {"ExthRecordBelowItsOwnHeader", brokenExth, true, true, 1, true, "Full name", ""},
        {"PalmDocOnly", whole.substr(0, 16), false, false, 0, false, "", "the MOBI identifier"},
        {"CutInTheMobiHeader", whole.substr(0, 100), true, false, 0, false, "", "the dictionary languages"},
        {"CutInTheExth", whole.substr(0, exthAt + 12 + 12 + 3), true, true, 1, false, "", "the EXTH block"},
        {"CutInTheFullName", whole.substr(0, whole.find("Full") + 4), true, true, 3, false, "Full", "the full name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MobiHeader header = DecodeMobiHeader(Span(c.record));
        EXPECT_EQ(header.compression, 17480);
        EXPECT_EQ(header.hasMobi, c.mobi);
        EXPECT_EQ(header.hasExtraFlags, c.extraFlags);
        EXPECT_EQ(header.extraFlags, c.extraFlags ? 3 : 0);
        EXPECT_EQ(header.exth.size(), c.exth);
        EXPECT_EQ(header.exthBroken, c.exthBroken);
        EXPECT_EQ(header.fullName, c.fullName);
        EXPECT_STREQ(header.cut.inside, c.cutInside);
        EXPECT_EQ(MobiHeaderHolds(header, MobiHeaderPart::kFirstImage), c.mobi && std::string(c.name) != "CutInTheMobiHeader");
        if (c.exth > 1) {
            EXPECT_EQ(header.exth[1].type, 503u);
            EXPECT_EQ(Text(header.exth[1].data), "Title");
        }
    }
    const MobiHeader kf8Header = DecodeMobiHeader(Span(samples::MobiRecord0(kf8)));
    EXPECT_EQ(kf8Header.fdstRecord, 7u);
    EXPECT_EQ(kf8Header.version, 8u);
    const MobiHeader header = DecodeMobiHeader(Span(whole));
    EXPECT_EQ(header.textLength, 5000u);
    EXPECT_EQ(header.firstImage, 5u);
    EXPECT_EQ(header.huffRecord, 3u);
    EXPECT_EQ(header.huffCount, 2u);
    EXPECT_EQ(header.encoding, 65001u);
}

}  // namespace
