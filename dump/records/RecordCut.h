// Where the decoding of a record stopped because its bytes ran out: a record
// too short for its format, or a text without its zero byte, is decoded as
// far as it goes and never read past.
#pragma once

#include <cstdint>

namespace corvelle {

struct RecordCut {
    bool cut = false;
    uint64_t at = 0;           // the record's length: where its bytes end
    const char* inside = "";   // what was being read there, e.g. "the note"

    void Mark(uint64_t recordSize, const char* what) {
        if (cut) return;  // the first stop is the one that matters
        cut = true;
        at = recordSize;
        inside = what;
    }
};

}  // namespace corvelle
