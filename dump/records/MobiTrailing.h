// The trailing entries of a Mobipocket text record: data that a reader's
// indexing needs, appended after the compressed text and announced by the
// header's extra data flags. They come off before the text is decompressed.
#pragma once

#include <cstdint>

#include "dump/ByteSpan.h"

namespace corvelle {

struct MobiTrailing {
    ByteSpan text;     // the record without its trailing entries
    ByteSpan overlap;  // the multibyte entry's bytes (a character's rest), without its size byte
    uint64_t trailingBytes = 0;
    // The entries' sizes add up to more than the record holds: the text is empty.
    bool overran = false;
};

// For each flag bit from 15 down to 1 that is set, one entry whose size is
// read backwards from the end of what is left (7 bits a byte, the byte with
// 80h set ends it, at most 4 bytes; the size counts its own bytes); then, for
// bit 0, (last byte AND 3) + 1 bytes of a character that runs on into the
// next record.
MobiTrailing SplitTrailingEntries(const ByteSpan& record, uint16_t extraFlags);

}  // namespace corvelle
