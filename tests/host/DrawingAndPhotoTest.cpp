// The Records page of a Note Pad database and of a Photos picture database:
// the drawing, decoded by the engine, and the photo's JPEG joined from its
// blocks, decoded by Windows' own imaging, each beside the entry's text, which
// is `corvelle-dump --record N`'s; an entry without a picture shows none.
#include "RecordFixtures.h"
#include "formats/EntryText.h"

namespace corvelle::host {
namespace {

struct PictureRow {
  const char* name;
  const char* file;
  std::string (*bytes)();
  int withPicture, without;  // rows; -1: none
  LONG width, height;        // as shown, fitted to 96 pixels
  // Points of the shown picture (x, y) and their colours.
  struct { int x, y, r, g, b; } points[3];
};

class PicturePage : public ViewerTest, public testing::WithParamInterface<PictureRow> {};

TEST_P(PicturePage, ShowsThePictureBesideTheText) {
  const PictureRow& row = GetParam();
  const ModelledFile file{row.bytes()};
  ListerWindow lister;
  const RecordsParts parts = ShowRecords(OpenViewer(lister, m_dir.Write(row.file, file.bytes)));
  ASSERT_NE(parts.list, nullptr);
  for (int entry : {row.withPicture, row.without, row.withPicture}) {
    if (entry < 0) continue;
    SCOPED_TRACE("entry " + std::to_string(entry));
    SelectRows(parts.list, {entry});
    EXPECT_EQ(WithoutCr(ControlText(parts.pane)), EntryText(file.model, size_t(entry), 4096));
    const auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(parts.picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (entry != row.withPicture) {
      EXPECT_FALSE(IsWindowVisible(parts.picture) && bitmap != nullptr);
      continue;
    }
    ASSERT_TRUE(IsWindowVisible(parts.picture) && bitmap != nullptr);
    BITMAP size = {};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof size, &size));
    EXPECT_EQ(size.bmWidth, row.width);
    EXPECT_EQ(size.bmHeight, row.height);
    for (const auto& point : row.points)
      EXPECT_TRUE(NearColour(ShownPixel(bitmap, point.x, point.y), point.r, point.g, point.b))
          << point.x << "," << point.y << ": " << std::hex << ShownPixel(bitmap, point.x, point.y);
    const RECT picture = RectIn(parts.picture, parts.page), pane = RectIn(parts.pane, parts.page);
    EXPECT_TRUE(picture.left >= pane.right && picture.top == pane.top) << ToString(picture) << " " << ToString(pane);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PicturePage,
    testing::Values(
        // 152 x 140 shrunk to 96 x 88: the frame at the corner, white inside, the square at the middle.
        PictureRow{"NotePadDrawing", "NotePadDB.pdb", NotePadFixture, 0, 1, 96, 88,
                   {{0, 0, 0, 0, 0}, {20, 20, 255, 255, 255}, {48, 44, 0, 0, 0}}},
        // The face, 48 x 48 enlarged twice: skin at the middle, an eye.
        PictureRow{"PhotoJoinedFromBlocks", "Sunset.jpg.pdb", PhotoFixture, 1, -1, 96, 96,
                   {{48, 48, 235, 190, 150}, {34, 38, 40, 40, 90}, {48, 48, 235, 190, 150}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle::host
