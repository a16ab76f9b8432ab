// The Text page of a PalmDOC book, read back through its control's and the
// clipboard's Unicode text and compared with `corvelle-dump --export text`,
// which is linked into this host and run on the same bytes: the tab and
// Ctrl+4, a page built only when first shown, the first screen and the rest
// arriving, wrapping, copy, search, the options' code page and start page,
// and the memory stop.
#include "RecordFixtures.h"
#include "TextPageParts.h"
#include "tools/fixtures/PalmDocWriter.h"

namespace corvelle::host {
namespace {

std::string Book(size_t paragraphs) {
  return samples::SerializePalmDatabase(samples::PalmDocBook("Book", samples::SampleBookText(paragraphs)));
}

bool TextArriving(const ViewerParts& viewer) { return TabTitles(viewer.tabControl)[3].rfind("Text (", 0) == 0; }

// The options file beside the module, with `options` for as long as it lives;
// what was there before goes back.
class OptionsFile {
 public:
  explicit OptionsFile(const std::string& options)
      : m_path(PluginModule::Get().OptionsIniPath()), m_previous(ReadFileBytes(m_path)),
        m_existed(GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    EXPECT_TRUE(WriteFileBytes(m_path, "[Options]\r\n" + options));
  }
  ~OptionsFile() { m_existed ? (void)WriteFileBytes(m_path, m_previous) : (void)DeleteFileA(m_path.c_str()); }
  OptionsFile(const OptionsFile&) = delete;
  OptionsFile& operator=(const OptionsFile&) = delete;
  bool Unchanged(const std::string& options) const { return ReadFileBytes(m_path) == "[Options]\r\n" + options; }

 private:
  std::string m_path, m_previous;
  bool m_existed;
};

using TextPage = ViewerTest;

TEST_F(TextPage, IsTheFourthTabOfADocumentBuiltWhenFirstShownAndWrapped) {
  const std::string bytes = Book(40);
  ListerWindow lister;
  const ViewerParts viewer = OpenViewer(lister, m_dir.Write("book.pdb", bytes));
  ASSERT_TRUE(viewer.IsComplete());
  EXPECT_EQ(TabTitles(viewer.tabControl), (std::vector<std::string>{"Image Dump", "About", "Records", "Text"}));
  EXPECT_EQ(PagesOf(viewer.sheet).size(), 1u) << "the Text page is made when first chosen";
  const TextParts text = ShowText(viewer);
  ASSERT_NE(text.control, nullptr);
  EXPECT_EQ(SelectedTab(viewer.tabControl), 3);
  EXPECT_EQ(VisiblePage(viewer.sheet), text.page);
  EXPECT_TRUE(HasStyle(text.control, ES_READONLY | ES_MULTILINE));
  const std::wstring shown = UnicodeText(text.control);
  EXPECT_TRUE(WithoutCr(shown) == ExportedText(bytes)) << Difference(WithoutCr(shown), ExportedText(bytes));
  EXPECT_NE(shown.find(L".\r\nParagraph 1:"), std::wstring::npos) << "paragraphs end in CR LF";
  EXPECT_EQ(SelectionOf(text.control).cpMax, 0);

  // Paragraphs wrap to the window until W unwraps them, and again.
  const LRESULT paragraphs = 40, wrapped = DisplayLineCount(text.control);
  EXPECT_FALSE(ShowsHorizontalScrollBar(text.control));
  EXPECT_GT(wrapped, paragraphs + 10);
  ASSERT_TRUE(FocusWindow(text.control));
  PressKeyOnFocus('W');
  EXPECT_TRUE(ShowsHorizontalScrollBar(text.control));
  EXPECT_LE(DisplayLineCount(text.control), paragraphs + 1);
  PressKeyOnFocus('W');
  EXPECT_EQ(DisplayLineCount(text.control), wrapped);
  EXPECT_TRUE(ReadFileBytes(m_dir.PathOf("book.pdb")) == bytes);

  // A book gone by the time the page is first shown: the viewer read it
  // once when it opened, for every page.
  const ViewerParts gone = OpenViewer(lister, m_dir.Write("gone.pdb", bytes));
  EXPECT_TRUE(DeleteFileA(m_dir.PathOf("gone.pdb").c_str()));
  const TextParts missing = ShowText(gone);
  ASSERT_NE(missing.control, nullptr);
  EXPECT_EQ(ControlText(missing.control).rfind("Paragraph 0: ", 0), 0u);

  // A database without a text has no such tab, and Ctrl+4 leaves the report in front.
  const ViewerParts memos = OpenViewer(lister, m_dir.Write("memo.pdb", MemoFixture()));
  EXPECT_EQ(TabTitles(memos.tabControl).size(), 3u);
  PressKey(memos.dumpControl, '4', kCtrl);
  EXPECT_EQ(SelectedTab(memos.tabControl), 0);
}

struct BigBookRow {
  const char* name;
  size_t paragraphs;
  const char* addressSpaceMb;  // CORVELLE_ADDRESS_SPACE_MB while the page starts; null: the process's own
};

// 1.4 MB of text inserted as a 64-bit process does, and 0.7 MB streamed in
// 4 KB steps as a 32-bit one does (told it has 2 GB of address space).
const BigBookRow kBigBooks[] = {{"Inserted", 12000, nullptr}, {"StreamedAsIn32Bit", 3000, "2048"}};

class BigBook : public ViewerParamTest<BigBookRow> {};

// Its first screens at once, a tab that says how much is in, copy and search
// on the whole text while the rest arrives.
TEST_P(BigBook, ArrivesInPiecesWhileCopyAndSearchTakeTheWholeText) {
  const BigBookRow& row = GetParam();
  const std::string bytes = Book(row.paragraphs);
  const std::wstring whole = ExportedText(bytes);
  ListerWindow lister;
  const ViewerParts viewer = OpenViewer(lister, m_dir.Write("big.pdb", bytes));
  if (row.addressSpaceMb) SetEnvironmentVariableA("CORVELLE_ADDRESS_SPACE_MB", row.addressSpaceMb);
  const TextParts text = ShowText(viewer, false);  // read when the page starts filling
  SetEnvironmentVariableA("CORVELLE_ADDRESS_SPACE_MB", nullptr);
  ASSERT_NE(text.control, nullptr);
  const std::wstring first = WithoutCr(UnicodeText(text.control));
  EXPECT_TRUE(first.size() >= 4000 && first.size() < whole.size()) << first.size() << " characters at once";
  EXPECT_TRUE(whole.compare(0, first.size(), first) == 0) << "the first screen is not the text's start";
  EXPECT_TRUE(TextArriving(viewer)) << TabTitles(viewer.tabControl)[3];

  const PluginModule& module = PluginModule::Get();
  EmptyClipboardText();
  module.ListSendCommand(viewer.frame, kListCommandSelectAll);
  module.ListSendCommand(viewer.frame, kListCommandCopy);
  PumpMessages(false);
  ASSERT_TRUE(TextArriving(viewer)) << "complete too soon to tell";
  EXPECT_TRUE(WithoutCr(UnicodeClipboard()) == whole) << UnicodeClipboard().size() << " of " << whole.size();

  // The last paragraph has not arrived; finding it brings it in. Positions
  // count CR LF as two, as the control does.
  auto search = module.Entry<ListSearchTextProc>("ListSearchText");
  ASSERT_NE(search, nullptr);
  std::string needle = "Paragraph " + std::to_string(row.paragraphs - 1) + ":";
  SendMessageA(text.control, EM_SETSEL, 0, 0);
  EXPECT_EQ(search(viewer.frame, needle.data(), kFindFirst | kMatchCase), kListPluginOk);
  const std::wstring shown = UnicodeText(text.control);
  const size_t at = shown.find(Wide(needle));
  ASSERT_NE(at, std::wstring::npos);
  EXPECT_EQ(SelectionOf(text.control).cpMin, LONG(at));
  EXPECT_EQ(SelectionOf(text.control).cpMax, LONG(at + needle.size()));
  EXPECT_EQ(search(viewer.frame, needle.data(), kMatchCase), kListPluginError) << "found twice";

  // A part of it goes on the clipboard as the control copies it.
  SendMessageA(text.control, EM_SETSEL, 0, 9);
  module.ListSendCommand(viewer.frame, kListCommandCopy);
  PumpMessages(false);
  EXPECT_EQ(UnicodeClipboard(), L"Paragraph");
  ASSERT_TRUE(PumpUntil([&] { return !TextArriving(viewer); })) << "not all in";
  EXPECT_TRUE(WithoutCr(UnicodeText(text.control)) == whole) << Difference(WithoutCr(UnicodeText(text.control)), whole);
  lister.Adopt(viewer.frame);
}

INSTANTIATE_TEST_SUITE_P(Fills, BigBook, testing::ValuesIn(kBigBooks), RowName());

// Encoding= names the code page of a book that names none, for the Text page
// and the Records page alike; StartPage=text opens a book on its text, and
// any other database as always.
TEST_F(TextPage, FollowsTheOptionsCodePageAndStartPage) {
  // "Дом у реки" ("the house by the river") and more, in cp1251.
  const std::string cyrillic = "\xC4\xEE\xEC \xF3 \xF0\xE5\xEA\xE8\n\xD0\xE5\xEA\xE0 \xE1\xFB\xF1\xF2\xF0\xE0\xFF.\n";
  const std::string bytes =
      samples::SerializePalmDatabase(samples::PalmDocBook("Kniga", cyrillic + samples::SampleBookText(5)));
  const std::string book = m_dir.Write("kniga.pdb", bytes), memos = m_dir.Write("memo.pdb", MemoFixture());
  OptionsFile options("Encoding=cp1251\r\nStartPage=text\r\n");
  ListerWindow lister;
  const HWND frame = lister.Open(book);
  ASSERT_NE(frame, nullptr);
  ViewerParts viewer = FindViewerParts(frame);
  EXPECT_EQ(SelectedTab(viewer.tabControl), 3);
  EXPECT_EQ(viewer.dumpPage, nullptr) << "the report's page is made when first chosen";
  HWND control = GetDlgItem(VisiblePage(viewer.sheet), 1070);
  ASSERT_NE(control, nullptr);
  const std::wstring shown = UnicodeText(control);
  EXPECT_TRUE(WithoutCr(shown) == ExportedText(bytes, "cp1251"))
      << Difference(WithoutCr(shown), ExportedText(bytes, "cp1251"));
  EXPECT_EQ(shown.substr(0, 10), L"\x0414\x043E\x043C \x0443 \x0440\x0435\x043A\x0438");

  auto searchW = PluginModule::Get().Entry<ListSearchTextWProc>("ListSearchTextW");
  ASSERT_NE(searchW, nullptr);
  wchar_t river[] = L"\x0420\x0435\x043A\x0430";  // "Река", the second line's first word
  EXPECT_EQ(searchW(frame, river, kFindFirst), kListPluginOk);
  EXPECT_EQ(SelectionOf(control).cpMin, 12) << "after the first line and its CR LF";
  EmptyClipboardText();
  PluginModule::Get().ListSendCommand(frame, kListCommandCopy);
  PumpMessages();
  EXPECT_TRUE(UnicodeClipboard() == river) << "copied as Unicode";

  // The Records page's cells and entry are read in the same code page.
  PressKey(control, '3', kCtrl);
  viewer = FindViewerParts(frame);
  HWND list = nullptr, pane = nullptr;
  for (HWND page : PagesOf(viewer.sheet)) {
    if (HWND found = GetDlgItem(page, 1060)) list = found, pane = GetDlgItem(page, 1061);
  }
  ASSERT_NE(list, nullptr);
  wchar_t cell[256] = {};
  LVITEMW item = {};
  item.iSubItem = 6;
  item.pszText = cell;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(cell).substr(0, 10), L"\x0414\x043E\x043C \x0443 \x0440\x0435\x043A\x0438");
  SelectRows(list, {1});
  EXPECT_NE(UnicodeText(pane).find(L"\x0414\x043E\x043C"), std::wstring::npos);
  SelectRows(list, {0});
  wchar_t fast[] = L"\x0431\x044B\x0441\x0442\x0440\x0430\x044F";  // "быстрая", in record 1
  EXPECT_EQ(searchW(frame, fast, 0), kListPluginOk);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);

  // The report takes the host's UTF-16 search text too.
  PressKey(pane, '1', kCtrl);
  wchar_t name[] = L"Kniga";
  EXPECT_EQ(searchW(frame, name, kFindFirst | kMatchCase), kListPluginOk);
  viewer = FindViewerParts(frame);
  EXPECT_EQ(SelectionOf(viewer.dumpControl).cpMin, LONG(ControlText(viewer.dumpControl).find("Kniga")));

  const ViewerParts other = OpenViewer(lister, memos);
  EXPECT_EQ(SelectedTab(other.tabControl), 0);
  EXPECT_EQ(VisiblePage(other.sheet), other.dumpPage);
  EXPECT_TRUE(options.Unchanged("Encoding=cp1251\r\nStartPage=text\r\n")) << "the options were written";
}

TEST_F(TextPage, SmallMemoryBudgetStopsWithANoteAndCopyStillGivesTheWholeText) {
  const std::string bytes = Book(12000);
  ListerWindow lister;
  const ViewerParts viewer = OpenViewer(lister, m_dir.Write("big.pdb", bytes));
  ASSERT_TRUE(SetEnvironmentVariableA("CORVELLE_MEMORY_BUDGET_MB", "64"));
  const TextParts text = ShowText(viewer, false);  // the budget is read when the page starts filling
  SetEnvironmentVariableA("CORVELLE_MEMORY_BUDGET_MB", nullptr);
  ASSERT_NE(text.control, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return !TextArriving(viewer); }));
  const std::wstring shown = UnicodeText(text.control), whole = ExportedText(bytes);
  const size_t note = shown.find(L"\r\n*** Not enough memory");
  ASSERT_NE(note, std::wstring::npos) << "no note; " << shown.size() << " characters shown";
  EXPECT_NE(shown.find(L"corvelle-dump --export text writes the whole text", note), std::wstring::npos);
  EXPECT_LT(note, whole.size() / 2);
  EXPECT_TRUE(whole.compare(0, WithoutCr(shown.substr(0, note)).size(), WithoutCr(shown.substr(0, note))) == 0);
  PluginModule::Get().ListSendCommand(viewer.frame, kListCommandSelectAll);
  PluginModule::Get().ListSendCommand(viewer.frame, kListCommandCopy);
  PumpMessages();
  EXPECT_TRUE(WithoutCr(UnicodeClipboard()) == whole) << UnicodeClipboard().size() << " of " << whole.size();
}

}  // namespace
}  // namespace corvelle::host
