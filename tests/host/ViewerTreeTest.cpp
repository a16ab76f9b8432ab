// The viewer's windows as the host finds them after ListLoad, and the report
// they show.
#include <gtest/gtest.h>

#include <cstdint>

#include "ViewerFixture.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

using ViewerTree = ViewerTest;

TEST_F(ViewerTree, FrameFillsTheListerAsAChildWithTheModuleAsItsId) {
  ListerWindow lister;
  HWND frame = lister.Open(WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(GetParent(frame), lister.Handle());
  EXPECT_EQ(GetWindowLongPtrA(frame, GWL_STYLE), 0x50000900) << "child, visible, low bits 0x0900";
  EXPECT_EQ(ToString(RectIn(frame, lister.Handle())), ToString(ClientRectOf(lister.Handle())));
  // The child-window id is the module's instance handle, cut to 32 bits.
  auto moduleId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(PluginModule::Get().Handle()));
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongPtrA(frame, GWLP_ID)), moduleId);
}

TEST_F(ViewerTree, SheetIsABorderlessEnabledChildFillingTheFrame) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_NE(parts.sheet, nullptr) << DescribeTree(parts.frame);
  EXPECT_EQ(ClassNameOf(parts.sheet), kDialogClass);
  EXPECT_TRUE(HasStyle(parts.sheet, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP));
  EXPECT_FALSE(HasStyle(parts.sheet, WS_DISABLED)) << "the Lister was active, so the sheet starts enabled";
  EXPECT_FALSE(HasStyle(parts.sheet, WS_CAPTION));
  EXPECT_TRUE(GetWindowLongPtrA(parts.sheet, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(ToString(RectIn(parts.sheet, parts.frame)), ToString(ClientRectOf(parts.frame)));
  EXPECT_EQ(TextOf(parts.sheet), "CList");
  for (HWND child : ChildrenOf(parts.sheet)) {
    if (ClassNameOf(child) == "Button") {
      EXPECT_FALSE(IsWindowVisible(child)) << "sheet button " << ControlIdOf(child) << " \"" << TextOf(child)
                                           << "\" is showing";
    }
  }
}

TEST_F(ViewerTree, TabsAreImageDumpThenAboutAndTheDumpPageIsShowing) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  EXPECT_EQ(TabTitles(parts.tabControl), (std::vector<std::string>{"Image Dump", "About"}));
  EXPECT_EQ(SelectedTab(parts.tabControl), 0);
  EXPECT_EQ(VisiblePage(parts.sheet), parts.dumpPage);
  // The About page's window is made only when its tab is first chosen.
  EXPECT_EQ(PagesOf(parts.sheet).size(), 1u) << DescribeTree(parts.frame);
}

TEST_F(ViewerTree, DumpControlIsAReadOnlyRichEditShowingTheStartOfTheReport) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(200)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  EXPECT_EQ(ClassNameOf(parts.dumpControl), kRichEditClass);
  EXPECT_TRUE(HasStyle(parts.dumpControl, WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL |
                                              ES_NOHIDESEL | ES_READONLY));
  EXPECT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl)) << "long lines start unwrapped";
  CHARRANGE selection = SelectionOf(parts.dumpControl);
  EXPECT_EQ(selection.cpMin, 0);
  EXPECT_EQ(selection.cpMax, 0);
  EXPECT_EQ(FirstVisibleLine(parts.dumpControl), 0);
  EXPECT_TRUE(SendMessageA(parts.dumpControl, EM_GETOPTIONS, 0, 0) & ECO_SAVESEL);
}

struct DatabaseCase {
  const char* name;
  const char* fileName;
  PalmDatabase (*make)();
  bool write;             // false: the path names no file
  size_t minReportSize;   // so that the big cases cannot pass on a cut text
};

const DatabaseCase kDatabases[] = {
    {"ThreeRecords", "memo.pdb", [] { return PalmDatabase::WithRecords(3); }, true, 100},
    {"NoRecords", "empty.pdb", [] { return PalmDatabase::WithRecords(0); }, true, 100},
    {"ApplicationResources", "app.prc", [] { return PalmDatabase::WithResources(25); }, true, 100},
    {"QueryApplication", "query.pqa", [] { return PalmDatabase::WithRecords(5).Type("pqa "); }, true, 100},
    {"UpperCaseAppl", "upper.PRC", [] { return PalmDatabase::WithRecords(4).Type("APPL"); }, true, 100},
    {"MissingFile", "missing.pdb", [] { return PalmDatabase::WithRecords(1); }, false, 0},
    // Some 80 KB of report: beyond the rich-edit control's default limit of
    // 32767 characters and beyond 64 KB.
    {"BeyondTheDefaultTextLimit", "big.pdb", [] { return PalmDatabase::WithRecords(400); }, true, 70000},
};

void PrintTo(const DatabaseCase& row, std::ostream* out) { *out << row.name; }

class DumpReport : public ViewerParamTest<DatabaseCase> {};

TEST_P(DumpReport, ControlHoldsTheEnginesReport) {
  const DatabaseCase& row = GetParam();
  std::string path = row.write ? WriteDatabase(row.make(), row.fileName) : m_dir.PathOf(row.fileName);
  std::string expected = corvelle::DumpPalmFile(path.c_str());
  ASSERT_GE(expected.size(), row.minReportSize);

  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  std::string shown = ControlText(parts.dumpControl);
  EXPECT_EQ(shown.size(), expected.size());
  EXPECT_TRUE(shown == expected) << "the control's text differs from the report (" << shown.size() << " vs "
                                 << expected.size() << " bytes)";
  std::string streamed = StreamedText(parts.dumpControl);
  EXPECT_TRUE(streamed == expected) << "EM_STREAMOUT gives " << streamed.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Databases, DumpReport, testing::ValuesIn(kDatabases), RowName());

}  // namespace
}  // namespace corvelle::host
