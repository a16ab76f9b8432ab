// Every part of the viewer follows the Lister's size, a hidden page too; the
// report keeps the margins its dialog template gives it.
#include "Harness.h"

namespace corvelle::host {
namespace {

struct ResizeRow {
  const char* name;
  ListerKind kind;
  int dx, dy;
};

const ResizeRow kResizes[] = {
    {"WiderTaller", ListerKind::TopLevel, 30, 20},
    {"NarrowerShorter", ListerKind::TopLevel, -40, -30},
    {"EmbeddedWiderTaller", ListerKind::Embedded, 60, 40},
};

class Resize : public ViewerParamTest<ResizeRow> {};

TEST_P(Resize, MovesTheRightAndBottomEdgesOfEveryPartTogether) {
  const ResizeRow& row = GetParam();
  ListerWindow lister(row.kind);
  ViewerParts parts = OpenViewer(lister, WriteRecords(3));
  ASSERT_TRUE(parts.IsComplete());
  const HWND windows[] = {parts.frame, parts.sheet, parts.tabControl, parts.dumpPage, parts.dumpControl};
  auto rects = [&] {
    std::vector<RECT> all;
    for (HWND window : windows) all.push_back(RectIn(window, GetParent(window)));
    return all;
  };
  // The control sits where the template puts it: (7, 7) size 208 x 161 of a
  // 222 x 175 page, in dialog units.
  RECT control = {7, 7, 215, 168}, page = {0, 0, 222, 175};
  MapDialogRect(parts.dumpPage, &control);
  MapDialogRect(parts.dumpPage, &page);
  const RECT margins = {control.left, control.top, page.right - control.right, page.bottom - control.bottom};
  auto marginsNow = [&] {
    RECT at = RectIn(parts.dumpControl, parts.dumpPage), client = ClientRectOf(parts.dumpPage);
    return RECT{at.left, at.top, client.right - at.right, client.bottom - at.bottom};
  };
  EXPECT_EQ(ToString(marginsNow()), ToString(margins));

  // The About page is made, then hidden while the Lister changes size.
  PressKey(parts.tabControl, '2', kCtrl);
  PressKey(parts.tabControl, '1', kCtrl);
  std::vector<RECT> before = rects();
  lister.Resize(row.dx, row.dy);
  std::vector<RECT> after = rects();
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(ClassNameOf(windows[i]));
    EXPECT_EQ(ToString(after[i]), ToString(RECT{before[i].left, before[i].top, before[i].right + row.dx,
                                                before[i].bottom + row.dy}));
  }
  EXPECT_EQ(ToString(marginsNow()), ToString(margins));

  // Minimised and restored, the layout is as it was.
  ShowWindow(lister.Top(), SW_MINIMIZE);
  PumpMessages();
  ShowWindow(lister.Top(), SW_RESTORE);
  PumpMessages();
  EXPECT_EQ(ToString(RectIn(parts.dumpControl, parts.dumpPage)), ToString(after.back()));
  PressKey(parts.tabControl, '2', kCtrl);
  HWND about = VisiblePage(parts.sheet);
  ASSERT_NE(about, parts.dumpPage);
  EXPECT_EQ(ToString(RectIn(about, parts.sheet)), ToString(RectIn(parts.dumpPage, parts.sheet)));
}

INSTANTIATE_TEST_SUITE_P(Lister, Resize, testing::ValuesIn(kResizes), RowName());

}  // namespace
}  // namespace corvelle::host
