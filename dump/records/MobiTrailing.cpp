#include "dump/records/MobiTrailing.h"

#include "dump/ByteReader.h"

namespace corvelle {
namespace {

// The byte before `end`; the reader fails (and 0 comes back) at the record's start.
uint8_t ByteBefore(ByteReader& in, uint64_t end) {
    if (end == 0) return 0;
    in.Seek(end - 1);
    return in.U8();
}

// One entry's size, read backwards from `end`: the last byte holds the
// lowest 7 bits, and the byte with 80h set is the entry's first.
uint64_t EntrySize(ByteReader& in, uint64_t end) {
    uint64_t size = 0;
    for (unsigned shift = 0; shift < 28 && end > 0; shift += 7) {
        const uint8_t byte = ByteBefore(in, end--);
        size |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) != 0) break;
    }
    return size;
}

}  // namespace

MobiTrailing SplitTrailingEntries(const ByteSpan& record, uint16_t extraFlags) {
    MobiTrailing result;
    const uint64_t size = record.data != nullptr ? record.size : 0;
    ByteReader in(record.data, size);
    uint64_t end = size;
    for (unsigned bit = 15; bit >= 1 && !result.overran; --bit) {
        if ((extraFlags & (1u << bit)) == 0) continue;
        const uint64_t entry = EntrySize(in, end);
        if (entry > end) result.overran = true;
        end -= entry < end ? entry : end;
    }
    if ((extraFlags & 1u) != 0 && end > 0 && !result.overran) {
        const uint64_t entry = (ByteBefore(in, end) & 3u) + 1;
        if (entry > end) {
            result.overran = true;
            end = 0;
        } else {
            result.overlap = ByteSpan{record.data + end - entry, entry - 1};
            end -= entry;
        }
    }
    result.text = ByteSpan{size > 0 ? record.data : nullptr, end};
    result.trailingBytes = size - end;
    return result;
}

}  // namespace corvelle
