// A Note Pad record (DATA/npad): when the note was made and changed, a flags
// word, the alarm and the title where the flags say so, and the drawing: its
// size, the kind of its data (uncompressed bits, bits in runs, or a PNG image)
// and the data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/PalmBitmap.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// The parts of the layout, in the order they are read.
enum class NotePadPart : unsigned { kCreated, kChanged, kFlags, kAlarm, kTitle, kTitlePad, kDrawingHeader, kDrawing };

namespace notepad_flags {
constexpr uint16_t kDrawing = 0x0001;
constexpr uint16_t kTitle = 0x0002;
constexpr uint16_t kAlarm = 0x0004;
}  // namespace notepad_flags

// How the drawing's data is stored.
enum class NoteDataKind : uint32_t { kBits = 0, kRuns = 1, kPng = 2 };

// Palm OS's DateTimeType: seven words as stored.
struct NoteTime {
    uint16_t second = 0, minute = 0, hour = 0, day = 0, month = 0, year = 0, weekday = 0;
};

// "2004-02-29 09:05:00".
std::string NoteTimeText(const NoteTime& time);

struct NotePadRecord {
    NoteTime created, changed, alarm;
    uint16_t flags = 0;
    std::string_view title;
    uint32_t bodyLength = 0, width = 0, height = 0, reserved = 0, dataKind = 0, dataLength = 0;
    ByteSpan data;  // as far as the record holds it
    RecordCut cut;

    bool Has(uint16_t flag) const { return (flags & flag) != 0; }
};

NotePadRecord DecodeNotePad(const ByteSpan& record);

// "uncompressed", "compressed in runs", "PNG"; null for another kind.
const char* NoteDataKindWord(uint32_t kind);

// A drawing of bits (uncompressed or in runs) as pixels, black on white, of
// its stated size: each row is the stated width rounded up to a 16-bit word,
// of which the pixels past the width are padding. Never decodes past the
// stated size nor allocates more than the data can fill: a drawing larger
// than kMaxNoteSide a side is not decoded, and one whose data ends early (a
// bomb: a stated size far past the data) gets only the rows the data gives.
// False, with `note` saying why, when nothing can be shown; true with a note
// when the picture is cut.
constexpr uint32_t kMaxNoteSide = 2048;
bool DecodeNoteDrawing(const NotePadRecord& note, IconImage& image, std::string& why);

}  // namespace corvelle
