// zlib's inflate, always bounded: a book's records announce how much text
// they hold, and no record may yield more than its bound, so that a
// compression bomb stops with a note instead of taking the memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dump/ByteSpan.h"

namespace corvelle {

enum class InflateStatus {
    kDone,       // the stream ended within the bound
    kMoreInput,  // all input used, the stream goes on (a stream cut across records)
    kBound,      // the bound was reached before the stream ended: the rest is not read
    kBroken,     // the data is not a zlib stream, or is damaged
};

// One zlib stream (RFC 1950) fed piece by piece: the records of a zTXT book
// are one stream cut at full flushes. Appends at most `bound` bytes a call.
class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    InflateStatus Feed(const ByteSpan& input, uint64_t bound, std::string& out);

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    bool m_broken = false;
    bool m_ended = false;
};

// A whole zlib stream in one record, at most `bound` bytes of it.
InflateStatus InflateRecord(const ByteSpan& input, uint64_t bound, std::string& out);

}  // namespace corvelle
