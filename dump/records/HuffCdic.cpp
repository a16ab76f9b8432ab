#include "dump/records/HuffCdic.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "dump/ByteReader.h"

namespace corvelle {
namespace {

bool IsMagic(const uint8_t* bytes, const char (&magic)[5]) {
    if (bytes == nullptr) return false;
    for (size_t i = 0; i < 4; ++i)
        if (bytes[i] != static_cast<uint8_t>(magic[i])) return false;
    return true;
}

// A code of `length` bits as the 32-bit window's top bits, with every bit
// below it set: the largest window that starts with that code.
uint64_t LeftAlignedMax(uint64_t code, unsigned length) { return ((code + 1) << (32 - length)) - 1; }

constexpr uint64_t kHuffHeaderLength = 24;
constexpr uint64_t kCdicHeaderLength = 16;
constexpr uint16_t kPlainSymbol = 0x8000;

}  // namespace

const char* HuffStatusText(HuffStatus status) {
    switch (status) {
        case HuffStatus::kOk: return "no fault";
        case HuffStatus::kBound: return "more text than the record may hold";
        case HuffStatus::kLoop: return "a loop in the dictionary";
        case HuffStatus::kTooDeep: return "symbols nested too deep in the dictionary";
        case HuffStatus::kBadCode: return "bits that are no code of the HUFF table";
        case HuffStatus::kBadSymbol: return "a symbol the dictionary does not hold";
        case HuffStatus::kOversized: return "a symbol that decodes to more than a record may hold";
        case HuffStatus::kTooLarge: return "a dictionary that decodes to too much text";
    }
    return "";
}

bool HuffDictionary::Load(const ByteSpan& huff, const std::vector<ByteSpan>& cdics, uint64_t symbolBound,
                          std::string& why) {
    m_symbols.clear();
    m_decoded.clear();
    m_decodedBytes = 0;
    m_announced = 0;
    m_symbolBound = symbolBound;
    std::fill(m_fast.begin(), m_fast.end(), FastCode{});
    if (!LoadTables(huff, why)) return false;
    for (const ByteSpan& cdic : cdics) LoadSymbols(cdic);
    LoadFastCodes();
    return true;
}

bool HuffDictionary::LoadTables(const ByteSpan& huff, std::string& why) {
    ByteReader in(huff.data, huff.size);
    if (!IsMagic(in.Bytes(4), "HUFF")) {
        why = "it does not begin with HUFF";
        return false;
    }
    const uint32_t headerLength = in.U32BE();
    const uint32_t tableOffset = in.U32BE();
    const uint32_t codesOffset = in.U32BE();
    if (!in.Ok() || headerLength < kHuffHeaderLength) {
        why = "its header is cut short";
        return false;
    }
    in.Seek(tableOffset);
    for (TableEntry& entry : m_table) {
        const uint32_t word = in.U32BE();
        entry.length = word & 0x1F;
        entry.terminal = (word & 0x80) != 0;
        entry.maxCode = entry.length != 0 ? LeftAlignedMax(word >> 8, entry.length) : 0;
    }
    in.Seek(codesOffset);
    for (unsigned length = 1; length <= 32; ++length) {
        m_minCode[length] = static_cast<uint64_t>(in.U32BE()) << (32 - length);
        m_maxCode[length] = LeftAlignedMax(in.U32BE(), length);
    }
    if (!in.Ok()) {
        why = "its tables run past its end";
        return false;
    }
    return true;
}

// A CDIC record's symbols are numbered after those of the records before it.
// Its offsets are 16-bit, so a record holds no more than its bytes allow,
// whatever its header claims: the dictionary never outgrows the file.
void HuffDictionary::LoadSymbols(const ByteSpan& cdic) {
    ByteReader in(cdic.data, cdic.size);
    if (!IsMagic(in.Bytes(4), "CDIC")) return;
    const uint32_t headerLength = in.U32BE();
    const uint32_t entries = in.U32BE();
    const uint32_t bits = in.U32BE();
    if (!in.Ok() || headerLength != kCdicHeaderLength) return;
    if (m_announced == 0) m_announced = entries;
    uint64_t count = entries > m_symbols.size() ? entries - m_symbols.size() : 0;
    if (bits < 32 && count > (uint64_t{1} << bits)) count = uint64_t{1} << bits;
    const uint64_t room = (cdic.size - kCdicHeaderLength) / 2;
    if (count > room) count = room;
    for (uint64_t i = 0; i < count; ++i) {
        Symbol symbol;
        ByteReader symbols(cdic.data, cdic.size);
        symbols.Seek(kCdicHeaderLength + in.U16BE());
        const uint16_t word = symbols.U16BE();
        symbol.plain = (word & kPlainSymbol) != 0;
        const uint16_t length = word & 0x7FFF;
        symbol.data = symbols.Bytes(length);
        symbol.size = length;
        symbol.cut = !symbols.Ok();
        symbol.padded = !symbol.cut && cdic.data + cdic.size - symbol.data >= static_cast<ptrdiff_t>(kShortText);
        m_symbols.push_back(symbol);
    }
}

// Each code of at most kFastBits bits, worked out from the prefix with its
// other bits zero: a code that short is settled by those bits alone (the
// table's entry by the first 8, each minimum by as many bits as its length),
// and so are its symbol's number and whether the code is too large. Codes
// the dictionary has no symbol for are left to the slow way, which says so.
void HuffDictionary::LoadFastCodes() {
    for (size_t prefix = 0; prefix < m_fast.size(); ++prefix) {
        const uint64_t window = uint64_t{prefix} << (32 - kFastBits);
        unsigned length = 0;
        uint64_t maxCode = 0;
        if (FindCode(window, length, maxCode) != HuffStatus::kOk || length > kFastBits || maxCode < window) continue;
        const uint64_t number = (maxCode - window) >> (32 - length);
        if (number >= m_symbols.size()) continue;
        FastCode& fast = m_fast[prefix];
        fast.number = static_cast<uint32_t>(number);
        fast.length = static_cast<uint8_t>(length);
        const Symbol& symbol = m_symbols[number];
        if (symbol.plain && symbol.padded && symbol.size <= kShortText) {
            fast.text = reinterpret_cast<const char*>(symbol.data);
            fast.size = static_cast<uint8_t>(symbol.size);
        }
    }
}

HuffStatus HuffDictionary::FindCode(uint64_t window, unsigned& length, uint64_t& maxCode) const {
    const TableEntry& entry = m_table[window >> 24];
    length = entry.length;
    maxCode = entry.maxCode;
    if (length == 0) return HuffStatus::kBadCode;
    if (!entry.terminal) {
        while (length <= 32 && window < m_minCode[length]) ++length;
        if (length > 32) return HuffStatus::kBadCode;
        maxCode = m_maxCode[length];
    }
    return HuffStatus::kOk;
}

void HuffDictionary::RememberShortText(uint64_t window, unsigned length, const Symbol& symbol) {
    if (!symbol.plain || !symbol.padded || symbol.size > kShortText) return;
    const size_t first = static_cast<size_t>(window >> (32 - length)) << (kFastBits - length);
    for (size_t prefix = first; prefix < first + (size_t{1} << (kFastBits - length)); ++prefix) {
        m_fast[prefix].text = reinterpret_cast<const char*>(symbol.data);
        m_fast[prefix].size = static_cast<uint8_t>(symbol.size);
    }
}

HuffStatus HuffDictionary::Decode(const ByteSpan& data, uint64_t bound, std::string& out) {
    return DecodeBits(data, bound, 0, out);
}

namespace {

// The bits of the data most significant first, the next at the top of a
// 64-bit word with at least 32 of them there: eight bytes read at once while
// eight remain, then one at a time, and zero bits past the data's end. Bits
// below the counted ones may already hold the next bytes' (from a read of
// eight): the same bits, so a later read only sets them again.
class BitWindow {
public:
    BitWindow(const uint8_t* bytes, uint64_t size) : m_bytes(bytes), m_size(size) {}

    // The next 32 bits, in the low half.
    uint64_t Peek() {
        if (m_count < 32) Fill();
        return m_bits >> 32;
    }
    void Skip(unsigned length) {
        m_bits <<= length;
        m_count -= length;
    }

private:
    void Fill() {
        if (m_next <= m_size && m_size - m_next >= 8) {
            const uint8_t* b = m_bytes + m_next;
            const uint64_t word = (uint64_t{b[0]} << 56) | (uint64_t{b[1]} << 48) | (uint64_t{b[2]} << 40) |
                                  (uint64_t{b[3]} << 32) | (uint64_t{b[4]} << 24) | (uint64_t{b[5]} << 16) |
                                  (uint64_t{b[6]} << 8) | b[7];
            m_bits |= word >> m_count;
            m_next += (63 - m_count) / 8;  // the whole bytes that fit below the counted bits
            m_count |= 56;
            return;
        }
        for (; m_count <= 56; m_count += 8, ++m_next)
            m_bits |= uint64_t{m_next < m_size ? m_bytes[m_next] : 0u} << (56 - m_count);
    }

    const uint8_t* m_bytes;
    uint64_t m_size;
    uint64_t m_next = 0;  // the first byte not yet counted
    uint64_t m_bits = 0;
    unsigned m_count = 0;
};

}  // namespace

// The last code that does not fit in the data's bits is not one (the
// writer's padding). The text is written into room made ahead, a record's
// whole bound at once, a symbol's as it grows: it comes a few bytes a symbol.
HuffStatus HuffDictionary::DecodeBits(const ByteSpan& data, uint64_t bound, unsigned depth, std::string& out) {
    ByteReader in(data.data, data.size);
    const uint64_t size = data.data != nullptr ? data.size : 0;
    BitWindow bits(in.Bytes(size), size);
    uint64_t bitsLeft = size * 8;
    const size_t start = out.size();
    const size_t most = static_cast<size_t>(bound < kMostAtOnce ? bound : kMostAtOnce);
    size_t room = depth == 0 || most < 64 ? most : 64;
    out.resize(start + room);
    char* to = &out[start];
    size_t used = 0;
    HuffStatus status = HuffStatus::kOk;
    for (;;) {
        const uint64_t window = bits.Peek();
        const FastCode fast = m_fast[window >> (32 - kFastBits)];
        unsigned length = fast.length;
        uint64_t number = fast.number;
        if (length != 0) {
            if (length > bitsLeft) break;
            bitsLeft -= length;
            bits.Skip(length);
            if (fast.text != nullptr && room - used >= kShortText) {
                std::memcpy(to + used, fast.text, kShortText);
                used += fast.size;
                continue;
            }
        } else {
            uint64_t maxCode = 0;
            status = FindCode(window, length, maxCode);
            if (status != HuffStatus::kOk) break;
            if (length > bitsLeft) break;
            bitsLeft -= length;
            bits.Skip(length);
            if (maxCode < window) {
                status = HuffStatus::kBadCode;
                break;
            }
            number = (maxCode - window) >> (32 - length);
        }
        std::string_view text;
        status = SymbolText(number, depth, text);
        if (status != HuffStatus::kOk) break;
        if (fast.length != 0 && fast.text == nullptr) RememberShortText(window, length, m_symbols[number]);
        if (text.size() > room - used) {
            if (room < most) {
                room = std::min(most, std::max(2 * room, used + text.size()));
                out.resize(start + room);
                to = &out[start];
            }
            if (text.size() > room - used) {
                std::memcpy(to + used, text.data(), room - used);
                used = room;
                status = HuffStatus::kBound;
                break;
            }
        }
        if (!text.empty()) std::memcpy(to + used, text.data(), text.size());
        used += text.size();
    }
    out.resize(start + used);
    return status;
}

HuffStatus HuffDictionary::SymbolText(uint64_t number, unsigned depth, std::string_view& text) {
    if (number >= m_symbols.size() || m_symbols[number].cut) return HuffStatus::kBadSymbol;
    Symbol& symbol = m_symbols[number];
    if (symbol.plain) {
        text = std::string_view(reinterpret_cast<const char*>(symbol.data), symbol.size);
        return HuffStatus::kOk;
    }
    switch (symbol.state) {
        case SymbolState::kDecoding: return HuffStatus::kLoop;
        case SymbolState::kFailed: return symbol.failure;
        case SymbolState::kDecoded: break;  // plain since
        case SymbolState::kNew: {
            if (depth >= kMaxDepth) return HuffStatus::kTooDeep;
            symbol.state = SymbolState::kDecoding;
            std::string decoded;
            HuffStatus status = DecodeBits(ByteSpan{symbol.data, symbol.size}, m_symbolBound, depth + 1, decoded);
            if (status == HuffStatus::kBound) status = HuffStatus::kOversized;
            if (status == HuffStatus::kOk && decoded.size() > kMaxDecodedBytes - m_decodedBytes)
                status = HuffStatus::kTooLarge;
            if (status != HuffStatus::kOk) {
                symbol.state = SymbolState::kFailed;
                symbol.failure = status;
                return status;
            }
            m_decodedBytes += decoded.size();
            const size_t decodedSize = decoded.size();
            decoded.resize(decodedSize + kShortText);  // zeros a short text's block copy may read
            decoded.shrink_to_fit();                    // tens of thousands of them, each as long as it is
            m_decoded.push_back(std::move(decoded));
            symbol.state = SymbolState::kDecoded;
            symbol.plain = true;
            symbol.padded = true;
            symbol.data = reinterpret_cast<const uint8_t*>(m_decoded.back().data());
            symbol.size = static_cast<uint32_t>(decodedSize);
            break;
        }
    }
    text = std::string_view(reinterpret_cast<const char*>(symbol.data), symbol.size);
    return HuffStatus::kOk;
}

}  // namespace corvelle
