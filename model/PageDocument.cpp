#include "model/PageDocument.h"

#include <new>

namespace corvelle {

PageDocument::PageDocument(const DecodedDatabase& database, const CodePageInfo& encoding) : m_database(database) {
    m_decoder = std::make_unique<TextDecoder>(encoding);
    TextOptions options;
    options.fallbackDecoder = m_decoder.get();
    m_reader = m_database.Reader().OpenDocument(options);
    m_complete = m_reader == nullptr;
}

PageDocument::~PageDocument() = default;

namespace {

// After this many pieces the text's size is guessed well enough to make room
// for all of it at once: a text of megabytes that grows by doubling copies
// itself again and again, and in the viewer one such copy held the host's
// loop for a good part of a second.
constexpr size_t kPiecesBeforeReserving = 8;
// A guess is never trusted beyond this many bytes of text per byte of the file.
constexpr size_t kMostTextBytesPerFileByte = 16;

}  // namespace

void PageDocument::Prepare(size_t bytes) {
    try {
        while (!m_complete && m_text.Size() < bytes) {
            if (m_reader->Next(m_text)) {
                if (++m_pieces == kPiecesBeforeReserving) ReserveForExpectedSize();
            } else {
                m_complete = true;
            }
        }
    } catch (const std::bad_alloc&) {
        // What was read stays; the rest cannot be had.
        m_complete = true;
        try {
            m_text.Note("Not enough memory to read the rest of the text");
        } catch (const std::bad_alloc&) {
        }
    }
}

void PageDocument::ReserveForExpectedSize() {
    const size_t cap = m_database.Model().Size() * kMostTextBytesPerFileByte;
    size_t expected = ExpectedSize();
    if (expected > cap) expected = cap;
    m_text.Reserve(expected + expected / 16);
}

size_t PageDocument::ExpectedSize() const {
    const size_t size = m_text.Size();
    if (m_complete) return size;
    const size_t records = m_database.Model().Count();
    if (m_pieces == 0 || records <= m_pieces) return size + 1;
    const double expected = static_cast<double>(size) * static_cast<double>(records) / static_cast<double>(m_pieces);
    return expected > static_cast<double>(size) ? static_cast<size_t>(expected) : size + 1;
}

}  // namespace corvelle
