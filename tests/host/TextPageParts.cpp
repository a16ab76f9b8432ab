#include "TextPageParts.h"

#include "RecordFixtures.h"
#include "export/Export.h"
#include "tools/fixtures/BookWriter.h"
#include "tools/fixtures/MobiWriter.h"
#include "tools/fixtures/PalmDocWriter.h"

namespace corvelle::host {
namespace {

DWORD CALLBACK CollectStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), size_t(size));
  *written = size;
  return 0;
}

}  // namespace

TextParts ShowText(const ViewerParts& viewer, bool timersToo) {
  PressKey(viewer.dumpControl, '4', kCtrl, timersToo);
  TextParts parts;
  for (HWND page : PagesOf(viewer.sheet)) {
    if (HWND control = GetDlgItem(page, 1070)) parts = {page, control};
  }
  return parts;
}

// Streamed out as SF_UNICODE: WM_GETTEXT would give the control's code page.
std::wstring UnicodeText(HWND control) {
  std::string bytes;
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&bytes);
  stream.pfnCallback = &CollectStream;
  SendMessageA(control, EM_STREAMOUT, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

std::wstring UnicodeClipboard() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.assign(locked, wcsnlen(locked, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()))));
  return wide;
}

std::string Utf8Of(const std::wstring& text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(size_t(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), int(utf8.size()),
                                         nullptr, nullptr)));
  return utf8;
}

std::wstring ExportedText(const std::string& bytes, const char* encoding) {
  const ModelledFile file{bytes};
  ExportOptions options;
  options.encoding = encoding;
  std::string text, error;
  EXPECT_TRUE(ExportToText(file.model, ExportType::kText, options, text, error)) << error;
  return Wide(text);
}

std::string Difference(const std::wstring& shown, const std::wstring& expected) {
  size_t at = 0;
  while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
  auto around = [at](const std::wstring& text) {
    std::string out;
    for (size_t i = at; i < text.size() && i < at + 12; ++i) out += text[i] < 0x80 ? char(text[i]) : '?';
    for (char& c : out) c = c == '\r' ? '|' : c == '\n' ? '/' : c;
    return "\"" + out + "\"";
  };
  return std::to_string(shown.size()) + " shown, " + std::to_string(expected.size()) + " expected; from " +
         std::to_string(at) + ": " + around(shown) + " instead of " + around(expected);
}

const char kGreekSentence[] = "Το γρήγορο καφέ αλεπουδάκι πηδά πάνω από τον τεμπέλη σκύλο.";
const char kEnglishSentence[] = "The night train runs north along the river.";

std::string LongParagraph(const char* sentence) {
  std::string paragraph = sentence;
  for (int i = 1; i < 10; ++i) paragraph += std::string(" ") + sentence;
  return paragraph;
}

// Markup as a book's writer leaves it, lines and all. The first record ends
// inside 語, so that the character's bytes are in two records; the others are
// cut where that size falls.
std::string Utf8MobipocketBook() {
  const std::string markup =
      "<html><head><title>Βιβλίο</title></head><body>\n"
      "<h1>Глава первая</h1>\n"
      "<p>Καλημέρα κόσμε! Это <i>курсив</i> и <b>жирный</b> текст.</p>\n"
      "<p>日本語の本, 中文 и 한국어 𝄞</p>\n"
      "<h2>Κεφάλαιο δεύτερο</h2>\n"
      "<p>" + LongParagraph(kGreekSentence) + "</p>\n"
      "<p>Τέλος.</p>\n"
      "</body></html>\n";
  const std::vector<std::string> records = samples::Utf8TextRecords(markup, markup.find("語") + 1);
  samples::MobiHeaderParts parts;
  parts.encoding = 65001;
  parts.textLength = uint32_t(markup.size());
  parts.textRecords = uint16_t(records.size());
  parts.extraFlags = 3;
  parts.fullName = "Βιβλίο";
  return samples::MobiBookFile(parts, records);
}

// PML in cp1252, other characters as \U escapes; the records are cut every
// 40 bytes, inside commands too, as eReader's writers cut them.
std::string EReaderChapterBook() {
  const std::string pml =
      "\\X0Chapter One\\X0\n"
      "Caf\xE9 au lait, \\i\\U039A\\U03B1\\U03BB\\U03B7\\U03BC\\U03AD\\U03C1\\U03B1\\i and \\Bbold\\B words.\n"
      "\\xChapter \\U0394\\U03CD\\U03BF\\x\n" +
      LongParagraph(kEnglishSentence) + "\n"
      "\\U041C\\U043E\\U0441\\U043A\\U0432\\U0430 at last.\n";
  samples::EReaderBook book;
  book.texts = samples::CutIntoRecords(pml, 40);
  return samples::SerializePalmDatabase(samples::EReaderDatabase(book));
}

// The markup cut into PalmDOC's records of 4096 bytes wherever they fall.
std::string EarlyHtmlBook() {
  const std::string markup =
      "<HTML><HEAD><metadata><dc-metadata xmlns:dc=\"http://purl.org/metadata/dublin_core\">"
      "<dc:Title>An Early Book</dc:Title><dc:Creator role=\"aut\">Ann Author</dc:Creator></dc-metadata>"
      "</metadata></HEAD>\r\n<BODY><h2>Chapter One</h2>\r\n"
      "<p>Caf&eacute; au lait, <i>se\xF1or</i> and <b>bold</b> words <a filepos=0000000042>here</a>.</p>"
      "<mbp:pagebreak/><H2>Chapter Two</H2><p>" +
      LongParagraph(kEnglishSentence) + "</p>\r\n<p>The end.</p></BODY></HTML>";
  return samples::SerializePalmDatabase(samples::PalmDocBook("An Early Book", markup));
}

}  // namespace corvelle::host
