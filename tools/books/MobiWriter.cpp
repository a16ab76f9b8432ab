#include "tools/books/MobiWriter.h"

#include "tools/BigEndianWriter.h"
#include "tools/PalmWriter.h"

namespace corvelle::samples {
namespace {

void PutLittle32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) Put8(out, value >> (8 * i));
}

std::string Exth(const std::vector<std::pair<uint32_t, std::string>>& records) {
    std::string body;
    for (const auto& [type, data] : records) {
        Put32(body, type);
        Put32(body, static_cast<uint32_t>(8 + data.size()));
        body += data;
    }
    std::string block = "EXTH";
    Put32(block, static_cast<uint32_t>(12 + body.size()));
    Put32(block, static_cast<uint32_t>(records.size()));
    block += body;
    block.resize((block.size() + 3) / 4 * 4, '\0');
    return block;
}

}  // namespace

std::string MobiRecord0(const MobiHeaderParts& parts) {
    std::string record;
    Put16(record, parts.compression);
    Put16(record, 0);
    Put32(record, parts.textLength);
    Put16(record, parts.textRecords);
    Put16(record, parts.recordSize);
    Put16(record, parts.encryption);
    Put16(record, 0);
    const std::string exth = parts.exth.empty() ? "" : Exth(parts.exth);
    std::string mobi = "MOBI";
    for (uint32_t value : {parts.headerLength, 2u, parts.encoding, 0x12345678u, parts.version}) Put32(mobi, value);
    mobi += std::string(40, '\xFF');
    for (uint32_t value : {uint32_t{parts.textRecords} + 1u, 16u + parts.headerLength + uint32_t(exth.size()),
                           uint32_t(parts.fullName.size()), 9u, 0u, 0u, parts.version, parts.firstImage,
                           parts.huffRecord, parts.huffCount, 0u, 0u, parts.exth.empty() ? 0u : 0x50u})
        Put32(mobi, value);
    mobi += std::string(32, '\0');
    for (uint32_t value : {0xFFFFFFFFu, 0xFFFFFFFFu, 0u, 0u, 0u, 0u, 0u, parts.fdstRecord, 1u}) Put32(mobi, value);
    mobi += std::string(242 - 16 - mobi.size(), '\0');
    Put16(mobi, parts.extraFlags);
    Put32(mobi, 0xFFFFFFFF);
    mobi.resize(parts.headerLength, '\0');
    record += mobi + exth + parts.fullName + std::string(2, '\0');
    record.resize((record.size() + 3) / 4 * 4, '\0');
    return record;
}

std::string TrailingEntry(const std::string& data) {
    for (unsigned length = 1; length <= 4; ++length) {
        const uint64_t total = data.size() + length;
        if (total >= (uint64_t{1} << (7 * length))) continue;
        std::string out = data;
        for (unsigned i = length; i-- > 0;) Put8(out, (total >> (7 * i)) & 0x7F);
        out[data.size()] = static_cast<char>(out[data.size()] | 0x80);
        return out;
    }
    return data;
}

HuffCode::HuffCode(const std::vector<uint32_t>& countOfLength) {
    unsigned longest = 0;
    for (unsigned length = 1; length <= countOfLength.size() && length <= 32; ++length) {
        m_count[length] = countOfLength[length - 1];
        if (m_count[length] != 0) longest = length;
    }
    // From the longest codes up: each length starts where the longer ones leave off, halved.
    uint32_t following = 0;
    for (unsigned length = longest; length >= 1; --length) {
        m_start[length] = length == longest ? 0 : (following + 1) >> 1;
        following = m_start[length] + m_count[length];
    }
    for (unsigned length = 1; length <= longest; ++length) {
        const uint32_t base = static_cast<uint32_t>(m_codes.size());
        if (m_count[length] == 0) continue;
        m_storedMax[length] = base + m_start[length] + m_count[length] - 1;
        for (uint32_t k = m_count[length]; k-- > 0;) m_codes.push_back({m_start[length] + k, length});
    }
}

std::string HuffCode::HuffRecord() const {
    uint32_t table[256];
    for (uint32_t prefix = 0; prefix < 256; ++prefix) {
        table[prefix] = 0;
        for (unsigned length = 1; length <= 32 && table[prefix] == 0; ++length) {
            if (m_count[length] == 0) continue;
            if (length <= 8) {
                const uint32_t code = prefix >> (8 - length);
                if (code >= m_start[length] && code - m_start[length] < m_count[length])
                    table[prefix] = length | 0x80 | (m_storedMax[length] << 8);
            } else {
                const uint64_t low = uint64_t{prefix} << (length - 8), high = uint64_t{prefix + 1} << (length - 8);
                if (m_start[length] < high && low < uint64_t{m_start[length]} + m_count[length]) table[prefix] = length;
            }
        }
    }
    std::string record = "HUFF";
    for (uint32_t value : {24u, 24u, 24u + 1024u, 24u + 1024u + 256u, 24u + 2048u + 256u}) Put32(record, value);
    for (uint32_t word : table) Put32(record, word);
    for (unsigned length = 1; length <= 32; ++length) {
        Put32(record, m_start[length]);
        Put32(record, m_storedMax[length]);
    }
    for (uint32_t word : table) PutLittle32(record, word);
    for (unsigned length = 1; length <= 32; ++length) {
        PutLittle32(record, m_start[length]);
        PutLittle32(record, m_storedMax[length]);
    }
    return record;
}

std::string HuffCode::Bits(const std::vector<uint32_t>& symbols) const {
    std::string out;
    uint64_t pending = 0;
    unsigned have = 0;
    for (uint32_t symbol : symbols) {
        const Code code = m_codes.at(symbol);
        pending = (pending << code.length) | code.value;
        for (have += code.length; have >= 8;) {
            have -= 8;
            Put8(out, static_cast<uint32_t>(pending >> have));
        }
        pending &= (uint64_t{1} << have) - 1;
    }
    if (have > 0) Put8(out, static_cast<uint32_t>(pending << (8 - have)));
    return out;
}

std::string CdicRecord(const std::vector<CdicSymbol>& symbols, uint32_t entries, uint32_t bits) {
    std::string offsets, body;
    for (const CdicSymbol& symbol : symbols) {
        Put16(offsets, static_cast<uint32_t>(2 * symbols.size() + body.size()));
        Put16(body, static_cast<uint32_t>(symbol.data.size()) | (symbol.plain ? 0x8000u : 0u));
        body += symbol.data;
    }
    std::string record = "CDIC";
    for (uint32_t value : {16u, entries, bits}) Put32(record, value);
    return record + offsets + body;
}

std::string MobiBookFile(const MobiHeaderParts& parts, const std::vector<std::string>& records, const char* type,
                         const char* creator) {
    PalmDatabase book;
    book.name = "Book";
    book.type = type;
    book.creator = creator;
    book.records.push_back({0, 0, MobiRecord0(parts)});
    for (size_t i = 0; i < records.size(); ++i) book.records.push_back({0, static_cast<uint32_t>(2 * i + 2), records[i]});
    return SerializePalmDatabase(book);
}

}  // namespace corvelle::samples
