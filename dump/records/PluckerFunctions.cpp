#include "dump/records/PluckerFunctions.h"

#include <cstring>

#include "dump/ByteReader.h"

namespace corvelle {
namespace {

// Where each paragraph ends in the text: its header's size added to those
// before it; the last one ends with the text, whatever the sizes say.
class ParagraphEnds {
public:
    ParagraphEnds(const std::vector<PluckerParagraph>& paragraphs, uint64_t size)
        : m_paragraphs(paragraphs), m_size(size), m_count(paragraphs.empty() ? 1 : paragraphs.size()) {
        m_sum = paragraphs.empty() ? size : paragraphs[0].size;
    }
    bool OnLast() const { return m_current + 1 >= m_count; }
    uint64_t End() const { return OnLast() || m_sum > m_size ? m_size : m_sum; }
    void Advance() {
        ++m_current;
        m_sum += m_paragraphs[m_current].size;
    }

private:
    const std::vector<PluckerParagraph>& m_paragraphs;
    const uint64_t m_size;
    const size_t m_count;
    size_t m_current = 0;
    uint64_t m_sum = 0;
};

uint32_t BigEndian(const uint8_t* bytes, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

bool WalkPluckerText(const ByteSpan& text, const std::vector<PluckerParagraph>& paragraphs,
                     PluckerTextHandler& handler, bool endLast) {
    ByteReader in(text.data, text.size);
    const uint64_t size = in.Size();
    ParagraphEnds ends(paragraphs, size);
    for (;;) {
        while (!ends.OnLast() && in.Offset() >= ends.End()) {
            handler.ParagraphEnd();
            ends.Advance();
        }
        if (in.Offset() >= size) break;
        const uint64_t room = ends.End() - in.Offset();
        const uint8_t* start = text.data + in.Offset();
        const void* zero = std::memchr(start, 0, static_cast<size_t>(room));
        const uint64_t run = zero != nullptr ? static_cast<uint64_t>(static_cast<const uint8_t*>(zero) - start) : room;
        if (run > 0) handler.Text(std::string_view(reinterpret_cast<const char*>(in.Bytes(run)), run));
        if (zero == nullptr) continue;
        in.U8();
        const uint8_t code = in.U8();
        const uint64_t count = code & 7u;
        const uint8_t* arguments = in.Bytes(count);
        if (!in.Ok()) return false;
        if (code == plucker_function::kUnicode16 || code == plucker_function::kUnicode32) {
            const uint64_t alternateLength = arguments[0];
            const uint64_t left = size - in.Offset();
            const uint64_t taken = alternateLength < left ? alternateLength : left;
            const uint8_t* alternate = in.Bytes(taken);
            handler.Character(BigEndian(arguments + 1, static_cast<size_t>(count - 1)),
                              std::string_view(reinterpret_cast<const char*>(alternate), taken));
        } else {
            handler.Function(code, arguments);
        }
    }
    if (endLast) handler.ParagraphEnd();
    return true;
}

}  // namespace corvelle
