// Where the decoding of a record stopped because its bytes ran out: a record
// too short for its format, or a text without its zero byte, is decoded as
// far as it goes and never read past.
//
// Each decoder names the parts of its layout in an enum, in the order it
// reads them; the cut keeps the part it stopped in, so that what shows a
// record asks which parts were read by name, never by the words below.
#pragma once

#include <cstdint>

namespace corvelle {

struct RecordCut {
    bool cut = false;
    uint64_t at = 0;          // the record's length: where its bytes end
    unsigned part = 0;        // the decoder's part where it stopped
    const char* inside = "";  // that part in words, e.g. "the note"

    void Mark(uint64_t recordSize, unsigned stoppedIn, const char* what) {
        if (cut) return;  // the first stop is the one that matters
        cut = true;
        at = recordSize;
        part = stoppedIn;
        inside = what;
    }
    template <class Part>
    void Mark(uint64_t recordSize, Part stoppedIn, const char* what) {
        Mark(recordSize, static_cast<unsigned>(stoppedIn), what);
    }

    // Parts before the one it stopped in were read whole; that one (a text,
    // or a list) in part; those after it not at all.
    template <class Part>
    bool Whole(Part p) const {
        return !cut || static_cast<unsigned>(p) < part;
    }
    template <class Part>
    bool Begun(Part p) const {
        return !cut || static_cast<unsigned>(p) <= part;
    }
};

}  // namespace corvelle
