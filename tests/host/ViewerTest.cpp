// What ListLoad and the other entry points make: the windows, the report they
// show, which names are taken, the detect string and the search.
#include <algorithm>
#include <cctype>

#include "Harness.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

using Viewer = ViewerTest;

TEST_F(Viewer, IsAChildFrameWithASheetOfTwoTabsAndAReadOnlyReport) {
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteRecords(200));
  ASSERT_TRUE(parts.IsComplete());
  EXPECT_EQ(GetParent(parts.frame), lister.Handle());
  EXPECT_EQ(GetWindowLongPtrA(parts.frame, GWL_STYLE), 0x50000900);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongPtrA(parts.frame, GWLP_ID)),
            static_cast<uint32_t>(reinterpret_cast<uintptr_t>(PluginModule::Get().Handle())));
  EXPECT_EQ(ToString(RectIn(parts.frame, lister.Handle())), ToString(ClientRectOf(lister.Handle())));
  EXPECT_TRUE(HasStyle(parts.sheet, WS_CHILD | WS_VISIBLE | WS_TABSTOP));
  EXPECT_FALSE(HasStyle(parts.sheet, WS_DISABLED) || HasStyle(parts.sheet, WS_CAPTION));
  EXPECT_EQ(ToString(RectIn(parts.sheet, parts.frame)), ToString(ClientRectOf(parts.frame)));
  for (HWND child : ChildrenOf(parts.sheet)) {
    EXPECT_FALSE(ClassNameOf(child) == "Button" && IsWindowVisible(child)) << "a sheet button shows";
  }
  EXPECT_EQ(TabTitles(parts.tabControl), (std::vector<std::string>{"Image Dump", "About"}));
  EXPECT_EQ(VisiblePage(parts.sheet), parts.dumpPage);
  EXPECT_EQ(PagesOf(parts.sheet).size(), 1u) << "the About page is made when first chosen";
  EXPECT_TRUE(HasStyle(parts.dumpControl, WS_VSCROLL | ES_MULTILINE | ES_NOHIDESEL | ES_READONLY));
  EXPECT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl)) << "long lines start unwrapped";
  EXPECT_EQ(SelectionOf(parts.dumpControl).cpMax, 0);
  EXPECT_EQ(FirstVisibleLine(parts.dumpControl), 0);
}

struct ReportRow {
  const char* name;
  const char* fileName;
  std::string (*content)();  // null: no such file
};

const ReportRow kReports[] = {
    {"Records", "memo.pdb", [] { return RecordDatabase(3); }},
    {"NoRecords", "empty.pdb", [] { return RecordDatabase(0); }},
    {"Resources", "app.PRC", [] { return ResourceDatabase(25); }},
    {"NotAPalmFile", "text.pqa", [] { return std::string("plain text"); }},
    {"MissingFile", "missing.pdb", nullptr},
    // Beyond the control's default limit of 32767 characters and beyond 64 KB.
    {"BeyondTheDefaultTextLimit", "big.pdb", [] { return RecordDatabase(400); }},
};

class Report : public ViewerParamTest<ReportRow> {};

TEST_P(Report, IsTheEnginesTextByteForByte) {
  const ReportRow& row = GetParam();
  std::string path = row.content ? m_dir.Write(row.fileName, row.content()) : m_dir.PathOf(row.fileName);
  std::string expected = DumpPalmFile(path.c_str());
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete());
  std::string shown = ControlText(parts.dumpControl);
  EXPECT_TRUE(shown == expected) << shown.size() << " bytes shown, " << expected.size() << " expected";
}

INSTANTIATE_TEST_SUITE_P(Files, Report, testing::ValuesIn(kReports), RowName());

struct NameRow {
  const char* name;
  std::wstring path;  // "$" stands for the test's folder
  bool taken;
};

const NameRow kNames[] = {
    {"UpperCase", L"$Memo.PDB", true},
    {"Cyrillic", L"$\x0417\x0430\x043C\x0435\x0442\x043A\x0438.pqa", true},
    {"BackupSuffix", L"$memo.pdb.bak", false},
    {"TwoDotsFirst", L"$..memo.prc", false},
    {"NoBackslash", L"memo.pdb", false},
    {"Empty", L"", false},
};

class FileName : public ViewerParamTest<NameRow> {};

// Through ListLoadW, so that names outside the code page are tried too; the
// ANSI entry shares the rules.
TEST_P(FileName, DecidesWhetherAViewerIsMade) {
  const NameRow& row = GetParam();
  auto loadW = PluginModule::Get().Entry<HWND(__stdcall*)(HWND, WCHAR*, int)>("ListLoadW");
  ASSERT_NE(loadW, nullptr);
  std::wstring path = row.path;
  if (!path.empty() && path[0] == L'$') {
    std::wstring folder(m_dir.Path().begin(), m_dir.Path().end());
    path = folder + path.substr(1);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string image = RecordDatabase(4, "wide name");
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr));
    CloseHandle(file);
  }
  ListerWindow lister;
  HWND frame = loadW(lister.Handle(), path.data(), 0);
  lister.Adopt(frame);
  if (row.taken) {
    ViewerParts parts = FindViewerParts(frame);
    ASSERT_TRUE(parts.IsComplete()) << DescribeTree(frame);
    EXPECT_EQ(ControlText(parts.dumpControl), DumpPalmFileW(path.c_str()));
  } else {
    EXPECT_EQ(frame, nullptr);
    EXPECT_TRUE(ChildrenOf(lister.Handle()).empty());
  }
  if (row.taken) DeleteFileW(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(ListLoadW, FileName, testing::ValuesIn(kNames), RowName());

TEST(DetectString, IsWrittenWholeOrNotAtAll) {
  CORVELLE_REQUIRE_PLUGIN();
  auto detect = PluginModule::Get().Entry<void(__stdcall*)(char*, int)>("ListGetDetectString");
  ASSERT_NE(detect, nullptr);
  const std::string expected = "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"";
  const int fit = static_cast<int>(expected.size() + 1);
  for (int maxLen : {2048, fit, fit - 1, 1}) {
    SCOPED_TRACE(maxLen);
    std::string buffer(static_cast<size_t>(maxLen) + 16, '#');
    detect(buffer.data(), maxLen);
    EXPECT_EQ(std::string(buffer.c_str()), maxLen >= fit ? expected : std::string());
    EXPECT_EQ(buffer.find_first_not_of('#', static_cast<size_t>(maxLen)), std::string::npos) << "written past maxLen";
  }
}

constexpr int kFindFirst = 1, kMatchCase = 2, kWholeWords = 4, kBackwards = 8;

class Search : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    m_search = PluginModule::Get().Entry<int(__stdcall*)(HWND, char*, int)>("ListSearchText");
    ASSERT_NE(m_search, nullptr);
    m_parts = OpenViewer(m_lister, m_dir.Write("memo.pdb", RecordDatabase(60, "memorandum memo")));
    ASSERT_TRUE(m_parts.IsComplete());
    m_text = ControlText(m_parts.dumpControl);
  }
  int Find(std::string needle, int flags) { return m_search(m_parts.frame, needle.data(), flags); }
  ListerWindow m_lister;
  ViewerParts m_parts;
  std::string m_text;
  int (__stdcall* m_search)(HWND, char*, int) = nullptr;
};

TEST_F(Search, SelectsTheHitTheFlagsAskFor) {
  std::string lower = m_text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  const struct {
    const char* needle;
    int flags;
    size_t at;
  } kFinds[] = {
      {"MEMORANDUM", kFindFirst, lower.find("memorandum")},
      {"memo", kFindFirst | kWholeWords | kMatchCase, m_text.find("memorandum memo") + 11},
      {"MEMORANDUM", kFindFirst | kMatchCase, std::string::npos},
      {"Offset:", kFindFirst | kBackwards | kMatchCase, m_text.rfind("Offset:")},
  };
  for (const auto& find : kFinds) {
    SCOPED_TRACE(testing::Message() << find.needle << " flags " << find.flags);
    SendMessageA(m_parts.dumpControl, EM_SETSEL, 5, 5);
    EXPECT_EQ(Find(find.needle, find.flags), find.at == std::string::npos ? kListPluginError : kListPluginOk);
    CHARRANGE selection = SelectionOf(m_parts.dumpControl);
    LONG start = find.at == std::string::npos ? 5 : static_cast<LONG>(find.at);
    EXPECT_EQ(selection.cpMin, start);
    EXPECT_EQ(selection.cpMax, find.at == std::string::npos ? 5 : start + static_cast<LONG>(strlen(find.needle)));
  }
  EXPECT_GT(FirstVisibleLine(m_parts.dumpControl), 0) << "the last hit was not scrolled into view";
  std::string needle = "memo";
  EXPECT_EQ(m_search(m_lister.Handle(), needle.data(), kFindFirst), kListPluginError) << "not a viewer";
}

TEST_F(Search, FindNextVisitsEveryHitInEachDirection) {
  std::vector<size_t> all;
  for (size_t at = m_text.find("Offset:"); at != std::string::npos; at = m_text.find("Offset:", at + 1)) {
    all.push_back(at);
  }
  ASSERT_GE(all.size(), 3u);
  for (bool backwards : {false, true}) {
    if (backwards) std::reverse(all.begin(), all.end());
    std::vector<size_t> visited;
    int flags = kFindFirst | kMatchCase | (backwards ? kBackwards : 0);
    while (visited.size() <= all.size() && Find("Offset:", flags) == kListPluginOk) {
      visited.push_back(static_cast<size_t>(SelectionOf(m_parts.dumpControl).cpMin));
      flags &= ~kFindFirst;
    }
    EXPECT_EQ(visited, all) << (backwards ? "backwards" : "forwards");
  }
}

}  // namespace
}  // namespace corvelle::host
