// Note Pad drawings: rows padded to words, runs that overflow the stated size,
// and bombs whose stated size lies far past their data.
#include <gtest/gtest.h>

#include <string>

#include "dump/records/NotePadRecord.h"

namespace corvelle {
namespace {

struct DrawingRow {
    const char* name;
    uint32_t kind, width, height;
    std::string data;
    bool decodes;
    uint32_t rowsShown;
    std::string why;  // a prefix of it
};

class NoteDrawing : public testing::TestWithParam<DrawingRow> {};

TEST_P(NoteDrawing, DecodesWithinItsStatedSize) {
    const DrawingRow& row = GetParam();
    NotePadRecord note;
    note.dataKind = row.kind;
    note.width = row.width;
    note.height = row.height;
    note.data = {reinterpret_cast<const uint8_t*>(row.data.data()), row.data.size()};
    IconImage image;
    std::string why;
    ASSERT_EQ(DecodeNoteDrawing(note, image, why), row.decodes) << why;
    EXPECT_EQ(why.substr(0, row.why.size()), row.why);
    if (!row.decodes) return;
    EXPECT_EQ(image.width, row.width);
    EXPECT_EQ(image.height, row.rowsShown);
    EXPECT_EQ(image.pixels.size(), size_t{image.width} * image.height);
}

const std::string kRow20 = std::string("\xF0\x00\x0F\xFF", 4);  // 20 pixels and 12 of padding

INSTANTIATE_TEST_SUITE_P(
    Rows, NoteDrawing,
    testing::Values(
        DrawingRow{"BitsInWordRows", 0, 20, 2, kRow20 + kRow20, true, 2, ""},
        DrawingRow{"RunsFillExactly", 1, 16, 3, std::string("\x06\xAA", 2), true, 3, ""},
        DrawingRow{"RunsPastTheSizeStopAtIt", 1, 16, 2, std::string("\xFF\xAA\xFF\xAA", 4), true, 2, ""},
        DrawingRow{"DataEndingInsideARowKeepsIt", 1, 16, 8, std::string("\x03\xAA", 2), true, 2,
                   "the drawing's data ends at row 2 of the 8"},
        DrawingRow{"BombGetsOnlyTheRowsItsDataGives", 1, 2048, 2048, std::string("\xFF\xFF", 2), true, 1,
                   "the drawing's data ends at row 1 of the 2048"},
        DrawingRow{"LargerThanANotePadIsNotDecoded", 1, 60000, 60000, std::string("\xFF\xFF", 2), false, 0,
                   "the drawing states 60000 x 60000"},
        DrawingRow{"EmptySize", 0, 0, 10, kRow20, false, 0, "the drawing is empty"},
        DrawingRow{"NoData", 1, 16, 16, "", false, 0, "the drawing has no data"},
        DrawingRow{"ALoneCountIsNoRun", 1, 16, 16, std::string("\x05", 1), false, 0, "the drawing has no data"},
        DrawingRow{"PngIsNotBits", 2, 16, 16, "\x89PNG", false, 0, "the drawing is of a kind"}),
    [](const auto& info) { return info.param.name; });

TEST(NoteDrawing, BitsAreBlackOnWhiteMostSignificantFirst) {
    NotePadRecord note;
    note.dataKind = 0;
    note.width = 20;
    note.height = 1;
    note.data = {reinterpret_cast<const uint8_t*>(kRow20.data()), kRow20.size()};
    IconImage image;
    std::string why;
    ASSERT_TRUE(DecodeNoteDrawing(note, image, why));
    std::string seen;
    for (const Rgba& pixel : image.pixels) seen += pixel.r == 0 ? '#' : '.';
    EXPECT_EQ(seen, "####................") << "the black bits past pixel 20 are the row's padding";
}

}  // namespace
}  // namespace corvelle
