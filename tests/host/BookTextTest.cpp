// The Text page of books beyond one code page: a Mobipocket book in UTF-8
// (Greek, Cyrillic, CJK and a character outside the BMP, with characters cut
// between records), an eReader book (chapter titles, italics and bold in
// PML, other scripts as \U escapes) and one of Mobipocket's first books (a
// PalmDOC database whose text is HTML, with its metadata in its head). Each row's text is what a person reads
// in that book, written here in UTF-8 and converted by Windows, so that the
// page's reading is checked against an oracle of its own.
#include <ostream>

#include "TextPageParts.h"

namespace corvelle::host {
namespace {

struct BookRow {
  const char* name;
  std::string (*write)();
  std::string text;  // the whole text shown, paragraphs ended by LF
  std::vector<const char*> headings, italic, bold;
  const char* plain;   // a word in no style
  const char* needle;  // a non-Latin word as typed into Lister's search, in another case than the text's
};

const BookRow kBooks[] = {
    {"MobipocketUtf8", &Utf8MobipocketBook,
     "Глава первая\n"
     "Καλημέρα κόσμε! Это курсив и жирный текст.\n"
     "日本語の本, 中文 и 한국어 𝄞\n"
     "Κεφάλαιο δεύτερο\n" +
         LongParagraph(kGreekSentence) + "\nΤέλος.\n",
     {"Глава первая", "Κεφάλαιο δεύτερο"}, {"курсив"}, {"жирный"}, "Это", "ΚΑΛΗΜΈΡΑ"},
    {"EReaderChapters", &EReaderChapterBook,
     "Chapter One\n"
     "Café au lait, Καλημέρα and bold words.\n"
     "Chapter Δύο\n" +
         LongParagraph(kEnglishSentence) + "\nМосква at last.\n",
     {"Chapter One", "Chapter Δύο"}, {"Καλημέρα"}, {"bold"}, "Café", "москва"},
    {"EarlyMobipocketHtml", &EarlyHtmlBook,
     "Chapter One\n"
     "Café au lait, señor and bold words here.\n"
     "\n"
     "Chapter Two\n" +
         LongParagraph(kEnglishSentence) + "\nThe end.\n",
     {"Chapter One", "Chapter Two"}, {"señor"}, {"bold"}, "Café", "SEÑOR"},
};

void PrintTo(const BookRow& row, std::ostream* out) { *out << row.name; }

std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) out += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
  return out;
}

// The format of `text`'s first occurrence in the control, as EM_GETCHARFORMAT
// gives it for a selection: an effect is in dwMask only where the whole
// selection agrees.
CHARFORMATA FormatOf(HWND control, const std::wstring& shown, const std::wstring& text) {
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  const size_t at = shown.find(text);
  EXPECT_NE(at, std::wstring::npos) << "not shown";
  if (at == std::wstring::npos) return format;
  SendMessageA(control, EM_SETSEL, WPARAM(at), LPARAM(at + text.size()));
  SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

bool Has(const CHARFORMATA& format, DWORD mask, DWORD effect) {
  return (format.dwMask & mask) != 0 && (format.dwEffects & effect) != 0;
}

class BookText : public ViewerParamTest<BookRow> {};

TEST_P(BookText, ShowsTheBookInUnicodeWithItsChaptersAndStyles) {
  const BookRow& row = GetParam();
  const std::string bytes = row.write();
  const std::wstring expected = WithCrLf(Wide(row.text));
  ListerWindow lister;
  const ViewerParts viewer = OpenViewer(lister, m_dir.Write(std::string(row.name) + ".pdb", bytes));
  ASSERT_TRUE(viewer.IsComplete());
  const TextParts text = ShowText(viewer);
  ASSERT_NE(text.control, nullptr);
  ASSERT_EQ(SelectedTab(viewer.tabControl), 3);

  // The first screen holds the whole book, as the export writes it too.
  const std::wstring shown = UnicodeText(text.control);
  EXPECT_TRUE(shown == expected) << Difference(shown, expected);
  EXPECT_TRUE(WithoutCr(shown) == ExportedText(bytes)) << Difference(WithoutCr(shown), ExportedText(bytes));

  // Chapter titles on lines of their own, bold and larger than the text; the
  // styles where the book marks them, and only there.
  const CHARFORMATA plain = FormatOf(text.control, shown, Wide(row.plain));
  EXPECT_FALSE(Has(plain, CFM_ITALIC, CFE_ITALIC) || Has(plain, CFM_BOLD, CFE_BOLD)) << row.plain;
  for (const char* heading : row.headings) {
    SCOPED_TRACE(heading);
    const std::wstring line = Wide(heading);
    EXPECT_TRUE(shown.compare(0, line.size() + 2, line + L"\r\n") == 0 ||
                shown.find(L"\n" + line + L"\r\n") != std::wstring::npos);
    const CHARFORMATA format = FormatOf(text.control, shown, line);
    EXPECT_TRUE(Has(format, CFM_BOLD, CFE_BOLD));
    EXPECT_TRUE((format.dwMask & CFM_SIZE) && format.yHeight > plain.yHeight) << format.yHeight;
  }
  for (const char* word : row.italic) {
    EXPECT_TRUE(Has(FormatOf(text.control, shown, Wide(word)), CFM_ITALIC, CFE_ITALIC)) << word;
  }
  for (const char* word : row.bold) {
    EXPECT_TRUE(Has(FormatOf(text.control, shown, Wide(word)), CFM_BOLD, CFE_BOLD)) << word;
  }

  // Lister's search takes the word in UTF-16 and selects it, whatever its
  // case; copy puts the selection, then the whole text, on the clipboard as
  // Unicode.
  const PluginModule& module = PluginModule::Get();
  auto searchW = module.Entry<ListSearchTextWProc>("ListSearchTextW");
  ASSERT_NE(searchW, nullptr);
  std::wstring needle = Wide(row.needle);
  SendMessageA(text.control, EM_SETSEL, 0, 0);
  ASSERT_EQ(searchW(viewer.frame, needle.data(), kFindFirst), kListPluginOk) << row.needle;
  const CHARRANGE found = SelectionOf(text.control);
  const std::wstring word = shown.substr(size_t(found.cpMin), size_t(found.cpMax - found.cpMin));
  EXPECT_EQ(word.size(), needle.size());
  EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, word.c_str(), -1, needle.c_str(), -1), CSTR_EQUAL)
      << "selected " << Utf8Of(word);
  EmptyClipboardText();
  module.ListSendCommand(viewer.frame, kListCommandCopy);
  PumpMessages();
  EXPECT_TRUE(UnicodeClipboard() == word) << Utf8Of(UnicodeClipboard());
  module.ListSendCommand(viewer.frame, kListCommandSelectAll);
  module.ListSendCommand(viewer.frame, kListCommandCopy);
  PumpMessages();
  EXPECT_TRUE(UnicodeClipboard() == expected) << Difference(UnicodeClipboard(), expected);

  // W unwraps the paragraphs, one line each, and wraps them again.
  SendMessageA(text.control, EM_SETSEL, 0, 0);
  const LRESULT paragraphs = LRESULT(std::count(row.text.begin(), row.text.end(), '\n'));
  const LRESULT wrapped = DisplayLineCount(text.control);
  EXPECT_GT(wrapped, paragraphs + 3) << "the long paragraph wraps";
  ASSERT_TRUE(FocusWindow(text.control));
  PressKeyOnFocus('W');
  EXPECT_TRUE(ShowsHorizontalScrollBar(text.control));
  EXPECT_LE(DisplayLineCount(text.control), paragraphs + 1);
  PressKeyOnFocus('W');
  EXPECT_FALSE(ShowsHorizontalScrollBar(text.control));
  EXPECT_EQ(DisplayLineCount(text.control), wrapped);
}

INSTANTIATE_TEST_SUITE_P(Books, BookText, testing::ValuesIn(kBooks), RowName());

}  // namespace
}  // namespace corvelle::host
