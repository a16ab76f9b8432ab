// The Records page of a Contacts database: a contact's JPEG picture shows
// beside its text, decoded by Windows' own imaging; a picture that is no JPEG
// image, or a JPEG image that does not decode, shows none; the text is
// `corvelle-dump --record N`'s either way.
#include "RecordFixtures.h"
#include "formats/EntryText.h"

namespace corvelle::host {
namespace {

// Where the value of each "Label:<TAB>value" line of a rich-edit control starts, in pixels.
std::vector<LONG> ValueStarts(HWND control) {
  std::vector<LONG> starts;
  for (LRESULT line = 0, lines = DisplayLineCount(control); line < lines; ++line) {
    const LRESULT start = SendMessageA(control, EM_LINEINDEX, line, 0);
    char text[512] = {};
    *reinterpret_cast<WORD*>(text) = sizeof text - 1;
    const LRESULT length = SendMessageA(control, EM_GETLINE, line, reinterpret_cast<LPARAM>(text));
    const char* tab = static_cast<const char*>(memchr(text, '\t', size_t(length)));
    if (tab == nullptr || tab == text || tab[-1] != ':') continue;
    POINTL at = {};
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), start + (tab - text) + 1);
    starts.push_back(at.x);
  }
  return starts;
}

using ContactsPage = ViewerTest;

TEST_F(ContactsPage, ShowsAContactsJpegPictureAndNoneThatDoesNotDecode) {
  const ModelledFile file{ContactsFixture()};
  ListerWindow lister;
  const RecordsParts parts = ShowRecords(OpenViewer(lister, m_dir.Write("ContactsDB-PAdd.pdb", file.bytes)));
  ASSERT_NE(parts.list, nullptr);
  ASSERT_EQ(size_t(ListView_GetItemCount(parts.list)), file.model.Count());
  for (int row : {1, 0, 2, 0, 3}) {  // from none to a picture and back, each way
    SCOPED_TRACE("contact " + std::to_string(row));
    SelectRows(parts.list, {row});
    EXPECT_EQ(WithoutCr(ControlText(parts.pane)), EntryText(file.model, size_t(row), 4096));
    // Short labels ("AIM:", "Title:") and long ones line their values up in one column.
    const std::vector<LONG> starts = ValueStarts(parts.pane);
    EXPECT_GT(starts.size(), 3u);
    EXPECT_EQ(std::count(starts.begin(), starts.end(), starts.front()), std::ptrdiff_t(starts.size()))
        << testing::PrintToString(starts);
    const auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(parts.picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (row != 0) {
      EXPECT_FALSE(IsWindowVisible(parts.picture) && bitmap != nullptr);
      continue;
    }
    ASSERT_TRUE(IsWindowVisible(parts.picture) && bitmap != nullptr);
    BITMAP size = {};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof size, &size));
    EXPECT_EQ(size.bmWidth, 96) << "48 pixels enlarged twice";
    EXPECT_EQ(size.bmHeight, 96);
    EXPECT_TRUE(NearColour(ShownPixel(bitmap, 48, 48), 235, 190, 150)) << std::hex << ShownPixel(bitmap, 48, 48);
    EXPECT_TRUE(NearColour(ShownPixel(bitmap, 2 * 17, 2 * 19), 40, 40, 90))
        << std::hex << ShownPixel(bitmap, 34, 38);
    const RECT picture = RectIn(parts.picture, parts.page), pane = RectIn(parts.pane, parts.page);
    EXPECT_TRUE(picture.left >= pane.right && picture.top == pane.top) << ToString(picture) << " " << ToString(pane);
  }
}

}  // namespace
}  // namespace corvelle::host
