// The W key toggles line wrapping in the dump page; Ctrl+digit and the
// sheet's own keys switch pages.
#include <gtest/gtest.h>

#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

// Narrow enough that the report's longer lines do not fit.
const RECT kNarrowLister = {60, 40, 60 + 340, 40 + 420};

struct WrapKey {
  const char* name;
  unsigned modifiers;
};

const WrapKey kWrapKeys[] = {{"W", kNoModifier}, {"ShiftW", kShift}, {"CtrlW", kCtrl}};

void PrintTo(const WrapKey& row, std::ostream* out) { *out << row.name; }

class WrapToggle : public ViewerParamTest<WrapKey> {};

TEST_P(WrapToggle, WrapsLongLinesAndHidesTheScrollBarThenRestoresThem) {
  ListerWindow lister(ListerKind::TopLevel, kNarrowLister);
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(20)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  MessageLog frameLog(parts.frame);
  LRESULT unwrappedLines = DisplayLineCount(parts.dumpControl);
  ASSERT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl));

  PressKeyOnFocus('W', GetParam().modifiers);
  EXPECT_GT(DisplayLineCount(parts.dumpControl), unwrappedLines) << "long lines are not wrapped";
  EXPECT_FALSE(ShowsHorizontalScrollBar(parts.dumpControl));
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, 'W'), 1u) << "W is also the host's key";

  PressKeyOnFocus('W', GetParam().modifiers);
  EXPECT_EQ(DisplayLineCount(parts.dumpControl), unwrappedLines);
  EXPECT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl));
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, 'W'), 2u);
}

INSTANTIATE_TEST_SUITE_P(Keys, WrapToggle, testing::ValuesIn(kWrapKeys), RowName());

using WrapFocus = ViewerTest;

TEST_F(WrapFocus, WOnTheTabControlDoesNotWrap) {
  ListerWindow lister(ListerKind::TopLevel, kNarrowLister);
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(20)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  LRESULT unwrappedLines = DisplayLineCount(parts.dumpControl);
  ASSERT_TRUE(FocusWindow(parts.tabControl));
  PressKeyOnFocus('W');
  EXPECT_EQ(DisplayLineCount(parts.dumpControl), unwrappedLines);
  EXPECT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl));
}

enum class KeyTarget { kDumpControl, kTabControl };

struct PageKey {
  const char* name;
  KeyTarget focus;
  UINT key;
  unsigned modifiers;
  int pageAfter;        // from the dump page (0)
  bool copiedToFrame;
};

// Ctrl+digit works wherever the focus is. Ctrl+Tab and Ctrl+PageDown are the
// property sheet's own keys, which a multi-line edit control keeps for itself
// (it asks for every message), so they are pressed on the tab control.
const PageKey kPageKeys[] = {
    {"CtrlTwo", KeyTarget::kDumpControl, '2', kCtrl, 1, true},
    {"CtrlOne", KeyTarget::kDumpControl, '1', kCtrl, 0, true},
    {"CtrlZero", KeyTarget::kDumpControl, '0', kCtrl, 0, true},
    {"CtrlThree", KeyTarget::kDumpControl, '3', kCtrl, 0, true},
    {"CtrlNine", KeyTarget::kDumpControl, '9', kCtrl, 0, true},
    {"PlainTwo", KeyTarget::kDumpControl, '2', kNoModifier, 0, true},
    {"CtrlTwoOnTabs", KeyTarget::kTabControl, '2', kCtrl, 1, true},
    {"CtrlTabOnTabs", KeyTarget::kTabControl, VK_TAB, kCtrl, 1, true},
    {"CtrlPageDownOnTabs", KeyTarget::kTabControl, VK_NEXT, kCtrl, 1, false},
};

void PrintTo(const PageKey& row, std::ostream* out) { *out << row.name; }

class PageKeys : public ViewerParamTest<PageKey> {};

TEST_P(PageKeys, SelectThePageAndTellTheHost) {
  const PageKey& row = GetParam();
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(20)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  HWND target = row.focus == KeyTarget::kDumpControl ? parts.dumpControl : parts.tabControl;
  ASSERT_TRUE(FocusWindow(target));
  MessageLog frameLog(parts.frame);

  PressKeyOnFocus(row.key, row.modifiers);

  EXPECT_EQ(SelectedTab(parts.tabControl), row.pageAfter);
  HWND shown = VisiblePage(parts.sheet);
  if (row.pageAfter == 0) {
    EXPECT_EQ(shown, parts.dumpPage);
  } else {
    EXPECT_NE(shown, nullptr) << DescribeTree(parts.sheet);
    EXPECT_NE(shown, parts.dumpPage);
    EXPECT_FALSE(IsWindowVisible(parts.dumpPage));
  }
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, row.key), row.copiedToFrame ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, PageKeys, testing::ValuesIn(kPageKeys), RowName());

using PageSwitch = ViewerTest;

TEST_F(PageSwitch, CtrlTwoThenCtrlOneComesBackToTheReport) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(20)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  PressKeyOnFocus('2', kCtrl);
  ASSERT_EQ(SelectedTab(parts.tabControl), 1);
  HWND focus = GetFocus();
  ASSERT_TRUE(focus && IsChild(parts.frame, focus)) << "after the page change the focus left the viewer";
  PressKeyOnFocus('1', kCtrl);
  EXPECT_EQ(SelectedTab(parts.tabControl), 0);
  EXPECT_EQ(VisiblePage(parts.sheet), parts.dumpPage);
  EXPECT_EQ(PagesOf(parts.sheet).size(), 2u) << "the About page stays made once shown";
}

}  // namespace
}  // namespace corvelle::host
