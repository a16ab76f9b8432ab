#include "dump/records/HuffCdic.h"

#include <algorithm>
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
    if (!LoadTables(huff, why)) return false;
    for (const ByteSpan& cdic : cdics) LoadSymbols(cdic);
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
        m_symbols.push_back(symbol);
    }
}

HuffStatus HuffDictionary::Decode(const ByteSpan& data, uint64_t bound, std::string& out) {
    return DecodeBits(data, bound, 0, out);
}

// The bits are read through a 64-bit window refilled a byte at a time; past
// the data's end it fills with zero bits, and the last code that does not
// fit in the data's bits is not one (the writer's padding). The text is
// written into room made ahead, a record's whole bound at once, a symbol's
// as it grows: it comes a few bytes a symbol.
HuffStatus HuffDictionary::DecodeBits(const ByteSpan& data, uint64_t bound, unsigned depth, std::string& out) {
    ByteReader in(data.data, data.size);
    const uint64_t size = data.data != nullptr ? data.size : 0;
    const uint8_t* bytes = in.Bytes(size);
    uint64_t next = 0;  // the next byte of `bytes` for the window
    uint64_t window = 0;
    unsigned have = 0;
    uint64_t bitsLeft = size * 8;
    const size_t start = out.size();
    const size_t most = static_cast<size_t>(bound < kMostAtOnce ? bound : kMostAtOnce);
    size_t room = depth == 0 || most < 64 ? most : 64;
    out.resize(start + room);
    size_t used = 0;
    HuffStatus status = HuffStatus::kOk;
    for (;;) {
        if (have < 32) {
            if (next < size && size - next >= 4) {
                window = (window << 32) | (uint64_t{bytes[next]} << 24) | (uint64_t{bytes[next + 1]} << 16) |
                         (uint64_t{bytes[next + 2]} << 8) | bytes[next + 3];
                next += 4;
                have += 32;
            }
            for (; have < 32; have += 8) window = (window << 8) | (next < size ? bytes[next++] : 0u);
        }
        const uint64_t code = (window >> (have - 32)) & 0xFFFFFFFFu;
        const TableEntry& entry = m_table[code >> 24];
        unsigned length = entry.length;
        uint64_t maxCode = entry.maxCode;
        if (length == 0) {
            status = HuffStatus::kBadCode;
            break;
        }
        if (!entry.terminal) {
            while (length <= 32 && code < m_minCode[length]) ++length;
            if (length > 32) {
                status = HuffStatus::kBadCode;
                break;
            }
            maxCode = m_maxCode[length];
        }
        if (length > bitsLeft) break;
        bitsLeft -= length;
        have -= length;
        if (maxCode < code) {
            status = HuffStatus::kBadCode;
            break;
        }
        const uint64_t number = (maxCode - code) >> (32 - length);
        std::string_view text;
        if (number < m_symbols.size() && m_symbols[number].plain && !m_symbols[number].cut) {  // most are
            text = std::string_view(reinterpret_cast<const char*>(m_symbols[number].data), m_symbols[number].size);
        } else {
            status = SymbolText(number, depth, text);
            if (status != HuffStatus::kOk) break;
        }
        if (text.size() > room - used) {
            if (room < most) {
                room = std::min(most, std::max(2 * room, used + text.size()));
                out.resize(start + room);
            }
            if (text.size() > room - used) {
                std::memcpy(&out[start + used], text.data(), room - used);
                used = room;
                status = HuffStatus::kBound;
                break;
            }
        }
        char* to = &out[start + used];
        for (size_t i = 0; i < text.size(); ++i) to[i] = text[i];  // a few bytes: no call
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
            decoded.shrink_to_fit();  // tens of thousands of them, each as long as it is
            m_decoded.push_back(std::move(decoded));
            symbol.state = SymbolState::kDecoded;
            symbol.plain = true;
            symbol.data = reinterpret_cast<const uint8_t*>(m_decoded.back().data());
            symbol.size = static_cast<uint32_t>(m_decoded.back().size());
            break;
        }
    }
    text = std::string_view(reinterpret_cast<const char*>(symbol.data), symbol.size);
    return HuffStatus::kOk;
}

}  // namespace corvelle
