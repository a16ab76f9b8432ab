// A zTXT book's text: its data records inflated through one inflater, record
// 1 first. A random-access book (flag 01h) was cut at full flushes, so any
// record inflates once record 1 has been; an older book is one stream cut
// anywhere, and a record's text is what it inflates to after all those
// before it.
//
// Every record is bounded: a random-access record never yields more than
// the record size, and the book never more than its text length plus a
// margin (at most what zlib could make of the file's bytes), so that a
// compression bomb stops with a note.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "dump/DatabaseModel.h"
#include "dump/Inflate.h"
#include "dump/records/ZtxtRecord.h"

namespace corvelle {

// Why a data record's text stops short, or is missing.
enum class ZtxtStop {
    kNone,
    kMissing,         // the record lies outside the file
    kOverRecordSize,  // it inflates to more than the record size
    kOverBook,        // the book's text goes past its text length and the margin
    kBroken,          // its bytes are not the zlib stream's next part
    kFirstBroken,     // record 1 does not inflate, so no other record can
    kStreamLost,      // an earlier record of a one-stream book broke the stream
};

// The stop in words, for a note or a field line ("it inflates to more than
// the record size"); null for kNone.
const char* ZtxtStopText(ZtxtStop stop);

struct ZtxtPiece {
    size_t index = 0;  // the data record
    std::string text;  // in the book's code page, as far as it goes
    ZtxtStop stop = ZtxtStop::kNone;
};

// The data records read in order, or from any one of them on.
class ZtxtStream {
public:
    ZtxtStream(const DatabaseModel& model, const ZtxtHeader& header);

    // The data record Next reads; past the last one, nothing is left.
    size_t NextIndex() const { return m_next; }
    bool AtEnd() const;
    // Makes data record `index` the next: a random-access book primes a new
    // inflater with record 1; a one-stream book inflates the records before
    // it (from the start when it has passed them).
    void MoveTo(size_t index);
    // Inflates the next data record. A random-access book's record stops
    // after `limit` bytes (a list cell needs no more), without a stop.
    ZtxtPiece Next(uint64_t limit = UINT64_MAX);
    // How much text the records read in order have given.
    uint64_t Produced() const { return m_produced; }

private:
    void Restart();
    bool Prime();

    const DatabaseModel& m_model;
    const ZtxtHeader m_header;
    const size_t m_last;        // the last data record the file holds
    const uint64_t m_bookBound;  // the whole text's
    std::unique_ptr<Inflater> m_inflater;
    size_t m_next = 1;
    uint64_t m_produced = 0;
    bool m_needsPrime = false;  // random access: the inflater is not where a record starts
    bool m_sequential = true;   // the inflater has been given every record before the next
    bool m_lost = false;        // the stream cannot go on
    bool m_firstBroken = false;
};

// The last data record the file holds (0 when none).
size_t ZtxtLastDataRecord(const DatabaseModel& model, const ZtxtHeader& header);

}  // namespace corvelle
