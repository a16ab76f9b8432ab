// The host's commands and the user's keys: where they go and what they do,
// with one viewer and with two sharing the keyboard hook.
#include "Harness.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

using Commands = ViewerTest;

struct KeyRow {
  const char* name;
  UINT key;
  unsigned modifiers;
  int toFrame, toControl;  // the copies each gets; -1: either
};

// Letters and the like belong to the host; moving keys to both; the
// scrolling keys only to the report. Every key's route is the rule's own test.
const KeyRow kKeys[] = {
    {"Letter", 'A', kNoModifier, 1, 0},  {"ShiftLetter", 'Q', kShift, 1, 0}, {"Escape", VK_ESCAPE, kNoModifier, 1, 0},
    {"Down", VK_DOWN, kNoModifier, 1, 1}, {"PageDown", VK_NEXT, kNoModifier, 0, 1}, {"F5", VK_F5, kNoModifier, 0, -1},
};

// And W toggles wrapping only in the report, reaching the host all the same;
// select-all and copy act in the host's loop on the whole report, other commands are refused.
TEST_F(Commands, KeysAndCommandsReachFrameAndReportAsTheHostExpectsAndNeverEditTheReport) {
  ListerWindow lister(ListerKind::TopLevel, RECT{60, 40, 400, 460});  // narrower than long lines
  const std::string path = WriteRecords(120);
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete());
  const LRESULT unwrapped = DisplayLineCount(parts.dumpControl);
  ASSERT_TRUE(FocusWindow(parts.tabControl));
  PressKeyOnFocus('W');
  EXPECT_EQ(DisplayLineCount(parts.dumpControl), unwrapped) << "W on the tabs wrapped the report";
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  MessageLog wLog(parts.frame);
  for (unsigned modifiers : {kNoModifier, kShift}) {
    PressKeyOnFocus('W', modifiers);
    EXPECT_GT(DisplayLineCount(parts.dumpControl), unwrapped);
    EXPECT_FALSE(ShowsHorizontalScrollBar(parts.dumpControl));
    PressKeyOnFocus('W', modifiers);
    EXPECT_EQ(DisplayLineCount(parts.dumpControl), unwrapped);
    EXPECT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl));
  }
  EXPECT_EQ(wLog.Count(WM_KEYDOWN, 'W'), 4u);

  std::string before = ControlText(parts.dumpControl);
  PressKeyOnFocus(VK_DOWN);
  EXPECT_EQ(SendMessageA(parts.dumpControl, EM_EXLINEFROMCHAR, 0, SelectionOf(parts.dumpControl).cpMax), 1);
  PressKeyOnFocus(VK_NEXT);
  PressKeyOnFocus(VK_NEXT);
  EXPECT_GT(FirstVisibleLine(parts.dumpControl), 0);
  PressKeyOnFocus('X');
  PressKeyOnFocus(VK_DELETE);
  EXPECT_TRUE(ControlText(parts.dumpControl) == before);
  for (const KeyRow& row : kKeys) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(FocusWindow(parts.dumpControl));
    MessageLog frameLog(parts.frame), controlLog(parts.dumpControl);
    PressKeyOnFocus(row.key, row.modifiers);
    const size_t toFrame = frameLog.Count(WM_KEYDOWN, row.key), toControl = controlLog.Count(WM_KEYDOWN, row.key);
    EXPECT_TRUE(row.toFrame < 0 || toFrame == size_t(row.toFrame)) << toFrame << " copies reached the frame";
    EXPECT_TRUE(row.toControl < 0 || toControl == size_t(row.toControl)) << toControl << " reached the report";
  }

  const PluginModule& module = PluginModule::Get();
  EmptyClipboardText();
  SendMessageA(parts.dumpControl, EM_SETSEL, 0, 6);
  for (int command : {0, 2, 4, -1, 0x10001}) EXPECT_EQ(module.ListSendCommand(parts.frame, command), kListPluginError);
  EXPECT_EQ(module.ListSendCommand(parts.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  EXPECT_EQ(ClipboardText(), DumpPalmFile(path.c_str()).substr(0, 6));

  EXPECT_EQ(module.ListSendCommand(parts.frame, kListCommandSelectAll), kListPluginOk);
  EXPECT_EQ(SelectionOf(parts.dumpControl).cpMax, 6) << "select-all acted before the host's loop ran";
  EXPECT_EQ(module.ListSendCommand(parts.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  EXPECT_TRUE(ClipboardText() == DumpPalmFile(path.c_str())) << ClipboardText().size() << " bytes copied";

  // Keys of the host's own windows pass the hook unchanged.
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, lister.Handle(), nullptr,
                              nullptr, nullptr);
  MessageLog frameLog(parts.frame);
  ASSERT_TRUE(FocusWindow(edit));
  PressKeyOnFocus('A');
  EXPECT_EQ(TextOf(edit), "a");
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, 'A'), 0u);
  DestroyWindow(edit);
}

struct PageKeyRow {
  const char* name;
  bool onTabs;  // false: the report has the focus
  UINT key;
  unsigned modifiers;
  int pageAfter;
  size_t copiesToFrame;
};

// Ctrl+Tab and Ctrl+PageDown are the sheet's own keys, which a multi-line
// edit keeps for itself, so they are pressed on the tabs.
const PageKeyRow kPageKeys[] = {
    {"CtrlTwo", false, '2', kCtrl, 1, 1},          {"CtrlThree", false, '3', kCtrl, 2, 1},
    {"CtrlFour", false, '4', kCtrl, 0, 1},
    {"PlainTwo", false, '2', kNoModifier, 0, 1},   {"CtrlTwoOnTabs", true, '2', kCtrl, 1, 1},
    {"CtrlTabOnTabs", true, VK_TAB, kCtrl, 1, 1},  {"CtrlPageDownOnTabs", true, VK_NEXT, kCtrl, 1, 0},
};

class PageKey : public ViewerParamTest<PageKeyRow> {};

TEST_P(PageKey, SelectsThePageAndTellsTheHost) {
  const PageKeyRow& row = GetParam();
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteRecords(20));
  ASSERT_TRUE(parts.IsComplete());
  ASSERT_TRUE(FocusWindow(row.onTabs ? parts.tabControl : parts.dumpControl));
  MessageLog frameLog(parts.frame);
  PressKeyOnFocus(row.key, row.modifiers);
  EXPECT_EQ(SelectedTab(parts.tabControl), row.pageAfter);
  EXPECT_EQ(VisiblePage(parts.sheet) == parts.dumpPage, row.pageAfter == 0);
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, row.key), row.copiesToFrame);
  if (row.pageAfter == 1) {
    ASSERT_TRUE(IsChild(parts.frame, GetFocus())) << "the focus left the viewer";
    PressKeyOnFocus('1', kCtrl);
    EXPECT_EQ(VisiblePage(parts.sheet), parts.dumpPage);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, PageKey, testing::ValuesIn(kPageKeys), RowName());

// A letter must reach only the frame and an arrow both: that takes the hook.
void ExpectTheHookRoutesKeys(const ViewerParts& parts) {
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  MessageLog frameLog(parts.frame), controlLog(parts.dumpControl);
  PressKeyOnFocus('A');
  PressKeyOnFocus(VK_DOWN);
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN, 'A') + frameLog.Count(WM_KEYDOWN, VK_DOWN), 2u);
  EXPECT_EQ(controlLog.Count(WM_KEYDOWN, 'A'), 0u) << "no hook: the letter reached the report";
}

TEST_F(Commands, TwoViewersAreIndependentAndShareTheHookUntilTheLastCloses) {
  for (bool closeFirstOpened : {true, false}) {
    SCOPED_TRACE(closeFirstOpened ? "first opened closed first" : "second opened closed first");
    std::string firstPath = WriteRecords(4, "first.pdb");
    std::string secondPath = m_dir.Write("second.prc", ResourceDatabase(6));
    ListerWindow first, second(ListerKind::TopLevel, RECT{700, 60, 1220, 460});
    ViewerParts one = OpenViewer(first, firstPath), two = OpenViewer(second, secondPath);
    ASSERT_TRUE(one.IsComplete() && two.IsComplete());
    EXPECT_TRUE(ControlText(two.dumpControl) == DumpPalmFile(secondPath.c_str()));
    ASSERT_TRUE(FocusWindow(one.dumpControl));
    PressKeyOnFocus('2', kCtrl);
    EXPECT_EQ(SelectedTab(one.tabControl) * 10 + SelectedTab(two.tabControl), 10);
    PressKey(one.tabControl, '1', kCtrl);

    (closeFirstOpened ? first : second).Close();
    ExpectTheHookRoutesKeys(closeFirstOpened ? two : one);
    (closeFirstOpened ? second : first).Close();
    // A second file in the same Lister replaces the viewer, with a hook of its own.
    HWND replaced = first.Open(firstPath);
    ViewerParts three = OpenViewer(first, firstPath);
    EXPECT_FALSE(IsWindow(replaced));
    EXPECT_EQ(ChildrenOf(first.Handle()).size(), 1u);
    ExpectTheHookRoutesKeys(three);
  }
}

}  // namespace
}  // namespace corvelle::host
