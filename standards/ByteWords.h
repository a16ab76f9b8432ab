// Eight bytes of a text tested at once, for the loops that take the plain
// runs of a book's text whole (the document's text, HTML, JSON strings, UTF-8
// checks). One home for the bit tricks, each exact for every byte value.
#pragma once

#include <cstdint>
#include <cstring>

namespace corvelle {

constexpr uint64_t kByteOnes = 0x0101010101010101u;
constexpr uint64_t kByteHighBits = 0x8080808080808080u;

// The eight bytes at `p`, whatever their alignment.
inline uint64_t LoadByteWord(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Whether every byte of `word` is ASCII (below 80h).
inline bool AllAscii(uint64_t word) { return (word & kByteHighBits) == 0; }

// Whether some byte of `word` is below `limit` (at most 80h).
inline bool AnyByteBelow(uint64_t word, uint8_t limit) {
    return ((word - kByteOnes * limit) & ~word & kByteHighBits) != 0;
}

// Whether some byte of `word` is `byte`.
inline bool AnyByteIs(uint64_t word, char byte) {
    const uint64_t differs = word ^ (kByteOnes * static_cast<unsigned char>(byte));
    return AnyByteBelow(differs, 1);
}

}  // namespace corvelle
