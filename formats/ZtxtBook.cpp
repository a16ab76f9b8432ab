#include "formats/ZtxtBook.h"

namespace corvelle {
namespace {

// Beyond the announced text length: a writer that counted a little short
// loses nothing, a bomb stops soon after.
constexpr uint64_t kBookMargin = 64 * 1024;
// The most text deflate can make of one byte.
constexpr uint64_t kDeflateMaxRatio = 1032;

}  // namespace

const char* ZtxtStopText(ZtxtStop stop) {
    switch (stop) {
        case ZtxtStop::kNone: return nullptr;
        case ZtxtStop::kMissing: return "the record lies outside the file";
        case ZtxtStop::kOverRecordSize: return "it inflates to more than the record size: the rest is not read";
        case ZtxtStop::kOverBook: return "the book's text goes past its text length: the rest is not read";
        case ZtxtStop::kBroken: return "its bytes are damaged or not the zlib stream's next part";
        case ZtxtStop::kFirstBroken: return "record 1 does not inflate, and every other record needs it first";
        case ZtxtStop::kStreamLost: return "an earlier record broke the book's one stream";
    }
    return nullptr;
}

size_t ZtxtLastDataRecord(const DatabaseModel& model, const ZtxtHeader& header) {
    if (model.Count() == 0) return 0;
    return header.dataRecords < model.Count() ? header.dataRecords : model.Count() - 1;
}

namespace {

uint64_t BookBound(const DatabaseModel& model, const ZtxtHeader& header, size_t last) {
    uint64_t compressed = 0;
    for (size_t index = 1; index <= last; ++index) compressed += model.Data(index).size;
    const uint64_t most = compressed * kDeflateMaxRatio;
    return (header.textLength < most ? header.textLength : most) + kBookMargin;
}

}  // namespace

ZtxtStream::ZtxtStream(const DatabaseModel& model, const ZtxtHeader& header)
    : m_model(model),
      m_header(header),
      m_last(ZtxtLastDataRecord(model, header)),
      m_bookBound(BookBound(model, header, m_last)),
      m_inflater(new Inflater) {}

bool ZtxtStream::AtEnd() const { return m_next > m_last; }

void ZtxtStream::Restart() {
    m_inflater = std::make_unique<Inflater>();
    m_next = 1;
    m_produced = 0;
    m_needsPrime = false;
    m_sequential = true;
    m_lost = false;
    m_firstBroken = false;
}

void ZtxtStream::MoveTo(size_t index) {
    if (index < 1) index = 1;
    if (index == m_next && !m_needsPrime) return;
    if (m_header.RandomAccess()) {
        Restart();
        m_next = index;
        m_needsPrime = index > 1;
        return;
    }
    if (index < m_next) Restart();
    while (m_next < index && !AtEnd()) Next();
}

bool ZtxtStream::Prime() {
    m_inflater = std::make_unique<Inflater>();
    m_needsPrime = false;
    m_sequential = false;
    std::string scratch;
    const InflateStatus status =
        m_model.Entry(1).hasData ? m_inflater->Feed(m_model.Data(1), m_header.recordSize, scratch)
                                 : InflateStatus::kBroken;
    m_firstBroken = status == InflateStatus::kBroken || status == InflateStatus::kBound;
    return !m_firstBroken;
}

ZtxtPiece ZtxtStream::Next(uint64_t limit) {
    ZtxtPiece piece;
    piece.index = m_next;
    if (AtEnd()) return piece;
    const size_t index = m_next++;
    const bool random = m_header.RandomAccess();
    if (!m_model.Entry(index).hasData) {
        // A random-access book's inflater is still where a record starts.
        piece.stop = ZtxtStop::kMissing;
        if (!random) m_lost = true;
        if (index == 1) m_firstBroken = random;
        return piece;
    }
    if (m_firstBroken && index > 1) {
        piece.stop = ZtxtStop::kFirstBroken;
        return piece;
    }
    const uint64_t left = m_bookBound > m_produced ? m_bookBound - m_produced : 0;
    if (left == 0) {
        piece.stop = ZtxtStop::kOverBook;
        return piece;
    }
    if (m_lost) {
        piece.stop = ZtxtStop::kStreamLost;
        return piece;
    }
    if (m_needsPrime && index == 1) {
        m_inflater = std::make_unique<Inflater>();
        m_needsPrime = false;
    } else if (m_needsPrime && !Prime()) {
        piece.stop = ZtxtStop::kFirstBroken;
        return piece;
    }
    uint64_t bound = left;
    bool recordBound = false;
    if (random && m_header.recordSize <= bound) {
        bound = m_header.recordSize;
        recordBound = true;
    }
    const bool limited = random && limit < bound;
    if (limited) bound = limit;
    ByteSpan data = m_model.Data(index);
    // The last record ends the stream with the Adler-32 of the whole text,
    // which an inflater that skipped records cannot match: left off, it
    // would fail a record whose text is whole.
    if (random && !m_sequential && index == m_header.dataRecords && data.size >= 4) data.size -= 4;
    const InflateStatus status = m_inflater->Feed(data, bound, piece.text);
    m_produced += piece.text.size();
    if (status == InflateStatus::kBound) {
        if (random) m_needsPrime = true;  // the inflater stopped inside the record
        if (!limited) piece.stop = recordBound ? ZtxtStop::kOverRecordSize : ZtxtStop::kOverBook;
        if (!random) m_lost = true;
    } else if (status == InflateStatus::kBroken) {
        piece.stop = ZtxtStop::kBroken;
        if (random) {
            m_needsPrime = true;
            m_firstBroken = index == 1;
        } else {
            m_lost = true;
        }
    }
    return piece;
}

}  // namespace corvelle
