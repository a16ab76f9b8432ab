#include "dump/Inflate.h"

#include <zlib.h>

#include <climits>

namespace corvelle {

struct Inflater::Stream {
    z_stream z{};
    bool open = false;
    ~Stream() {
        if (open) inflateEnd(&z);
    }
};

Inflater::Inflater() : m_stream(new Stream) {
    m_stream->open = inflateInit(&m_stream->z) == Z_OK;
    m_broken = !m_stream->open;
}

Inflater::~Inflater() = default;

InflateStatus Inflater::Feed(const ByteSpan& input, uint64_t bound, std::string& out) {
    if (m_broken) return InflateStatus::kBroken;
    if (m_ended) return InflateStatus::kDone;
    z_stream& z = m_stream->z;
    const uint8_t* next = input.data;
    uint64_t left = input.data != nullptr ? input.size : 0;
    uint64_t room = bound;
    unsigned char buffer[16384];
    for (;;) {
        // zlib counts in unsigned int: large input goes in slices.
        if (z.avail_in == 0 && left > 0) {
            const uInt slice = left > UINT_MAX ? UINT_MAX : static_cast<uInt>(left);
            z.next_in = const_cast<Bytef*>(next);
            z.avail_in = slice;
            next += slice;
            left -= slice;
        }
        if (room == 0) return (z.avail_in == 0 && left == 0) ? InflateStatus::kMoreInput : InflateStatus::kBound;
        const uInt want = room < sizeof buffer ? static_cast<uInt>(room) : static_cast<uInt>(sizeof buffer);
        z.next_out = buffer;
        z.avail_out = want;
        const int result = inflate(&z, Z_NO_FLUSH);
        const uInt made = want - z.avail_out;
        out.append(reinterpret_cast<const char*>(buffer), made);
        room -= made;
        if (result == Z_STREAM_END) {
            m_ended = true;
            return InflateStatus::kDone;
        }
        if (result == Z_BUF_ERROR && made == 0) {
            // No progress: either the input is used up or the output bound met.
            if (z.avail_in == 0 && left == 0) return InflateStatus::kMoreInput;
            if (room == 0) return InflateStatus::kBound;
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            m_broken = true;
            return InflateStatus::kBroken;
        }
        if (z.avail_in == 0 && left == 0 && made < want) return InflateStatus::kMoreInput;
    }
}

InflateStatus InflateRecord(const ByteSpan& input, uint64_t bound, std::string& out) {
    Inflater inflater;
    return inflater.Feed(input, bound, out);
}

}  // namespace corvelle
