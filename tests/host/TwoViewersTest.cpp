// Two viewers open at once: independent windows and texts, one shared
// keyboard hook that lives as long as any viewer does.
#include <gtest/gtest.h>

#include "ViewerFixture.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

// Types a letter and an arrow into the viewer's control: the letter must
// reach only the frame, the arrow both; that takes the plug-in's hook.
void ExpectKeysRoutedByTheHook(const ViewerParts& parts) {
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  MessageLog frameLog(parts.frame);
  MessageLog controlLog(parts.dumpControl);
  PressKeyOnFocus('A');
  PressKeyOnFocus(VK_DOWN);
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, 'A'), 1u);
  EXPECT_EQ(controlLog.Count(WM_KEYDOWN, 'A'), 0u) << "no hook: the letter reached the control";
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, VK_DOWN), 1u);
  EXPECT_EQ(controlLog.Count(WM_KEYDOWN, VK_DOWN), 1u);
}

struct CloseOrder {
  const char* name;
  bool closeFirstOpened;
};

const CloseOrder kCloseOrders[] = {{"FirstOpenedClosedFirst", true}, {"SecondOpenedClosedFirst", false}};

void PrintTo(const CloseOrder& row, std::ostream* out) { *out << row.name; }

class TwoViewers : public ViewerParamTest<CloseOrder> {};

TEST_P(TwoViewers, AreIndependentAndShareTheHookUntilTheLastCloses) {
  std::string firstPath = WriteDatabase(PalmDatabase::WithRecords(4), "first.pdb");
  std::string secondPath = WriteDatabase(PalmDatabase::WithResources(6), "second.prc");
  ListerWindow first;
  ListerWindow second(ListerKind::TopLevel, RECT{700, 60, 700 + 520, 60 + 400});
  ViewerParts one = OpenViewer(first, firstPath);
  ViewerParts two = OpenViewer(second, secondPath);
  ASSERT_TRUE(one.IsComplete()) << DescribeTree(one.frame);
  ASSERT_TRUE(two.IsComplete()) << DescribeTree(two.frame);
  EXPECT_NE(one.frame, two.frame);
  EXPECT_TRUE(ControlText(one.dumpControl) == corvelle::DumpPalmFile(firstPath.c_str()));
  EXPECT_TRUE(ControlText(two.dumpControl) == corvelle::DumpPalmFile(secondPath.c_str()));

  // Each viewer's keys and commands stay its own.
  ASSERT_TRUE(FocusWindow(one.dumpControl));
  PressKeyOnFocus('2', kCtrl);
  EXPECT_EQ(SelectedTab(one.tabControl), 1);
  EXPECT_EQ(SelectedTab(two.tabControl), 0);
  EXPECT_EQ(PluginModule::Get().ListSendCommand(two.frame, kListCommandSelectAll), kListPluginOk);
  PumpMessages();
  EXPECT_TRUE(SelectedText(two.dumpControl) == corvelle::DumpPalmFile(secondPath.c_str()));
  CHARRANGE oneSelection = SelectionOf(one.dumpControl);
  EXPECT_EQ(oneSelection.cpMax - oneSelection.cpMin, 0);
  PressKey(one.tabControl, '1', kCtrl);

  ListerWindow& closed = GetParam().closeFirstOpened ? first : second;
  const ViewerParts& remaining = GetParam().closeFirstOpened ? two : one;
  closed.Close();
  ASSERT_TRUE(IsWindow(remaining.dumpControl));
  ExpectKeysRoutedByTheHook(remaining);

  // The last viewer closes; a new one gets a hook of its own.
  (GetParam().closeFirstOpened ? second : first).Close();
  ListerWindow third;
  ViewerParts three = OpenViewer(third, firstPath);
  ASSERT_TRUE(three.IsComplete()) << DescribeTree(three.frame);
  ExpectKeysRoutedByTheHook(three);
}

INSTANTIATE_TEST_SUITE_P(Hook, TwoViewers, testing::ValuesIn(kCloseOrders), RowName());

using SecondViewer = ViewerTest;

TEST_F(SecondViewer, InTheSameListerReplacesTheFirst) {
  // The Lister closes a viewer before it loads the next file into the same window.
  std::string path = WriteDatabase(PalmDatabase::WithRecords(3));
  ListerWindow lister;
  HWND first = lister.Open(path);
  ASSERT_NE(first, nullptr);
  HWND second = lister.Open(path);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(ChildrenOf(lister.Handle()).size(), 1u) << DescribeTree(lister.Handle());
  ExpectKeysRoutedByTheHook(FindViewerParts(second));
}

}  // namespace
}  // namespace corvelle::host
