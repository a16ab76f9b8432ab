// The part of ReadWholeFile that both halves share: room for the whole file
// taken once, then bounded reads until it is full or the file ends early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "io/WholeFileReader.h"

namespace corvelle {

// One read takes at most this much, so that a signal or a slow disk costs
// one retry of a bounded piece, and Windows never locks all of a big file's
// pages for a single ReadFile.
constexpr size_t kWholeFileReadChunk = 16u << 20;

// `readSome(destination, want)` reads up to `want` bytes and gives how many
// it read, 0 at the end, or a negative number when reading failed. On any
// failure `bytes` is left empty, its memory given back.
template <class ReadSome>
ReadResult ReadInPieces(size_t total, std::vector<uint8_t>& bytes, ReadSome readSome) {
    try {
        bytes.resize(total);
    } catch (const std::bad_alloc&) {
        bytes = std::vector<uint8_t>();
        return ReadResult::kNoMemory;
    }
    size_t done = 0;
    while (done < total) {
        const size_t left = total - done;
        const long long got = readSome(bytes.data() + done, left < kWholeFileReadChunk ? left : kWholeFileReadChunk);
        if (got < 0) {
            bytes = std::vector<uint8_t>();
            return ReadResult::kReadFailed;
        }
        if (got == 0) break;  // shorter than it was a moment ago
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return ReadResult::kRead;
}

}  // namespace corvelle
