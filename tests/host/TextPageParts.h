// The Text page's tests: the page as the host finds it, its control's and the
// clipboard's text read back in UTF-16 whatever the control's code page, and
// the text `corvelle-dump --export text` writes of the same bytes.
#pragma once

#include <string>

#include "Harness.h"

namespace corvelle::host {

constexpr int kFindFirst = 1, kMatchCase = 2;
using ListSearchTextProc = int(__stdcall*)(HWND, char*, int);
using ListSearchTextWProc = int(__stdcall*)(HWND, WCHAR*, int);

struct TextParts {
  HWND page = nullptr, control = nullptr;
};
// Ctrl+4 from the report, then the page that holds the text (1070).
TextParts ShowText(const ViewerParts& viewer, bool timersToo = true);

std::wstring UnicodeText(HWND control);  // the control's whole text
std::wstring UnicodeClipboard();         // CF_UNICODETEXT
std::wstring Wide(const std::string& utf8);
std::string Utf8Of(const std::wstring& text);  // for a failure's message
inline std::wstring WithoutCr(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
  return text;
}
// What `corvelle-dump --export text --encoding ENCODING` writes of the file, as UTF-16.
std::wstring ExportedText(const std::string& bytes, const char* encoding = "cp1252");
// Where two texts part, for a failure's message.
std::string Difference(const std::wstring& shown, const std::wstring& expected);

// Books in scripts beyond a code page, with chapter titles and styles, for
// the tests and the screenshots: a Mobipocket book in UTF-8 whose records cut
// characters, an eReader book in PML, and one of Mobipocket's first books, a
// PalmDOC database whose cp1252 text is an HTML document.
std::string Utf8MobipocketBook();
std::string EReaderChapterBook();
std::string EarlyHtmlBook();
// Each book has a paragraph of ten times its sentence, long enough to wrap.
extern const char kGreekSentence[], kEnglishSentence[];
std::string LongParagraph(const char* sentence);

}  // namespace corvelle::host
