// The sheet's layout: the control keeps its template margins, and every part
// of the viewer follows the Lister window's size.
#include <gtest/gtest.h>

#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

struct Margins {
  int left, top, right, bottom;
};

// The control's margins inside the page as the dialog template puts them:
// control at (7, 7) size 208 × 161 in a page of 222 × 175 dialog units.
Margins TemplateMargins(HWND page) {
  RECT control = {7, 7, 7 + 208, 7 + 161};
  RECT whole = {0, 0, 222, 175};
  MapDialogRect(page, &control);
  MapDialogRect(page, &whole);
  return {control.left, control.top, whole.right - control.right, whole.bottom - control.bottom};
}

Margins MarginsOf(HWND control, HWND page) {
  RECT rect = RectIn(control, page);
  RECT client = ClientRectOf(page);
  return {rect.left, rect.top, client.right - rect.right, client.bottom - rect.bottom};
}

std::string MarginsText(const Margins& m) {
  return "(" + std::to_string(m.left) + ", " + std::to_string(m.top) + ", " + std::to_string(m.right) + ", " +
         std::to_string(m.bottom) + ")";
}

// The rectangles that must move together, each in its parent's client area.
struct Layout {
  RECT lister, frame, sheet, tabs, page, control;
};

Layout LayoutOf(HWND lister, const ViewerParts& parts) {
  return {ClientRectOf(lister),
          RectIn(parts.frame, lister),
          RectIn(parts.sheet, parts.frame),
          RectIn(parts.tabControl, parts.sheet),
          RectIn(parts.dumpPage, parts.sheet),
          RectIn(parts.dumpControl, parts.dumpPage)};
}

using PageLayout = ViewerTest;

TEST_F(PageLayout, ControlKeepsItsTemplateMarginsAfterTheFirstLayout) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  EXPECT_EQ(MarginsText(MarginsOf(parts.dumpControl, parts.dumpPage)), MarginsText(TemplateMargins(parts.dumpPage)));
}

TEST_F(PageLayout, PageLiesInsideTheTabControlsDisplayArea) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  RECT tabs = RectIn(parts.tabControl, parts.sheet);
  RECT page = RectIn(parts.dumpPage, parts.sheet);
  EXPECT_GE(page.left, tabs.left);
  EXPECT_GT(page.top, tabs.top) << "the page covers the tabs";
  EXPECT_LE(page.right, tabs.right);
  EXPECT_LE(page.bottom, tabs.bottom);
}

struct ResizeCase {
  const char* name;
  ListerKind kind;
  int dx, dy;
};

const ResizeCase kResizes[] = {
    {"Wider30Taller20", ListerKind::TopLevel, 30, 20},
    {"Narrower40Shorter30", ListerKind::TopLevel, -40, -30},
    {"WiderOnly", ListerKind::TopLevel, 100, 0},
    {"TallerOnly", ListerKind::TopLevel, 0, 50},
    {"EmbeddedWiderTaller", ListerKind::Embedded, 60, 40},
};

void PrintTo(const ResizeCase& row, std::ostream* out) { *out << row.name; }

class Resize : public ViewerParamTest<ResizeCase> {};

TEST_P(Resize, MovesTheRightAndBottomEdgesOfEveryPartTogether) {
  const ResizeCase& row = GetParam();
  ListerWindow lister(row.kind);
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  Layout before = LayoutOf(lister.Handle(), parts);
  Margins marginsBefore = MarginsOf(parts.dumpControl, parts.dumpPage);

  HWND top = lister.Outer() ? lister.Outer() : lister.Handle();
  RECT outer = RectIn(top, nullptr);
  lister.Resize(WidthOf(outer) + row.dx, HeightOf(outer) + row.dy);
  Layout after = LayoutOf(lister.Handle(), parts);
  ASSERT_EQ(WidthOf(after.lister) - WidthOf(before.lister), row.dx);
  ASSERT_EQ(HeightOf(after.lister) - HeightOf(before.lister), row.dy);

  const struct {
    const char* part;
    RECT Layout::*rect;
  } kParts[] = {{"frame", &Layout::frame}, {"sheet", &Layout::sheet}, {"tab control", &Layout::tabs},
                {"dump page", &Layout::page}, {"control", &Layout::control}};
  for (const auto& part : kParts) {
    SCOPED_TRACE(part.part);
    const RECT& was = before.*part.rect;
    const RECT& is = after.*part.rect;
    EXPECT_EQ(is.left, was.left);
    EXPECT_EQ(is.top, was.top);
    EXPECT_EQ(is.right - was.right, row.dx);
    EXPECT_EQ(is.bottom - was.bottom, row.dy);
  }
  EXPECT_EQ(MarginsText(MarginsOf(parts.dumpControl, parts.dumpPage)), MarginsText(marginsBefore));
}

INSTANTIATE_TEST_SUITE_P(Lister, Resize, testing::ValuesIn(kResizes), RowName());

using HiddenPage = ViewerTest;

TEST_F(HiddenPage, TakesTheNewSizeWhenShownAgain) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  PressKeyOnFocus('2', kCtrl);
  HWND about = VisiblePage(parts.sheet);
  ASSERT_NE(about, nullptr);
  ASSERT_NE(about, parts.dumpPage);
  PressKey(parts.tabControl, '1', kCtrl);
  ASSERT_EQ(VisiblePage(parts.sheet), parts.dumpPage);

  RECT outer = RectIn(lister.Handle(), nullptr);
  lister.Resize(WidthOf(outer) + 50, HeightOf(outer) + 30);
  PressKey(parts.tabControl, '2', kCtrl);
  ASSERT_EQ(VisiblePage(parts.sheet), about);
  EXPECT_EQ(ToString(RectIn(about, parts.sheet)), ToString(RectIn(parts.dumpPage, parts.sheet)));
}

using MinimisedLister = ViewerTest;

TEST_F(MinimisedLister, LeavesTheLayoutAsItWasWhenRestored) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  Layout before = LayoutOf(lister.Handle(), parts);
  ShowWindow(lister.Handle(), SW_MINIMIZE);
  PumpMessages();
  ShowWindow(lister.Handle(), SW_RESTORE);
  PumpMessages();
  Layout after = LayoutOf(lister.Handle(), parts);
  EXPECT_EQ(ToString(after.sheet), ToString(before.sheet));
  EXPECT_EQ(ToString(after.tabs), ToString(before.tabs));
  EXPECT_EQ(ToString(after.page), ToString(before.page));
  EXPECT_EQ(ToString(after.control), ToString(before.control));
}

}  // namespace
}  // namespace corvelle::host
