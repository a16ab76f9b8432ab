#include "dump/records/NotePadRecord.h"

#include <cstdio>

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the creation time", "the change time",       "the flags", "the alarm",
                                  "the title",         "the title's pad byte", "the drawing's header",
                                  "the drawing's data"};

constexpr uint64_t kTimeBytes = 14;
constexpr uint64_t kDrawingHeaderBytes = 24;

NoteTime ReadTime(RecordReader<NotePadPart>& in) {
    NoteTime time;
    for (uint16_t* field : {&time.second, &time.minute, &time.hour, &time.day, &time.month, &time.year,
                            &time.weekday})
        *field = in.U16();
    return time;
}

// The data's bytes laid out row by row, the rows padded to 16-bit words.
class RowFiller {
public:
    RowFiller(IconImage& image, uint32_t width, uint64_t rowBytes)
        : m_image(image), m_width(width), m_rowBytes(rowBytes) {}

    // False once the rows the image was given are full.
    bool Put(uint8_t byte) {
        if (m_row >= m_image.height) return false;
        for (uint32_t bit = 0; bit < 8; ++bit) {
            const uint64_t x = m_column * 8 + bit;
            if (x >= m_width) break;
            const bool black = (byte >> (7 - bit)) & 1u;
            m_image.pixels[m_row * size_t{m_width} + x] = black ? Rgba{0, 0, 0, 255} : Rgba{255, 255, 255, 255};
        }
        if (++m_column == m_rowBytes) {
            m_column = 0;
            ++m_row;
        }
        return true;
    }
    // The rows the data reached, a last one it only began among them.
    uint32_t RowsReached() const { return m_row + (m_column > 0 ? 1 : 0); }

private:
    IconImage& m_image;
    uint32_t m_width;
    uint64_t m_rowBytes;
    uint64_t m_column = 0;
    uint32_t m_row = 0;
};

}  // namespace

std::string NoteTimeText(const NoteTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{time.year}, unsigned{time.month},
                  unsigned{time.day}, unsigned{time.hour}, unsigned{time.minute}, unsigned{time.second});
    return text;
}

NotePadRecord DecodeNotePad(const ByteSpan& record) {
    RecordReader<NotePadPart> in(record, kPartNames);
    NotePadRecord note;
    if (in.Need(kTimeBytes, NotePadPart::kCreated)) note.created = ReadTime(in);
    if (in.Need(kTimeBytes, NotePadPart::kChanged)) note.changed = ReadTime(in);
    if (in.Need(2, NotePadPart::kFlags)) note.flags = in.U16();
    if (note.Has(notepad_flags::kAlarm) && in.Need(kTimeBytes, NotePadPart::kAlarm)) note.alarm = ReadTime(in);
    if (note.Has(notepad_flags::kTitle)) {
        note.title = in.Text(NotePadPart::kTitle);
        // The title and its zero byte are padded to a 16-bit word.
        if ((note.title.size() + 1) % 2 == 1 && in.Need(1, NotePadPart::kTitlePad)) in.U8();
    }
    if (note.Has(notepad_flags::kDrawing) && in.Need(kDrawingHeaderBytes, NotePadPart::kDrawingHeader)) {
        note.bodyLength = in.U32();
        note.width = in.U32();
        note.height = in.U32();
        note.reserved = in.U32();
        note.dataKind = in.U32();
        note.dataLength = in.U32();
        const uint64_t left = in.Left();
        const uint64_t taken = note.dataLength < left ? note.dataLength : left;
        note.data = {in.Bytes(taken, NotePadPart::kDrawing), taken};
        if (taken < note.dataLength) in.Mark(NotePadPart::kDrawing);
    }
    note.cut = in.Cut();
    return note;
}

const char* NoteDataKindWord(uint32_t kind) {
    switch (static_cast<NoteDataKind>(kind)) {
        case NoteDataKind::kBits: return "uncompressed";
        case NoteDataKind::kRuns: return "compressed in runs";
        case NoteDataKind::kPng: return "PNG";
    }
    return nullptr;
}

bool DecodeNoteDrawing(const NotePadRecord& note, IconImage& image, std::string& why) {
    image = IconImage();
    why.clear();
    const auto kind = static_cast<NoteDataKind>(note.dataKind);
    if (kind != NoteDataKind::kBits && kind != NoteDataKind::kRuns) {
        why = "the drawing is of a kind that is not bits";
        return false;
    }
    if (note.width == 0 || note.height == 0) {
        why = "the drawing is empty";
        return false;
    }
    if (note.width > kMaxNoteSide || note.height > kMaxNoteSide) {
        why = "the drawing states " + std::to_string(note.width) + " x " + std::to_string(note.height) +
              " pixels, more than a Note Pad draws; not decoded";
        return false;
    }
    const uint64_t rowBytes = (uint64_t{note.width} + 15) / 16 * 2;
    // The most rows the data can fill: a run gives at most 255 bytes.
    const uint64_t dataBytes = kind == NoteDataKind::kRuns ? note.data.size / 2 * 255 : note.data.size;
    const uint64_t fillable = (dataBytes + rowBytes - 1) / rowBytes;
    image.width = note.width;
    image.height = static_cast<uint32_t>(fillable < note.height ? fillable : note.height);
    image.pixels.assign(size_t{image.width} * image.height, Rgba{255, 255, 255, 255});
    RowFiller rows(image, note.width, rowBytes);
    bool full = false;
    if (kind == NoteDataKind::kBits) {
        for (uint64_t i = 0; i < note.data.size && !full; ++i) full = !rows.Put(note.data.data[i]);
    } else {
        for (uint64_t i = 0; i + 1 < note.data.size && !full; i += 2)
            for (unsigned run = 0; run < note.data.data[i] && !full; ++run) full = !rows.Put(note.data.data[i + 1]);
    }
    // A last row the data began is kept (its rest is white); rows never begun are not.
    const uint32_t shown = full ? image.height : rows.RowsReached();
    if (shown < note.height) {
        image.height = shown;
        image.pixels.resize(size_t{image.width} * shown);
        why = "the drawing's data ends at row " + std::to_string(shown) + " of the " + std::to_string(note.height) +
              " it states";
    }
    if (image.height == 0) {
        why = "the drawing has no data";
        return false;
    }
    return true;
}

}  // namespace corvelle
