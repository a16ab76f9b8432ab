// The Records page, read back through the list's and the pane's messages and
// compared with what `corvelle-dump --records` and `--record N` print: the
// command line is a thin writer over AppendHeaderLine / AppendEntryLine and
// EntryText, which are linked into this host and called here on the same bytes.
#include <algorithm>

#include "RecordFixtures.h"
#include "formats/EntryText.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

constexpr int kFindFirst = 1, kMatchCase = 2, kWholeWords = 4, kBackwards = 8;
using ListSearchTextProc = int(__stdcall*)(HWND listWin, char* searchString, int parameter);

// A row's cells joined by TAB, as a line; row -1: the column titles.
std::string ListLine(HWND list, int row) {
  std::string line;
  for (int column = 0; column < Header_GetItemCount(ListView_GetHeader(list)); ++column) {
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    LVCOLUMNA title = {};
    title.mask = LVCF_TEXT;
    item.pszText = title.pszText = text;
    item.cchTextMax = title.cchTextMax = sizeof text;
    SendMessageA(list, row < 0 ? LVM_GETCOLUMNA : LVM_GETITEMTEXTA, row < 0 ? column : row,
                 row < 0 ? reinterpret_cast<LPARAM>(&title) : reinterpret_cast<LPARAM>(&item));
    line += (column ? "\t" : "") + std::string(text);
  }
  return line + "\n";
}

std::string PaneText(const RecordsParts& parts) { return WithoutCr(ControlText(parts.pane)); }

class Records : public ViewerParamTest<RecordFixture> {};

TEST_P(Records, ListAndPaneShowWhatTheCommandLinePrints) {
  const RecordFixture& fixture = GetParam();
  const ModelledFile file{fixture.bytes()};
  const std::string path = m_dir.Write(std::string(fixture.name) + (fixture.resources ? ".prc" : ".pdb"), file.bytes);
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, path);
  ASSERT_TRUE(viewer.IsComplete());
  const RecordsParts parts = ShowRecords(viewer);
  ASSERT_NE(parts.list, nullptr);
  EXPECT_EQ(SelectedTab(viewer.tabControl), 2);
  EXPECT_EQ(TabTitles(viewer.tabControl)[2], fixture.resources ? "Resources" : "Records");
  EXPECT_TRUE(HasStyle(parts.list, LVS_REPORT | LVS_OWNERDATA) && !HasStyle(parts.list, LVS_SINGLESEL));
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(parts.list) & LVS_EX_FULLROWSELECT);
  std::string expected;
  AppendHeaderLine(file.model, expected);
  EXPECT_EQ(ListLine(parts.list, -1), expected);
  ASSERT_EQ(size_t(ListView_GetItemCount(parts.list)), file.model.Count());
  // Each column but the contents (the rest of the room) is as wide as the
  // list itself finds its title and its cells need, in the fonts it has.
  for (int column = 0; column + 1 < Header_GetItemCount(ListView_GetHeader(parts.list)); ++column) {
    const int width = ListView_GetColumnWidth(parts.list, column);
    ListView_SetColumnWidth(parts.list, column, LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_GE(width, ListView_GetColumnWidth(parts.list, column)) << "column " << column << " too narrow";
    ListView_SetColumnWidth(parts.list, column, width);
  }
  EXPECT_NE(PaneText(parts).find(EntryCountText(file.model)), std::string::npos) << PaneText(parts);
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE) << "the page holds the viewed file";
  CloseHandle(writer);
  for (size_t i = 0; i < file.model.Count(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    expected.clear();
    AppendEntryLine(DecodedDatabase(file.model), i, expected);
    EXPECT_EQ(ListLine(parts.list, int(i)), expected);
    SelectRows(parts.list, {int(i)});
    EXPECT_EQ(PaneText(parts), EntryText(file.model, i, 4096));
    const bool bitmap = fixture.resources && CodeIs(file.model.Entry(i).type, "tAIB");
    EXPECT_EQ(IsWindowVisible(parts.picture) && SendMessageA(parts.picture, STM_GETIMAGE, IMAGE_BITMAP, 0), bitmap);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, Records, testing::ValuesIn(kRecordFixtures), RowName());

using RecordsPage = ViewerTest;

TEST_F(RecordsPage, KeysMoveThroughTheListWithThePaneAndBetweenBoth) {
  const ModelledFile file{RecordDatabase(300)};
  ListerWindow lister;
  const RecordsParts parts = ShowRecords(OpenViewer(lister, m_dir.Write("many.pdb", file.bytes)));
  ASSERT_NE(parts.list, nullptr);
  SelectRows(parts.list, {0});
  ASSERT_TRUE(FocusWindow(parts.list));
  const struct { UINT key; int row; } steps[] = {{VK_DOWN, 1}, {VK_END, 299}, {VK_UP, 298}, {VK_HOME, 0}, {VK_NEXT, -1}};
  for (const auto& step : steps) {
    PressKeyOnFocus(step.key);
    const int row = ListView_GetNextItem(parts.list, -1, LVNI_SELECTED);
    EXPECT_TRUE(step.row < 0 ? row > 1 : row == step.row) << "key " << step.key << ": row " << row;
    EXPECT_EQ(PaneText(parts), EntryText(file.model, size_t(row), 4096)) << "key " << step.key;
  }
  PressKeyOnFocus(VK_TAB);
  EXPECT_EQ(GetFocus(), parts.pane);
  const LRESULT unwrapped = DisplayLineCount(parts.pane);
  MoveWindow(lister.Handle(), 40, 30, 320, 480, TRUE);  // narrower than the dump's lines
  PumpMessages();
  PressKeyOnFocus('W');
  EXPECT_GT(DisplayLineCount(parts.pane), unwrapped);
  PressKeyOnFocus('W');
  EXPECT_EQ(DisplayLineCount(parts.pane), unwrapped);
  PressKeyOnFocus(VK_TAB, kShift);
  EXPECT_EQ(GetFocus(), parts.list);
}

// Copy and select-all take rows from the list and text from the pane; the
// search selects the next entry whose cells or fields hold the text; list
// and pane fill the page as the Lister changes size.
TEST_F(RecordsPage, CopySearchAndLayoutOfListAndPane) {
  const ModelledFile file{MemoFixture()};
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, m_dir.Write("memo.pdb", file.bytes));
  const RecordsParts parts = ShowRecords(viewer);
  ASSERT_NE(parts.list, nullptr);
  const PluginModule& module = PluginModule::Get();
  auto lines = [&](std::initializer_list<size_t> rows) {
    std::string text;
    AppendHeaderLine(file.model, text);
    for (size_t row : rows) AppendEntryLine(DecodedDatabase(file.model), row, text);
    return text;
  };
  SelectRows(parts.list, {1, 3});
  ASSERT_TRUE(FocusWindow(parts.list));
  EmptyClipboardText();
  PressKeyOnFocus('C', kCtrl);
  const std::string copied = ClipboardText();
  EXPECT_EQ(WithoutCr(copied), lines({1, 3}));
  EXPECT_EQ(std::count(copied.begin(), copied.end(), '\r'), 3) << "CR LF line ends";
  EXPECT_EQ(module.ListSendCommand(viewer.frame, kListCommandSelectAll), kListPluginOk);
  EXPECT_EQ(module.ListSendCommand(viewer.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  EXPECT_EQ(ListView_GetSelectedCount(parts.list), 8u);
  EXPECT_EQ(WithoutCr(ClipboardText()), lines({0, 1, 2, 3, 4, 5, 6, 7}));

  SelectRows(parts.list, {2});
  ASSERT_TRUE(FocusWindow(parts.pane));
  SendMessageA(parts.pane, EM_SETSEL, 0, 6);
  PressKeyOnFocus('C', kCtrl);
  EXPECT_EQ(ClipboardText(), ControlText(parts.pane).substr(0, 6));
  FocusWindow(viewer.tabControl);  // the host's commands act on the part last used
  module.ListSendCommand(viewer.frame, kListCommandSelectAll);
  module.ListSendCommand(viewer.frame, kListCommandCopy);
  PumpMessages();
  EXPECT_EQ(WithoutCr(ClipboardText()), EntryText(file.model, 2, 4096));
  EXPECT_EQ(ListView_GetSelectedCount(parts.list), 1u);

  auto search = module.Entry<ListSearchTextProc>("ListSearchText");
  ASSERT_TRUE(search && FocusWindow(parts.list));
  // Memo 0 holds "Bread" and memo 3 "bread"; memo 3 says "recipe" and memo 7
  // is filed under "Recipes", which only its category cell says.
  const struct { const char* text; int flags; int row; } steps[] = {
      {"bread", kFindFirst, 0},  {"bread", 0, 3},   {"bread", 0, -1},
      {"bread", kBackwards, 0},  {"bread", kMatchCase | kFindFirst, 3}, {"bread", kMatchCase | kBackwards, -1},
      {"RECIPES", 0, 7},         {"recipe", kWholeWords | kFindFirst, 3}, {"recipe", kWholeWords, -1},
  };
  int selected = -1;
  for (const auto& step : steps) {
    std::string text = step.text;
    SCOPED_TRACE(text + " with flags " + std::to_string(step.flags) + " after row " + std::to_string(selected));
    EXPECT_EQ(search(viewer.frame, text.data(), step.flags), step.row < 0 ? kListPluginError : kListPluginOk);
    if (step.row >= 0) selected = step.row;
    EXPECT_EQ(ListView_GetNextItem(parts.list, -1, LVNI_SELECTED), selected);
  }
  EXPECT_NE(PaneText(parts).find("A good recipe"), std::string::npos) << "the pane follows the search";

  for (const RECT& placement : {RECT{40, 30, 900, 800}, RECT{40, 30, 360, 300}}) {
    MoveWindow(lister.Handle(), placement.left, placement.top, placement.right - placement.left,
               placement.bottom - placement.top, TRUE);
    PumpMessages();
    const RECT page = ClientRectOf(parts.page), list = RectIn(parts.list, parts.page), pane = RectIn(parts.pane, parts.page);
    SCOPED_TRACE("page " + ToString(page) + ", list " + ToString(list) + ", pane " + ToString(pane));
    EXPECT_TRUE(list.left < 12 && list.top < 12 && page.right - list.right < 12);
    EXPECT_TRUE(pane.left == list.left && pane.right == list.right && pane.top > list.bottom);
    EXPECT_TRUE(page.bottom - pane.bottom < 12 && pane.bottom - pane.top > (page.bottom - page.top) / 3);
  }
}

// A file gone by the time the page is first shown: the viewer read it once
// when it opened, for every page, and holds no handle to it.
TEST_F(RecordsPage, ListsTheFileAsItWasOpenedEvenWhenItIsGoneSince) {
  const std::string path = m_dir.Write("gone.pdb", MemoFixture());
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, path);
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  const RecordsParts parts = ShowRecords(viewer);
  ASSERT_NE(parts.list, nullptr);
  EXPECT_EQ(ListView_GetItemCount(parts.list), 8);
  EXPECT_NE(PaneText(parts).find("holds 8 of 8"), std::string::npos) << PaneText(parts);
}

// A report still arriving, and one that is all in, leave the page whole.
TEST_F(RecordsPage, ListsEveryEntryWhetherShownBeforeOrAfterTheReportIsIn) {
  const ModelledFile file{RecordDatabase(3000)};
  const std::string path = m_dir.Write("big.pdb", file.bytes);
  std::string last;
  AppendEntryLine(DecodedDatabase(file.model), 2999, last);
  for (bool beforeFillEnds : {true, false}) {
    SCOPED_TRACE(beforeFillEnds ? "shown while the report arrives" : "shown once it is in");
    ListerWindow lister;
    ViewerParts viewer = FindViewerParts(PluginModule::Get().ListLoad(lister.Handle(), path));
    ASSERT_TRUE(viewer.IsComplete());
    if (!beforeFillEnds) PumpUntilFilled({viewer});
    EXPECT_EQ(DumpTabTitle(viewer) != kDumpTabTitle, beforeFillEnds) << DumpTabTitle(viewer);
    const RecordsParts parts = ShowRecords(viewer, false);
    ASSERT_NE(parts.list, nullptr);
    EXPECT_EQ(ListView_GetItemCount(parts.list), 3000);
    EXPECT_EQ(ListLine(parts.list, 2999), last);
    PressKey(parts.list, '1', kCtrl, false);
    PumpUntilFilled({viewer});
    EXPECT_TRUE(ControlText(viewer.dumpControl) == DumpPalmFile(path.c_str()));
    lister.Adopt(viewer.frame);
  }
}

}  // namespace
}  // namespace corvelle::host
