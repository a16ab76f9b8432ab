// The one way the engine reads bytes of a database: a cursor over a read-only
// view that checks every read against the end of the view.
//
// A failed read makes the reader "failed" for good: every later read returns
// zero and leaves the cursor where it was, so a section can read a whole
// structure and check Ok() once before it prints anything from it. Bounds are
// checked by subtraction (count > size - offset), which cannot overflow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvelle {

// A multi-byte field as stored in the file. Palm databases store numbers most
// significant byte first; the report also shows some fields with their bytes
// taken the other way round, so both readings live here.
template <size_t N>
struct RawField {
    uint8_t bytes[N] = {};

    uint32_t BigEndian() const {
        uint32_t value = 0;
        for (size_t i = 0; i < N; ++i) value = (value << 8) | bytes[i];
        return value;
    }
    // The first byte of the field is the lowest-order byte.
    uint32_t Reversed() const {
        uint32_t value = 0;
        for (size_t i = N; i-- > 0;) value = (value << 8) | bytes[i];
        return value;
    }
    bool IsZero() const {
        for (uint8_t b : bytes)
            if (b != 0) return false;
        return true;
    }
};

using Field2 = RawField<2>;
using Field4 = RawField<4>;

class ByteReader {
public:
    ByteReader(const uint8_t* data, uint64_t size) : m_data(data), m_size(data ? size : 0) {}

    bool Ok() const { return !m_failed; }
    uint64_t Offset() const { return m_offset; }
    uint64_t Size() const { return m_size; }
    bool CanRead(uint64_t count) const { return !m_failed && count <= m_size - m_offset; }

    // Moves the cursor to an absolute offset; an offset past the end fails.
    void Seek(uint64_t offset) {
        if (m_failed) return;
        if (offset > m_size) {
            m_failed = true;
            return;
        }
        m_offset = offset;
    }

    uint8_t U8() {
        if (!CanRead(1)) return Fail<uint8_t>();
        return m_data[m_offset++];
    }

    uint16_t U16BE() { return static_cast<uint16_t>(Read<2>().BigEndian()); }
    uint32_t U32BE() { return Read<4>().BigEndian(); }

    template <size_t N>
    RawField<N> Read() {
        RawField<N> field;
        if (!CanRead(N)) return Fail<RawField<N>>();
        for (size_t i = 0; i < N; ++i) field.bytes[i] = m_data[m_offset + i];
        m_offset += N;
        return field;
    }

    // The next count bytes where they lie, for a block that is used as a
    // whole (a bitmap's rows); null, and the reader failed, when fewer remain.
    const uint8_t* Bytes(uint64_t count) {
        if (!CanRead(count)) return Fail<const uint8_t*>();
        const uint8_t* bytes = m_data + m_offset;
        m_offset += count;
        return bytes;
    }

    // A text stored in a fixed-width field: the bytes before the first zero
    // byte, or all of them when the field has none. A field that runs past the
    // end of the view gives the text inside the view and fails the reader.
    std::string_view FixedText(uint64_t width) {
        if (m_failed) return {};
        const uint64_t available = m_size - m_offset;
        const uint64_t inside = width < available ? width : available;
        std::string_view text = TextUpToZero(inside);
        if (inside < width) {
            m_offset = m_size;
            m_failed = true;
        } else {
            m_offset += width;
        }
        return text;
    }

    // A zero-terminated text of no stated length. Without a zero byte before
    // the end of the view it gives what is there and fails the reader.
    std::string_view ZeroTerminatedText() {
        if (m_failed) return {};
        std::string_view text = TextUpToZero(m_size - m_offset);
        m_offset += text.size();
        if (m_offset == m_size) {
            m_failed = true;
        } else {
            ++m_offset;  // the terminator
        }
        return text;
    }

private:
    template <typename T>
    T Fail() {
        m_failed = true;
        return T{};
    }

    std::string_view TextUpToZero(uint64_t limit) const {
        const char* start = reinterpret_cast<const char*>(m_data + m_offset);
        size_t length = 0;
        while (length < limit && start[length] != '\0') ++length;
        return std::string_view(start, length);
    }

    const uint8_t* m_data;
    uint64_t m_size;
    uint64_t m_offset = 0;
    bool m_failed = false;
};

}  // namespace corvelle
