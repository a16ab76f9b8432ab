// How the record decoders read: through the one bounds-checked reader, with
// the first place where the record's bytes run out kept as its cut. A decoder
// gives the words for each part of its layout once; it then asks for parts by
// its own enum.
#pragma once

#include <cstdint>
#include <string_view>

#include "dump/ByteReader.h"
#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

template <class Part>
class RecordReader {
public:
    // `partNames[p]` is part p in words ("the note"), for the cut line.
    RecordReader(const ByteSpan& record, const char* const* partNames)
        : m_in(record.data, record.size), m_size(record.size), m_names(partNames) {}

    // False, and the cut marked, when fewer than `count` bytes remain (or an
    // earlier read was cut): the field is then not read at all. Once cut, a
    // later and shorter part never reads the bytes the cut part left.
    bool Need(uint64_t count, Part part) {
        if (m_in.CanRead(count)) return true;
        // Fails the reader, so that no later part is read from the bytes left
        // after the cut (a smaller field would fit in them).
        m_in.Bytes(count);
        Mark(part);
        return false;
    }
    uint8_t U8() { return m_in.U8(); }
    uint16_t U16() { return m_in.U16BE(); }
    uint32_t U32() { return m_in.U32BE(); }
    // Bytes not yet read; none once a read was cut.
    uint64_t Left() const { return Ok() ? m_size - m_in.Offset() : 0; }
    // The next `count` bytes where they lie (a blob's data); null, and the
    // cut marked, when fewer remain.
    const uint8_t* Bytes(uint64_t count, Part part) { return Need(count, part) ? m_in.Bytes(count) : nullptr; }

    // A zero-terminated text; without its zero byte, the text as far as the
    // record goes, and the cut marked.
    std::string_view Text(Part part) {
        if (!Ok()) {
            Mark(part);
            return {};
        }
        const std::string_view text = m_in.ZeroTerminatedText();
        if (!m_in.Ok()) Mark(part);
        return text;
    }
    void Mark(Part part) { m_cut.Mark(m_size, part, m_names[static_cast<unsigned>(part)]); }
    bool Ok() const { return m_in.Ok() && !m_cut.cut; }
    const RecordCut& Cut() const { return m_cut; }

private:
    ByteReader m_in;
    uint64_t m_size;
    const char* const* m_names;
    RecordCut m_cut;
};

}  // namespace corvelle
