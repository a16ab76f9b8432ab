// How the record decoders read: through the one bounds-checked reader, with
// the first place where the record's bytes run out kept as its cut.
#pragma once

#include <cstdint>
#include <string_view>

#include "dump/ByteReader.h"
#include "dump/ResourceList.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class RecordReader {
public:
    explicit RecordReader(const ByteSpan& record) : m_in(record.data, record.size), m_size(record.size) {}

    // False, and the cut marked, when fewer than `count` bytes remain (or an
    // earlier read was cut): the field is then not read at all.
    bool Need(uint64_t count, const char* what) {
        if (m_in.CanRead(count)) return true;
        m_cut.Mark(m_size, what);
        return false;
    }
    uint8_t U8() { return m_in.U8(); }
    uint16_t U16() { return m_in.U16BE(); }
    uint32_t U32() { return m_in.U32BE(); }

    // A zero-terminated text; without its zero byte, the text as far as the
    // record goes, and the cut marked.
    std::string_view Text(const char* what) {
        if (!m_in.Ok()) {
            m_cut.Mark(m_size, what);
            return {};
        }
        const std::string_view text = m_in.ZeroTerminatedText();
        if (!m_in.Ok()) m_cut.Mark(m_size, what);
        return text;
    }
    bool Ok() const { return m_in.Ok(); }
    const RecordCut& Cut() const { return m_cut; }

private:
    ByteReader m_in;
    uint64_t m_size;
    RecordCut m_cut;
};

}  // namespace corvelle
